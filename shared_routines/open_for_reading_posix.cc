// POSIX body of OpenForReading: open() and read without blocking, a check that it is a regular
// file, then a stdio stream over the descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"
#include "shared_routines/open_for_reading.h"

namespace tolvar {

OpenedFile OpenForReading(const std::string& path) {
  if (NamesNoLocalFile(path)) return {nullptr, std::strerror(ENOENT)};
  // O_NONBLOCK so that a FIFO put where the file should be cannot hang the menu in open().
  const int fd = open(MatchCase(NativePath(path)).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {nullptr, std::strerror(errno)};
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return {nullptr, "it is not a regular file"};
  }
  // Left non-blocking: a regular file reads the same either way, but some files of /proc that
  // claim to be regular (the kernel's log) would block the menu for ever in read().
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    OpenedFile failed{nullptr, std::strerror(errno)};
    close(fd);
    return failed;
  }
  return {file, "", static_cast<uint64_t>(info.st_size)};
}

}  // namespace tolvar
