// OpenForReading: how the menu opens a file from the medium to read it. One body per platform.
#ifndef TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_
#define TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_

#include <cstdio>
#include <string>

namespace tolvar {

// Opens `path` (as the menu file writes it; relative to the current directory) for reading in
// binary mode. Returns null with the system's reason in *reason when it cannot be opened. On POSIX
// anything but a regular file is refused too, without waiting on it: a FIFO put where the file
// should be would otherwise hang the menu.
std::FILE* OpenForReading(const std::string& path, std::string* reason);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_OPEN_FOR_READING_H_
