// Win32 body of FileExists: a FindFirstFileW/FindNextFileW directory search that, like a search for
// normal files, passes over directories, hidden files and system files.
#include <windows.h>

#include "shared_routines/file_exists.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

bool FileExists(const std::string& path) {
  // A NUL cannot be part of a file name; the API would silently cut the path there.
  if (path.empty() || path.find('\0') != std::string::npos) return false;
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
