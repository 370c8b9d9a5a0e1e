// Win32 body of ProgramFolder and EnterFolder: GetModuleFileNameW and SetCurrentDirectoryW. Only
// the system calls belong here.
#include <windows.h>

#include <string>

#include "menu_window/program_folder.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

Expected<std::string> ProgramFolder() {
  // The name is cut to the buffer without an error on some Windows versions, so the buffer grows
  // until the name and its terminator fit with room to spare.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return Expected<std::string>::Failure(SystemErrorText(GetLastError()));
    if (length < path.size() - 1) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) {
      return Expected<std::string>::Failure(SystemErrorText(ERROR_INSUFFICIENT_BUFFER));
    }
    path.resize(path.size() * 2);
  }
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) {
    return Expected<std::string>::Failure("the system names it \"" + Narrow(path) + "\"");
  }
  // "C:\" keeps its backslash: "C:" alone is the drive's own working folder, not its root.
  const bool drive_root = separator == 2 && path[1] == L':';
  return Narrow(path.substr(0, drive_root ? 3 : separator));
}

Result EnterFolder(const std::string& folder) {
  if (!SetCurrentDirectoryW(Widen(folder).c_str())) {
    return Result::Failure(SystemErrorText(GetLastError()));
  }
  return Result::Ok();
}

}  // namespace tolvar
