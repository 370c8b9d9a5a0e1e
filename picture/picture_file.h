// Reading a picture file whole, before any decoder sees it: only a regular file, never blocking,
// never more than kMaxPictureFileBytes, so that a device, a FIFO or an endless file named as the
// picture cannot hang the menu or fill its memory.
#ifndef TOLVAR_PICTURE_PICTURE_FILE_H_
#define TOLVAR_PICTURE_PICTURE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "menu_form/result.h"

namespace tolvar {

// The bytes of the file at `native_path`, or why they cannot be read, in words ("it is not a
// regular file", the system's own reason, or that it is too large).
Expected<std::string> ReadPictureFile(const std::string& native_path);

// The first `most` bytes of the file at `native_path` (all of a shorter one), read as
// ReadPictureFile reads: a regular file alone, without blocking. The checker reads the files of a
// medium's folder so.
Expected<std::string> ReadFileHead(const std::string& native_path, uint64_t most);

// The reason ReadPictureFile gives for a file over the budget.
std::string PictureTooLarge();

// The platform's half of ReadPictureFile, which keeps the budget: one file, open while the object
// lives. Each call fails with the system's reason in words.
class PictureFileHandle {
 public:
  PictureFileHandle() = default;
  ~PictureFileHandle();
  PictureFileHandle(const PictureFileHandle&) = delete;
  PictureFileHandle& operator=(const PictureFileHandle&) = delete;

  // Opens the file without blocking and refuses anything but a regular file; the size it returns
  // is the size now, which the file may outgrow while it is read.
  Expected<uint64_t> Open(const std::string& native_path);

  // Reads at most `count` bytes into `into`; how many it read, 0 at the end of the file.
  Expected<size_t> Read(char* into, size_t count);

 private:
  intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
};

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_FILE_H_
