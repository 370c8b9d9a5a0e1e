// The one pipeline of the check, for a folder and an image alike: the menu files (CheckMenus, in
// menu_files_check.cc), then the checks of the medium around them.
#include "menu_check/medium_check.h"

#include <string>
#include <vector>

#include "menu_check/checks/medium_checks.h"
#include "menu_check/checks/menu_program_check.h"
#include "menu_check/model/menu_lookup.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/native_path.h"

namespace tolvar {

void NoteWhatNothingStarts(bool windows_starts, bool linux_starts, const Targets& targets,
                           std::vector<Finding>* findings) {
  const bool windows = targets.for_windows && !windows_starts;
  const bool linux = targets.for_linux && !linux_starts;
  if (!windows && !linux) return;
  const std::string what =
      windows && linux ? " when the medium comes in: there is no autorun.inf with open= for "
                         "Windows and no autorun.sh for Linux desktops in its root"
      : windows        ? " on Windows when the medium comes in: there is no autorun.inf with "
                         "open= in its root"
                       : " on Linux when the medium comes in: there is no autorun.sh in its root";
  findings->push_back(
      {0, Severity::kNote,
       "nothing starts the menu" + what +
           ", so users start it by hand, as the kit's how-to-start.txt tells them: on Windows "
           "with a double-click on tolvar-autorun.exe, on Linux with a double-click on "
           "tolvar-autorun in the file manager, or, where the medium's files cannot be started "
           "(a FAT32 USB stick), with \"sh autorun.sh\" in a terminal",
       "."});
}

namespace {

// A folder keeps its execute bits on the author's disk, but a FAT32 stick made from it does not,
// and the check cannot know which the folder will become.
void NoteWhatFat32Takes(std::vector<Finding>* findings) {
  findings->push_back(
      {0, Severity::kNote,
       "copied onto a FAT32 USB stick, this medium loses its execute permissions on Linux, whose "
       "desktops mount such sticks with showexec (only .exe, .com and .bat files keep them): "
       "GNOME still offers autorun.sh, through /bin/sh, other desktops do not, and users start "
       "it with \"sh autorun.sh\"; the menu, started so, starts its entries' programs all the same",
       "."});
}

// The Windows menu in the root, read whole as Windows finds it: the signature's digest covers the
// whole file.
void CheckMenuSignature(MediumFiles& files, std::vector<Finding>* findings) {
  const MediumView& view = files.View(System::kWindows);
  const MediumName* program = FindAsMenu(view, System::kWindows, kWindowsMenuProgram);
  if (program == nullptr || program->directory || program->size > kLargestMenuProgram) return;
  FileBytes read;
  const std::string& path = view.ContentsPath(program->path);
  if (!files.Read(view, {{path, static_cast<size_t>(program->size)}}, &read).empty()) return;
  if (!read.left_out.empty()) {
    findings->push_back({0, Severity::kNote, LeftOutOfTheBudget(), program->path});
    return;
  }
  const auto bytes = read.bytes.find(path);
  if (bytes != read.bytes.end()) SignatureFindings(bytes->second, findings);
}

}  // namespace

void CheckAroundMenus(MediumFiles& files, const Targets& targets, std::vector<Finding>* findings) {
  const MediumView& linux_view = files.View(System::kLinux);
  const MediumView& windows_view = files.View(System::kWindows);
  const bool windows_starts = targets.for_windows && CheckAutorunInf(windows_view, findings);
  const bool linux_starts = targets.for_linux && CheckLinuxAutostart(linux_view, findings);
  if (linux_starts && files.IsFolder()) NoteWhatFat32Takes(findings);
  NoteWhatNothingStarts(windows_starts, linux_starts, targets, findings);
  if (targets.for_windows) CheckMenuSignature(files, findings);
  CheckNames(windows_view, targets, findings);
}

CheckReport CheckMenu(const std::string& decimal_separator, const Targets& targets) {
  CheckReport report;
  report.file = DisplayPath(kDefinitionPath);
  FolderFiles files(".");
  CheckMenus(files, decimal_separator, targets, &report);
  return report;
}

CheckReport CheckMedium(const std::string& decimal_separator, const Targets& targets) {
  CheckReport report;
  report.file = DisplayPath(kDefinitionPath);
  FolderFiles files(".");
  CheckMenus(files, decimal_separator, targets, &report);
  // Without a menu file that can be read this is no medium of the menu's, or not yet: what its
  // other files' names would show is noise (a folder of thousands of files gives thousands of
  // lines) that buries the one finding that counts.
  if (report.checked) {
    CheckAroundMenus(files, targets, &report.findings);
  } else if (targets.for_windows) {
    CheckMenuSignature(files, &report.findings);
  }
  if (FindAsMenu(files.View(System::kLinux), System::kLinux, kMenuFileInView) == nullptr) {
    report.findings.push_back(
        {0, Severity::kNote,
         "the menu looks for menu/config.mnu in the folder it is started in, and then in the "
         "folder of its own program: put the menu folder in the medium's root, beside "
         "tolvar-autorun.exe and tolvar-autorun, and the menu opens however it is started",
         "."});
  }
  return report;
}

}  // namespace tolvar
