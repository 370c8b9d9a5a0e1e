// Win32 body of FileExists: a FindFirstFileW/FindNextFileW directory search that, like a search for
// normal files, passes over directories, hidden files and system files, and over device names.
#include <windows.h>

#include <string_view>

#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/utf16_win32.h"
#include "shared_routines/windows_names.h"

namespace tolvar {
namespace {

// Whether the last component of `path` names a device: Windows opens CON, NUL, COM1 and the others
// in any directory, with any extension ("menu\COM1.png") and with trailing blanks, so a search
// finds the device instead of saying the file is missing, and opening it hangs or fails.
bool NamesDevice(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  std::string_view name(path);
  if (slash != std::string::npos) name.remove_prefix(slash + 1);
  return !WindowsDeviceIn(name).empty();
}

}  // namespace

bool FileExists(const std::string& path) {
  // A NUL cannot be part of a file name; the API would silently cut the path there.
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  if (NamesDevice(path) || NamesNoLocalFile(path)) return false;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileExW(Widen(path).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return false;
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  bool found = false;
  do {
    if ((data.dwFileAttributes & kNotOrdinary) == 0) {
      found = true;
      break;
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

}  // namespace tolvar
