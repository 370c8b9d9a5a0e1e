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

Expected<uint64_t> PictureFileHandle::Open(const std::string& native_path) {
  const HANDLE file =
      CreateFileW(Widen(native_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Expected<uint64_t>::Failure(SystemErrorText(GetLastError()));
  handle_ = reinterpret_cast<intptr_t>(file);
  if (GetFileType(file) != FILE_TYPE_DISK)
    return Expected<uint64_t>::Failure("it is not a regular file");
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file, &length))
    return Expected<uint64_t>::Failure(SystemErrorText(GetLastError()));
  return static_cast<uint64_t>(length.QuadPart);
}

Expected<size_t> PictureFileHandle::Read(char* into, size_t count) {
  // ReadFile takes a 32-bit count; a picture is never near that.
  DWORD read = 0;
  if (!ReadFile(AsHandle(handle_), into, static_cast<DWORD>(count), &read, nullptr)) {
    return Expected<size_t>::Failure(SystemErrorText(GetLastError()));
  }
  return static_cast<size_t>(read);
}

}  // namespace tolvar
