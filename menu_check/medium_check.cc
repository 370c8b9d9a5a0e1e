// CheckMedium: the menu file's check and the checks of the medium around it, in one report.
#include "menu_check/medium_check.h"

#include <string>
#include <vector>

#include "menu_check/checks/language_check.h"
#include "menu_check/checks/medium_checks.h"
#include "menu_check/checks/menu_program_check.h"
#include "menu_check/model/medium_view.h"

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

}  // namespace

CheckReport CheckMedium(const std::string& decimal_separator, const Targets& targets) {
  CheckReport report = CheckMenu(decimal_separator, targets);
  // Without a menu file that can be read this is no medium of the menu's, or not yet: what its
  // other files' names would show is noise (a folder of thousands of files gives thousands of
  // lines) that buries the one finding that counts.
  if (!report.checked) {
    CheckMenuPrograms(targets, &report.findings);  // where the menu looks for its file
    return report;
  }
  CheckLanguageFiles(decimal_separator, targets, &report);
  const MediumView view = MediumView::FromFolder(".");
  const bool windows_starts = targets.for_windows && CheckAutorunInf(view, &report.findings);
  const bool linux_starts = targets.for_linux && CheckLinuxAutostart(view, &report.findings);
  if (linux_starts) NoteWhatFat32Takes(&report.findings);
  NoteWhatNothingStarts(windows_starts, linux_starts, targets, &report.findings);
  CheckNames(view, targets, &report.findings);
  CheckMenuPrograms(targets, &report.findings);
  return report;
}

}  // namespace tolvar
