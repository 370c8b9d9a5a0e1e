// OtherSystemsProgram: a command's file type against the systems its entry is listed on.
#include "menu_check/checks/system_fit_check.h"

#include "menu_form/command_kind.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

// The extension of the path's last component, in lower case, with its dot; "" for none.
std::string Extension(const std::string& command) {
  const size_t name = command.find_last_of("\\/");
  const std::string last = name == std::string::npos ? command : command.substr(name + 1);
  const size_t dot = last.rfind('.');
  return dot == std::string::npos ? "" : AsciiFolded(last.substr(dot));
}

bool IsWindowsProgram(const std::string& extension) {
  for (const char* windows : {".exe", ".msi", ".com", ".bat", ".cmd"}) {
    if (extension == windows) return true;
  }
  return false;
}

}  // namespace

bool NamesAProgram(const std::string& command) {
  if (command == kNullKeyword || command == kExitKeyword || IsLink(command)) return false;
  const std::string extension = Extension(command);
  return extension.empty() || IsWindowsProgram(extension) || extension == ".sh";
}

std::string OtherSystemsProgram(const std::string& command, const Targets& listed_on) {
  if (command == kNullKeyword || command == kExitKeyword || IsLink(command)) return "";
  const std::string extension = Extension(command);
  if (listed_on.for_linux && IsWindowsProgram(extension)) {
    return QuotedText(command) +
           " is a Windows program, but the entry is listed on Linux too: Linux users get it in "
           "their list, and Launch hands it to the desktop, which cannot run it without Wine; "
           "give the entry " +
           DirectiveSpelling(DirectiveName::kSystem) + " windows";
  }
  if (listed_on.for_windows && extension == ".sh") {
    return QuotedText(command) +
           " is a shell script for Linux, but the entry is listed on Windows too: Windows users "
           "get it in their list, and Windows has nothing to run it with; give the entry " +
           DirectiveSpelling(DirectiveName::kSystem) + " linux";
  }
  return "";
}

}  // namespace tolvar
