// Sequential text input: opening, buffered reading and the three line terminators.
#include "shared_routines/text_input.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include "shared_routines/utf16_win32.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

// Opens the file for reading, or returns null with the reason in *reason.
std::FILE* OpenForReading(const std::string& path, std::string* reason) {
#ifdef _WIN32
  std::FILE* file = _wfopen(Widen(path).c_str(), L"rb");
  if (file == nullptr) *reason = std::strerror(errno);
  return file;
#else
  // O_NONBLOCK so that a FIFO put where the file should be cannot hang the menu in open().
  const int fd = open(MatchCase(NativePath(path)).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *reason = std::strerror(errno);
    return nullptr;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *reason = "it is not a regular file";
    close(fd);
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    *reason = std::strerror(errno);
    close(fd);
  }
  return file;
#endif
}

}  // namespace

TextInput::TextInput(const std::string& path) : display_name_(DisplayPath(path)) {
  std::string reason;
  file_ = OpenForReading(path, &reason);
  if (file_ == nullptr) {
    throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, 0,
                       "the file cannot be opened: " + reason);
  }
  // Fill() may throw; the destructor will not run for a half-built object.
  try {
    if (Fill() && end_ >= 3 && std::memcmp(buffer_, "\xEF\xBB\xBF", 3) == 0) {
      marked_utf8_ = true;
      position_ = 3;
    }
    if (end_ >= 2 &&
        (std::memcmp(buffer_, "\xFF\xFE", 2) == 0 || std::memcmp(buffer_, "\xFE\xFF", 2) == 0)) {
      throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, 0,
                         "the file is saved as UTF-16 (\"Unicode\"), which cannot be read: save "
                         "it as ANSI or UTF-8");
    }
  } catch (...) {
    std::fclose(file_);
    throw;
  }
}

TextInput::~TextInput() { std::fclose(file_); }

bool TextInput::Fill() {
  position_ = 0;
  end_ = std::fread(buffer_, 1, sizeof buffer_, file_);
  if (end_ == 0 && std::ferror(file_)) {
    throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, line_number_ + 1,
                       std::string("the file cannot be read: ") + std::strerror(errno));
  }
  return end_ > 0;
}

int TextInput::PeekByte() {
  if (position_ == end_ && !Fill()) return -1;
  return static_cast<unsigned char>(buffer_[position_]);
}

std::string TextInput::ReadLine() {
  std::string line;
  ReadLine(std::string::npos, &line);
  return line;
}

bool TextInput::ReadLine(size_t longest, std::string* line) {
  std::string raw;
  if (!Consume(&raw, longest)) return false;
  *line = DecodeLine(raw, marked_utf8_);
  return true;
}

void TextInput::SkipLine() { Consume(nullptr, std::string::npos); }

bool TextInput::Consume(std::string* raw, size_t longest) {
  while (position_ < end_ || Fill()) {
    const char* start = buffer_ + position_;
    const char* stop = buffer_ + end_;
    const char* p = start;
    while (p < stop && *p != '\r' && *p != '\n') ++p;
    if (raw != nullptr) {
      if (static_cast<size_t>(p - start) > longest - raw->size()) {
        ++line_number_;
        return false;
      }
      raw->append(start, p - start);
    }
    position_ = p - buffer_;
    if (p == stop) continue;
    ++position_;
    // CR LF is one terminator, even when the buffer ends between the two.
    if (*p == '\r' && (position_ < end_ || Fill()) && buffer_[position_] == '\n') ++position_;
    break;
  }
  ++line_number_;
  return true;
}

}  // namespace tolvar
