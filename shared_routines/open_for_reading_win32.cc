// Win32 body of OpenForReading: _wfopen of the path in UTF-16.
#include <cerrno>
#include <cstring>

#include "shared_routines/open_for_reading.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

OpenedFile OpenForReading(const std::string& path) {
  std::FILE* file = _wfopen(Widen(path).c_str(), L"rb");
  if (file == nullptr) return {nullptr, std::strerror(errno)};
  return {file, ""};
}

}  // namespace tolvar
