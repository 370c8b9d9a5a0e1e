// Win32 body of OpenForReading: _wfopen of the path in UTF-16.
#include <io.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "shared_routines/native_path.h"
#include "shared_routines/open_for_reading.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

OpenedFile OpenForReading(const std::string& path) {
  if (NamesNoLocalFile(path)) return {nullptr, std::strerror(ENOENT), 0};
  std::FILE* file = _wfopen(Widen(path).c_str(), L"rb");
  if (file == nullptr) return {nullptr, std::strerror(errno), 0};
  const int64_t size = _filelengthi64(_fileno(file));
  if (size < 0) {
    OpenedFile failed{nullptr, std::strerror(errno), 0};
    std::fclose(file);
    return failed;
  }
  return {file, "", static_cast<uint64_t>(size)};
}

}  // namespace tolvar
