// Win32 body of the disk questions, through the wide API alone: std::filesystem would link the C++
// library's streams and locales into the static .exe, most of its size.
#include <windows.h>

#include "shared_routines/disk_entries.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

const char kFinalPathSeparator = '\\';

bool EntryExists(const std::string& path) {
  // GetFileAttributesW does not follow a link in the last component, so a dangling one exists.
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> EntryNames(const std::string& directory) {
  std::vector<std::string> names;
  std::wstring pattern = Widen(directory.empty() ? "." : directory);
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return names;
}

bool IsFolder(const std::string& path) {
  // The attributes of a link or junction are its own; the folder it leads to is only known once
  // it is opened.
  const std::optional<std::string> final_path = FinalPath(path);
  if (!final_path) return false;
  const DWORD attributes = GetFileAttributesW(Widen(*final_path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> FinalPath(const std::string& path) {
  // No access asked for: only the name is wanted. FILE_FLAG_BACKUP_SEMANTICS opens folders too,
  // and without FILE_FLAG_OPEN_REPARSE_POINT every link and junction on the way is followed.
  HANDLE file =
      CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::wstring final_path(MAX_PATH, L'\0');
  DWORD length =
      GetFinalPathNameByHandleW(file, final_path.data(), static_cast<DWORD>(final_path.size()), 0);
  if (length >= final_path.size()) {
    // Too small: `length` is then the size needed, its NUL included.
    final_path.resize(length);
    length = GetFinalPathNameByHandleW(file, final_path.data(),
                                       static_cast<DWORD>(final_path.size()), 0);
  }
  CloseHandle(file);
  if (length == 0 || length >= final_path.size()) return std::nullopt;
  final_path.resize(length);
  return Narrow(final_path);
}

}  // namespace tolvar
