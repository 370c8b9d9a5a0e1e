// POSIX body of ReadPictureFile: open without blocking, refuse what is not a regular file, and read
// no further than the budget even when the file grows while it is read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "shared_routines/picture_file.h"
#include "shared_routines/picture_header.h"

namespace tolvar {
namespace {

std::string TooLarge() {
  return "the file is larger than the " + std::to_string(kMaxPictureFileBytes >> 20) +
         " MiB a picture may have";
}

}  // namespace

std::string ReadPictureFile(const std::string& native_path, std::string* bytes) {
  bytes->clear();
  const int fd = open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat info;
  std::string reason;
  if (fstat(fd, &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "it is not a regular file";
  } else if (static_cast<unsigned long long>(info.st_size) > kMaxPictureFileBytes) {
    reason = TooLarge();
  } else {
    bytes->resize(static_cast<size_t>(info.st_size) + 1);
    size_t length = 0;
    while (reason.empty()) {
      if (length == bytes->size()) {
        // Grown since fstat: allow up to the budget, one byte beyond tells it is too large.
        if (length > kMaxPictureFileBytes) {
          reason = TooLarge();
          break;
        }
        bytes->resize(std::min(kMaxPictureFileBytes + 1, length * 2));
      }
      const ssize_t got = read(fd, &(*bytes)[length], bytes->size() - length);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        reason = std::strerror(errno);
      } else {
        length += static_cast<size_t>(got);
      }
    }
    bytes->resize(length);
  }
  close(fd);
  if (!reason.empty()) bytes->clear();
  return reason;
}

}  // namespace tolvar
