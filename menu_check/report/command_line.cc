// ParseCommandLine and the texts of --help and --version.
#include "menu_check/report/command_line.h"

#include "menu_check/checks/show_if_check.h"

namespace tolvar {
namespace {

constexpr char kTargetNames[] =
    "windows, linux, all, or one machine: windows-x86, windows-x64, windows-arm64, linux-x64, "
    "linux-arm64";

}  // namespace

CheckOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  CheckOptions options;
  std::vector<std::string> roots;
  bool options_end = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_end || argument.empty() || argument[0] != '-' || argument == "-") {
      roots.push_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "--help" || argument == "-h") {
      options.action = CheckOptions::Action::kHelp;
      return options;
    } else if (argument == "--version") {
      options.action = CheckOptions::Action::kVersion;
      return options;
    } else if (argument == "--words") {
      options.words = true;
    } else if (argument.rfind("--format=", 0) == 0 ||
               (argument == "--format" && i + 1 < arguments.size())) {
      const std::string format = argument == "--format" ? arguments[++i] : argument.substr(9);
      if (format != "text" && format != "json") {
        options.problem = "unknown format \"" + format + "\" (text or json)";
      }
      options.json = format == "json";
    } else if (argument == "--format") {
      options.problem = "--format takes text or json, as in --format=json";
    } else if (argument.rfind("--target=", 0) == 0 ||
               (argument == "--target" && i + 1 < arguments.size())) {
      const std::string target = argument == "--target" ? arguments[++i] : argument.substr(9);
      const CheckedMachine* machine = FindCheckedMachine(target);
      if (target != "windows" && target != "linux" && target != "all" && machine == nullptr) {
        options.problem = "unknown target \"" + target + "\" (" + kTargetNames + ")";
      }
      if (machine != nullptr) {
        options.targets.for_windows = machine->system == System::kWindows;
        options.targets.for_linux = machine->system == System::kLinux;
        options.targets.architecture = machine->architecture;
      } else {
        options.targets.for_windows = target != "linux";
        options.targets.for_linux = target != "windows";
      }
    } else if (argument == "--target") {
      options.problem = std::string("--target takes ") + kTargetNames + ", as in --target=windows";
    } else if (argument.rfind("--image=", 0) == 0 ||
               (argument == "--image" && i + 1 < arguments.size())) {
      options.image = argument == "--image" ? arguments[++i] : argument.substr(8);
#ifndef TOLVAR_IMAGE_CHECK
      options.problem =
          "this build of the checker cannot read images (--image): check the "
          "image with the Linux checker, or the folder it is made from";
#endif
    } else if (argument == "--image") {
      options.problem = "--image takes the image's file, as in --image=medium.iso";
    } else {
      options.problem = "unknown option \"" + argument + "\"";
    }
  }
  if (options.problem.empty() && !options.image.empty() && !roots.empty()) {
    options.problem = "either a medium's folder or --image, not both";
  }
  if (options.problem.empty() && roots.size() > 1) {
    options.problem = "one medium at a time, but " + std::to_string(roots.size()) + " were named";
  }
  if (!options.problem.empty()) {
    options.action = CheckOptions::Action::kUsageError;
  } else if (!roots.empty()) {
    options.root = roots[0];
  }
  return options;
}

std::string HelpText() {
  return "Usage: tolvar-menu-check [--format=text|json] [--target=windows|linux|all|MACHINE]\n"
         "                         [--words] [MEDIUM_ROOT | --image=IMAGE.iso]\n"
         "\n"
         "Reads the menu file menu/config.mnu of a medium (by default the one whose root is the\n"
         "current directory) exactly as the menu reads it, and lists everything that would stop\n"
         "the menu from opening or make a Launch go wrong, all at once, one line each:\n"
         "  menu/config.mnu:LINE: error|warning: TEXT\n"
         "then a summary. It checks the medium around it too: autorun.inf, the Linux autostart\n"
         "files (.autorun, autorun, autorun.sh) and every file's name, as each system sees\n"
         "them; notes (FILE: note: TEXT) say what a system will do and count for nothing.\n"
         "It never starts a program and never writes to the medium.\n"
         "\n"
         "Options:\n"
         "  --format=text  the findings as lines, then the summary (the default)\n"
         "  --format=json  the findings as one JSON object, for tools\n"
         "  --target=all   check for Windows and Linux (the default); windows or linux for one\n"
         "  --target=MACHINE  check for one machine alone: windows-x86, windows-x64,\n"
         "                 windows-arm64, linux-x64 or linux-arm64 (for '#show-if: lines)\n"
         "  --words        after the findings, each entry's arguments as the words its program\n"
         "                 gets (FILE:LINE: words: entry N: \"word\" ...); JSON always lists them\n"
#ifdef TOLVAR_IMAGE_CHECK
         "  --image=FILE   check an ISO 9660 image as Linux (Rock Ridge names) and Windows\n"
         "                 (Joliet names) will see it, without mounting it\n"
#else
         "  --image=FILE   not in this build: check images with the Linux checker\n"
#endif
         "  -h, --help     show this help and exit\n"
         "  --version      show the version and exit\n"
         "\n"
         "Exit status:\n"
         "  0  clean\n"
         "  1  warnings only: the menu opens, but some entries do not do what was meant\n"
         "  2  at least one error: the menu would not open\n"
         "  3  not all was checked: the medium or its menu file cannot be read, a file of an\n"
         "     image goes past what the checker keeps, memory ran out, or the command line is\n"
         "     wrong\n"
         "  4  the image cannot be read: not an ISO 9660 image, cut short, or broken\n";
}

std::string VersionText() { return "tolvar-menu-check " TOLVAR_VERSION "\n"; }

}  // namespace tolvar
