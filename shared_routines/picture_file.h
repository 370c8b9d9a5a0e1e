// Reading a picture file whole, before any decoder sees it: only a regular file, never blocking,
// never more than kMaxPictureFileBytes, so that a device, a FIFO or an endless file named as the
// picture cannot hang the menu or fill its memory.
#ifndef TOLVAR_SHARED_ROUTINES_PICTURE_FILE_H_
#define TOLVAR_SHARED_ROUTINES_PICTURE_FILE_H_

#include <string>

namespace tolvar {

// Reads the file at `native_path` into `bytes`. Empty when it succeeded; otherwise the reason in
// words ("it is not a regular file", the system's own reason, or that it is too large).
std::string ReadPictureFile(const std::string& native_path, std::string* bytes);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_PICTURE_FILE_H_
