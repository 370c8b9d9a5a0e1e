// Sequential text input: opening, buffered reading and the three line terminators.
#include "shared_routines/text_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "shared_routines/native_path.h"
#include "shared_routines/open_for_reading.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_decode.h"

namespace tolvar {

TextInput::TextInput(const std::string& path) : display_name_(DisplayPath(path)) {
  const OpenedFile opened = OpenForReading(path);
  if (opened.file == nullptr) {
    throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, 0,
                       "the file cannot be opened: " + opened.reason);
  }
  file_ = opened.file;
  unread_ = opened.size;
  // Fill() may throw; the destructor will not run for a half-built object.
  try {
    RefuseLarger(unread_);
    Begin();
  } catch (...) {
    std::fclose(file_);
    throw;
  }
}

TextInput::TextInput(std::string_view text, std::string display_name)
    : memory_(text), display_name_(std::move(display_name)) {
  RefuseLarger(text.size());
  Begin();
}

std::string TooLargeForAMenuFile(uint64_t size) {
  return "the file is " + std::to_string(size >> 20) + " MiB, larger than the " +
         std::to_string(kLargestTextFile >> 20) + " MiB a menu file may be";
}

void TextInput::RefuseLarger(uint64_t size) const {
  if (size <= kLargestTextFile) return;
  throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, 0, TooLargeForAMenuFile(size));
}

void TextInput::Begin() {
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
}

TextInput::~TextInput() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TextInput::Fill() {
  // Bytes not yet consumed stay ahead of the new ones: only PeekLineStart leaves any.
  const size_t kept = end_ - position_;
  std::memmove(buffer_, buffer_ + position_, kept);
  position_ = 0;
  if (file_ == nullptr) {
    // Text in memory passes through the buffer as a file's does: one way of reading lines, whose
    // speed the menu's start depends on, for both.
    end_ = kept + memory_.copy(buffer_ + kept, sizeof buffer_ - kept);
    memory_.remove_prefix(end_ - kept);
    next_lf_ = FindInBuffer('\n', end_);
    return end_ > kept;
  }
  const size_t room = sizeof buffer_ - kept;
  const size_t wanted = unread_ < room ? static_cast<size_t>(unread_) : room;
  end_ = kept + (wanted == 0 ? 0 : std::fread(buffer_ + kept, 1, wanted, file_));
  unread_ -= end_ - kept;
  if (end_ == kept && std::ferror(file_)) {
    throw RunTimeError(RunTimeError::Kind::kCannotOpen, display_name_, line_number_ + 1,
                       std::string("the file cannot be read: ") + std::strerror(errno));
  }
  next_lf_ = FindInBuffer('\n', end_);
  return end_ > kept;
}

size_t TextInput::FindInBuffer(char byte, size_t stop) const {
  const void* found = std::memchr(buffer_ + position_, byte, stop - position_);
  return found == nullptr ? stop : static_cast<const char*>(found) - buffer_;
}

size_t TextInput::LineEnd() {
  // The LF found last time is reused until it is passed: a file of CR line ends has no LF to
  // find, and searching the rest of the buffer again for each line would cost its square.
  if (next_lf_ < position_) next_lf_ = FindInBuffer('\n', end_);
  return FindInBuffer('\r', next_lf_);
}

void TextInput::SkipTerminator() {
  const char terminator = buffer_[position_++];
  // CR LF is one terminator, even when the buffer ends between the two.
  if (terminator == '\r' && (position_ < end_ || Fill()) && buffer_[position_] == '\n') {
    ++position_;
  }
  ++line_number_;
}

std::string_view TextInput::PeekLineStart(size_t n) {
  if (end_ - position_ < n) Fill();  // at most once per line: the reads that need it are rare
  const size_t stop = std::min({end_, position_ + n, LineEnd()});
  return std::string_view(buffer_ + position_, stop - position_);
}

bool TextInput::ReadLine(size_t longest, std::string* storage, std::string_view* line) {
  // A line that lies whole in the buffer, as nearly all do, is decoded straight from it.
  if (position_ < end_ || Fill()) {
    const size_t stop = LineEnd();
    // The terminator's first byte is not the buffer's last, so passing it cannot refill the
    // buffer under the line.
    if (stop + 1 < end_) {
      if (stop - position_ > longest) {
        ++line_number_;
        return false;
      }
      *line = DecodeLine(std::string_view(buffer_ + position_, stop - position_), marked_utf8_,
                         storage);
      position_ = stop;
      SkipTerminator();
      return true;
    }
  }
  storage->clear();
  if (!Consume(storage, longest)) return false;
  *line = DecodeLine(*storage, marked_utf8_, storage);
  return true;
}

void TextInput::SkipLine() { Consume(nullptr, std::string::npos); }

bool TextInput::Consume(std::string* raw, size_t longest) {
  while (position_ < end_ || Fill()) {
    const size_t stop = LineEnd();
    if (raw != nullptr) {
      if (stop - position_ > longest - raw->size()) {
        ++line_number_;
        return false;
      }
      raw->append(buffer_ + position_, stop - position_);
    }
    position_ = stop;
    if (stop < end_) {
      SkipTerminator();
      return true;
    }
  }
  ++line_number_;  // the last line, which needs no terminator
  return true;
}

}  // namespace tolvar
