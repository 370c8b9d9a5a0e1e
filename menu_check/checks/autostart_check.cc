// CheckLinuxAutostart: the files freedesktop desktops offer to run when a medium is mounted. They
// look for .autorun, autorun and autorun.sh in the root, in that order, by exact name, and ask the
// user first.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "menu_check/checks/medium_checks.h"
#include "menu_check/model/view_probe.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

constexpr const char* kAutostartNames[] = {".autorun", "autorun", "autorun.sh"};

bool ChangesToTheRoot(const std::string& script) {
  // cd "$(dirname "$0")", cd `dirname $0`, cd "${0%/*}" and their kin all name $0 on a cd line,
  // alone, after ; or &, or in a case arm.
  for (size_t start = 0; start < script.size();) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    const std::string line = script.substr(start, end - start);
    start = end + 1;
    const size_t cd = line.find("cd ");
    if (cd == std::string::npos) continue;
    const size_t before = line.find_last_not_of(" \t", cd == 0 ? 0 : cd - 1);
    const bool command_starts = cd == 0 || before == std::string::npos ||
                                std::string_view(";&)").find(line[before]) != std::string::npos;
    if (command_starts &&
        (line.find("$0", cd) != std::string::npos || line.find("${0", cd) != std::string::npos)) {
      return true;
    }
  }
  return false;
}

// The programs in the root that the script starts as "./name": after its cd to the root, as a
// command of its own or as a word assigned to a variable (program=./tolvar-autorun).
std::vector<std::string> ProgramsInTheRoot(const std::string& script) {
  std::vector<std::string> programs;
  for (size_t at = script.find("./"); at != std::string::npos; at = script.find("./", at + 2)) {
    if (at > 0 &&
        std::string_view(" \t\n=\"'(;&|").find(script[at - 1]) == std::string_view::npos) {
      continue;  // part of a longer path: "../x", "dir/./x"
    }
    size_t end = at + 2;
    while (end < script.size() &&
           (std::isalnum(static_cast<unsigned char>(script[end])) != 0 ||
            std::string_view("._-+").find(script[end]) != std::string_view::npos)) {
      ++end;
    }
    const std::string name = script.substr(at + 2, end - at - 2);
    if (end < script.size() && script[end] == '/') continue;  // a path into a folder
    if (!name.empty() && name != "." && name != ".." &&
        std::find(programs.begin(), programs.end(), name) == programs.end()) {
      programs.push_back(name);
    }
  }
  return programs;
}

// The menu's program beside the script is what the script is for: without it, Linux users who
// start the medium get an error instead of the menu.
void CheckProgramsItStarts(const MediumView& view, const std::string& script_name,
                           const std::string& script, std::vector<Finding>* findings) {
  for (const std::string& program : ProgramsInTheRoot(script)) {
    const MediumName* found = view.Exact(program);
    if (found != nullptr && !found->directory) continue;
    findings->push_back(
        {0, Severity::kWarning,
         "it starts " + QuotedText("./" + program) + ", which " +
             (found == nullptr ? std::string("is not in the medium's root")
                               : std::string("is a folder")) +
             ": Linux users who start the medium get no menu; copy the Linux program there (the "
             "kit's medium folder holds it, and the .deb installs it as /usr/bin/tolvar-autorun)",
         script_name});
  }
}

void CheckScript(const MediumView& view, const std::string& name, std::vector<Finding>* findings) {
  const auto warn = [&](int64_t line, std::string message) {
    findings->push_back({line, Severity::kWarning, std::move(message), name});
  };
  const MediumName* entry = view.Exact(name);
  if (entry->directory) {
    warn(0, "it is a folder, not a program: desktops find nothing to run");
    return;
  }
  // What the medium's file system takes away is no fault of the author's: a FAT32 stick keeps no
  // execute bits, whatever the folder it was copied from had.
  if (view.modes_known && !entry->executable) {
    findings->push_back(
        {0, Severity::kNote,
         "it has no execute permission, as on a FAT32 USB stick: GNOME runs autorun.sh through "
         "/bin/sh even so, Cinnamon's and MATE's file managers refuse it (\"Cannot find the "
         "autorun program\"), and users start it with \"sh autorun.sh\" in a terminal",
         name});
  }
  const std::string* content = view.ContentOf(name);  // through a link, its target's
  if (content == nullptr) return;
  const std::string& text = *content;
  if (text.compare(0, 4,
                   "\x7f"
                   "ELF") == 0)
    return;  // a program of its own
  if (text.compare(0, 2, "#!") != 0) {
    warn(1,
         "the first line is not a #! line naming the interpreter, such as #!/bin/sh: only "
         "GNOME runs it anyway, and only when it is called autorun.sh");
  } else if (text.find('\r') != std::string::npos) {
    warn(1,
         "the script has CR LF line ends: the shell takes each CR as part of the line and "
         "the script fails; save it with LF line ends");
  }
  CheckProgramsItStarts(view, name, text, findings);
  if (!ChangesToTheRoot(text)) {
    warn(0,
         "it does not change to the medium's root before starting the menu (cd \"$(dirname "
         "\"$0\")\"): desktops start it elsewhere, and the menu finds its menu file only "
         "there");
  }
}

}  // namespace

bool CheckLinuxAutostart(const MediumView& view, std::vector<Finding>* findings) {
  std::string used;
  for (const char* name : kAutostartNames) {
    if (view.Exact(name) == nullptr) continue;
    if (used.empty()) {
      used = name;
      findings->push_back({0, Severity::kNote,
                           "Linux desktops offer to run this file when the medium is mounted, "
                           "after asking the user",
                           name});
      CheckScript(view, name, findings);
    } else {
      findings->push_back(
          {0, Severity::kWarning,
           std::string("never used: desktops run ") + QuotedText(used) + ", which comes first",
           name});
    }
  }
  for (const std::string& child : view.Children("")) {
    for (const char* name : kAutostartNames) {
      if (child != name && AsciiFolded(child) == name) {
        findings->push_back({0, Severity::kWarning,
                             QuotedText(child) + " is never found: desktops look for " +
                                 QuotedText(name) + " by its exact lower-case name",
                             child});
      }
    }
  }
  return !used.empty();
}

}  // namespace tolvar
