// OpenForReading: how the menu opens a file from the medium to read it. One body per platform.
#ifndef TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_
#define TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_

#include <cstdint>
#include <cstdio>
#include <string>

namespace tolvar {

// A file opened for reading, or why it could not be.
struct OpenedFile {
  std::FILE* file = nullptr;  // the caller closes it; null when it could not be opened
  std::string reason;         // then the system's words, e.g. "Permission denied"
  uint64_t size = 0;          // the size the file says it has when opened
};

// Opens `path` (as the menu file writes it; relative to the current directory) for reading in
// binary mode. On POSIX anything but a regular file is refused too, without waiting on it: a FIFO
// put where the file should be would otherwise hang the menu. A reader takes no more than `size`
// bytes from it: files of /proc and /sys say they are empty (or a page long) but read as the
// kernel's log or without end. A path that names no local file (NamesNoLocalFile) is missing.
OpenedFile OpenForReading(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_
