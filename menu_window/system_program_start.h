// SystemProgramStart: ProgramStart on the real system. One body per platform.
#ifndef TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_
#define TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_

#include <functional>
#include <string>

#include "menu_form/program_start.h"

namespace tolvar {

class SystemProgramStart : public ProgramStart {
 public:
  // Opens a file the way the desktop does when a person opens it: a document in the application
  // for its type and, on Windows, a program that demands administrator rights through the
  // elevation prompt. Gets the path as the platform spells it (on POSIX with slashes, "./" before
  // a bare name). Returns the failure with the system's reason when nothing was opened.
  using DesktopOpen = std::function<Result(const std::string& path)>;

  // Opens through the desktop itself: GIO's default application on Linux, ShellExecuteExW on
  // Windows.
  SystemProgramStart();
  // For tests, which must not open desktop applications.
  explicit SystemProgramStart(DesktopOpen desktop_open);

 private:
  Result StartFile(const LaunchRequest& request) override;
  Result OpenUri(const std::string& link) override;
  Result BrowseFolder(const std::string& path) override;

  DesktopOpen desktop_open_;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_
