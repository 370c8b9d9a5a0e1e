// Win32 body of ReadPictureFile: a disk file only (no device, pipe or console), read no further
// than the budget even when the file grows while it is read.
#include <windows.h>

#include <algorithm>

#include "shared_routines/picture_file.h"
#include "shared_routines/picture_header.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {
namespace {

std::string TooLarge() {
  return "the file is larger than the " + std::to_string(kMaxPictureFileBytes >> 20) +
         " MiB a picture may have";
}

}  // namespace

std::string ReadPictureFile(const std::string& native_path, std::string* bytes) {
  bytes->clear();
  const HANDLE file =
      CreateFileW(Widen(native_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SystemErrorText(GetLastError());
  std::string reason;
  LARGE_INTEGER size = {};
  if (GetFileType(file) != FILE_TYPE_DISK) {
    reason = "it is not a regular file";
  } else if (!GetFileSizeEx(file, &size)) {
    reason = SystemErrorText(GetLastError());
  } else if (static_cast<unsigned long long>(size.QuadPart) > kMaxPictureFileBytes) {
    reason = TooLarge();
  } else {
    bytes->resize(static_cast<size_t>(size.QuadPart) + 1);
    size_t length = 0;
    while (reason.empty()) {
      if (length == bytes->size()) {
        if (length > kMaxPictureFileBytes) {
          reason = TooLarge();
          break;
        }
        bytes->resize(std::min(kMaxPictureFileBytes + 1, length * 2));
      }
      DWORD got = 0;
      if (!ReadFile(file, &(*bytes)[length], static_cast<DWORD>(bytes->size() - length), &got,
                    nullptr)) {
        reason = SystemErrorText(GetLastError());
      } else if (got == 0) {
        break;
      } else {
        length += got;
      }
    }
    bytes->resize(length);
  }
  CloseHandle(file);
  if (!reason.empty()) bytes->clear();
  return reason;
}

}  // namespace tolvar
