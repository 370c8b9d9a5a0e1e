// POSIX half of ReadPictureFile: open without blocking, so that a FIFO or a device that never
// answers cannot hang the menu, and refuse what is not a regular file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "picture/picture_file.h"

namespace tolvar {

PictureFileHandle::~PictureFileHandle() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

Expected<uint64_t> PictureFileHandle::Open(const std::string& native_path) {
  const int fd = open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Expected<uint64_t>::Failure(std::strerror(errno));
  handle_ = fd;
  struct stat info;
  if (fstat(fd, &info) != 0) return Expected<uint64_t>::Failure(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return Expected<uint64_t>::Failure("it is not a regular file");
  return static_cast<uint64_t>(info.st_size);
}

Expected<size_t> PictureFileHandle::Read(char* into, size_t count) {
  for (;;) {
    const ssize_t n = read(static_cast<int>(handle_), into, count);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) return Expected<size_t>::Failure(std::strerror(errno));
  }
}

}  // namespace tolvar
