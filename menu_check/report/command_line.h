// The checker's command line: options, the medium's root, help and version texts.
#ifndef TOLVAR_MENU_CHECK_REPORT_COMMAND_LINE_H_
#define TOLVAR_MENU_CHECK_REPORT_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "menu_check/menu_check.h"

namespace tolvar {

struct CheckOptions {
  enum class Action { kCheck, kHelp, kVersion, kUsageError };
  Action action = Action::kCheck;
  std::string root;     // the medium's root; empty for the current directory
  bool json = false;    // --format=json
  bool words = false;   // --words: each entry's arguments as words, in the text report
  Targets targets;      // --target windows|linux|all
  std::string image;    // --image FILE: an ISO image to check instead of a folder
  std::string problem;  // what is wrong with the command line, for kUsageError
};

// `arguments` without the program's name. --help and --version win over everything else.
CheckOptions ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText();
std::string VersionText();

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_REPORT_COMMAND_LINE_H_
