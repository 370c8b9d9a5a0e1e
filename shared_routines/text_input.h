// Sequential text input over the menu file: one line at a time, streamed through a fixed buffer, so
// memory does not grow with the size of the file but only with what the caller keeps; or over text
// already in memory (a file read from an image), line by line in the same way.
#ifndef TOLVAR_SHARED_ROUTINES_TEXT_INPUT_H_
#define TOLVAR_SHARED_ROUTINES_TEXT_INPUT_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tolvar {

// The largest file a menu file may be: a thousand times the largest menu's text, so that no honest
// file comes near it, while a 4 GB file of comments is refused at once rather than read to its end.
inline constexpr uint64_t kLargestTextFile = uint64_t{256} << 20;

// Why a menu file of `size` bytes, over kLargestTextFile, is refused.
std::string TooLargeForAMenuFile(uint64_t size);

// Lines end at CR LF, at CR alone and at LF alone; the last line needs no terminator. A UTF-8
// byte-order mark at the start is skipped and makes the whole file UTF-8; otherwise each line is
// decoded as DecodeLine says. A file marked as UTF-16 is refused.
class TextInput {
 public:
  // Opens `path` (relative to the current directory; backslashes are separators everywhere) and
  // reads no more than the size the file states when opened. Throws RunTimeError kCannotOpen,
  // naming the file and the system's reason, when it is not a regular file or cannot be opened,
  // when it is larger than kLargestTextFile, or when it starts with a UTF-16 byte-order mark
  // (Notepad's "Unicode"), whose text would otherwise be read as garbage.
  explicit TextInput(const std::string& path);
  // Reads `text`, which must outlive this input, as the content of a file that messages call
  // `display_name`. Throws RunTimeError kCannotOpen when it is marked as UTF-16 or larger than
  // kLargestTextFile.
  TextInput(std::string_view text, std::string display_name);
  ~TextInput();
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;

  // PeekByte, ReadLine and SkipLine throw RunTimeError kCannotOpen when reading fails midway.

  // The first byte of the next line (CR or LF for an empty line), or -1 at the end of the file.
  // Inline: asked before every line of the file.
  int PeekByte() {
    if (position_ == end_ && !Fill()) return -1;
    return static_cast<unsigned char>(buffer_[position_]);
  }

  // Up to `n` bytes of the next line from its start, as they stand in the file (undecoded), fewer
  // when the line or the file ends first; "" at the end of the file. Consumes nothing; valid until
  // the next call on this input. `n` must be far below the buffer's size. For a reader that must
  // tell a kind of line by how it begins before it decides to read or to skip it.
  std::string_view PeekLineStart(size_t n);

  // Consumes the next line, of at most `longest` bytes, and sets `line` to it decoded, without its
  // terminator ("" at the end of the file). A line that needs no decoding and lies whole in the
  // buffer, as nearly every line does, is not copied: `line` shows it in the buffer. Otherwise it
  // shows the text made in `storage`, whose storage is reused. Either way it is valid until the
  // next call on this input or change of `storage`. A longer line is consumed only up to there, so
  // that an endless line cannot take all memory: returns false then, with `line` untouched.
  bool ReadLine(size_t longest, std::string* storage, std::string_view* line);

  // Consumes the next line without keeping any of it, however long it is.
  void SkipLine();

  // The number of lines consumed so far: the 1-based number of the last line read or skipped.
  int64_t line_number() const { return line_number_; }

  // The file's name as a person should read it in a message, e.g. "menu\config.mnu".
  const std::string& display_name() const { return display_name_; }

 private:
  // Throws kCannotOpen when `size` is larger than kLargestTextFile.
  void RefuseLarger(uint64_t size) const;
  // Skips a UTF-8 byte-order mark and refuses a UTF-16 one, at the start.
  void Begin();
  // Refills the buffer from position 0, first moving the bytes from position_ to end_ there.
  bool Fill();
  // The first `byte` in the buffer from position_ on, before `stop`; `stop` when there is none.
  size_t FindInBuffer(char byte, size_t stop) const;
  // Where the line at position_ ends in the buffer: its CR or LF, or end_ when it goes on.
  size_t LineEnd();
  // Moves past the terminator at position_ and counts the line.
  void SkipTerminator();
  bool Consume(std::string* raw, size_t longest);

  std::FILE* file_ = nullptr;  // null when reading from memory
  uint64_t unread_ = 0;        // what the file's stated size leaves to read
  std::string_view memory_;    // the text in memory not yet in the buffer
  std::string display_name_;
  bool marked_utf8_ = false;
  int64_t line_number_ = 0;
  size_t position_ = 0;
  size_t end_ = 0;
  size_t next_lf_ = 0;  // the first LF at or after position_ while it is not passed, or end_
  char buffer_[64 * 1024];
};

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_TEXT_INPUT_H_
