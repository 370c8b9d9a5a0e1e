// Win32 half of ReadPictureFile: a disk file only (no device, pipe or console).
#include <windows.h>

#include "picture/picture_file.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {
namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

PictureFileHandle::~PictureFileHandle() {
  if (AsHandle(handle_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(handle_));
}

std::string PictureFileHandle::Open(const std::string& native_path, uint64_t* size) {
  const HANDLE file =
      CreateFileW(Widen(native_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SystemErrorText(GetLastError());
  handle_ = reinterpret_cast<intptr_t>(file);
  if (GetFileType(file) != FILE_TYPE_DISK) return "it is not a regular file";
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file, &length)) return SystemErrorText(GetLastError());
  *size = static_cast<uint64_t>(length.QuadPart);
  return {};
}

std::string PictureFileHandle::Read(char* into, size_t count, size_t* got) {
  // ReadFile takes a 32-bit count; a picture is never near that.
  DWORD read = 0;
  if (!ReadFile(AsHandle(handle_), into, static_cast<DWORD>(count), &read, nullptr)) {
    return SystemErrorText(GetLastError());
  }
  *got = read;
  return {};
}

}  // namespace tolvar
