// Reading a picture file whole, before any decoder sees it: only a regular file, never blocking,
// never more than kMaxPictureFileBytes, so that a device, a FIFO or an endless file named as the
// picture cannot hang the menu or fill its memory.
#ifndef TOLVAR_PICTURE_PICTURE_FILE_H_
#define TOLVAR_PICTURE_PICTURE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvar {

// Reads the file at `native_path` into `bytes`. Empty when it succeeded; otherwise the reason in
// words ("it is not a regular file", the system's own reason, or that it is too large).
std::string ReadPictureFile(const std::string& native_path, std::string* bytes);

// The reason ReadPictureFile gives for a file over the budget.
std::string PictureTooLarge();

// The platform's half of ReadPictureFile, which keeps the budget: one file, open while the object
// lives. Each call returns the reason in words, or empty when it succeeded.
class PictureFileHandle {
 public:
  PictureFileHandle() = default;
  ~PictureFileHandle();
  PictureFileHandle(const PictureFileHandle&) = delete;
  PictureFileHandle& operator=(const PictureFileHandle&) = delete;

  // Opens the file without blocking and refuses anything but a regular file; `size` is its size
  // now, which it may outgrow while it is read.
  std::string Open(const std::string& native_path, uint64_t* size);

  // Reads at most `count` bytes into `into`; `*got` is 0 at the end of the file.
  std::string Read(char* into, size_t count, size_t* got);

 private:
  intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
};

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_FILE_H_
