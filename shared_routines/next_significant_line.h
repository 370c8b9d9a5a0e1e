// NextSignificantLine: how every line of the menu file is read, past comments and blank lines.
#ifndef TOLVAR_SHARED_ROUTINES_NEXT_SIGNIFICANT_LINE_H_
#define TOLVAR_SHARED_ROUTINES_NEXT_SIGNIFICANT_LINE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "shared_routines/text_input.h"

namespace tolvar {

// The longest significant line, in bytes. A title, a caption, a count or a path never comes near
// it: Windows' longest path is 32,767 characters. A longer line is a broken or hostile file, and
// keeping it whole would make memory follow the file's size. Comment lines have no limit: they
// are skipped without being kept.
inline constexpr size_t kLongestSignificantLine = 64 * 1024;

// Returns the next line of `file` that is neither empty nor a comment (first character an
// apostrophe), exactly as written: a line of blanks, or one whose apostrophe follows a blank, is
// significant. Consumes every line up to and including the one returned. When the file ends first,
// throws RunTimeError kEndOfFile naming the file, the line and what was expected: `expected`
// (e.g. "the title"), followed by `entry` when it is not 0 ("the caption of entry" and 3 say
// "the caption of entry 3"); when the line is longer than kLongestSignificantLine, kLineTooLong.
std::string NextSignificantLine(TextInput& file, std::string_view expected, int entry = 0);

// The same, without a copy when the line needs no decoding: for a caller that reads thousands of
// lines and keeps their text elsewhere. The line is valid until the next read of `file` or change
// of `storage` (see TextInput::ReadLine).
std::string_view ReadSignificantLine(TextInput& file, std::string* storage,
                                     std::string_view expected, int entry = 0);

// The same for a reader that passes over the comments and blank lines itself (to read what some
// of them say): `follows` is what its pass answered, false when the file ended first.
std::string_view ReadFieldLine(TextInput& file, bool follows, std::string* storage,
                               std::string_view expected, int entry = 0);

// Consumes the comments and blank lines ahead; true when a significant line follows them, false at
// the end of the file. Inline: it runs before every line of the file, from more than one caller.
inline bool SkipToSignificantLine(TextInput& file) {
  for (;;) {
    const int first = file.PeekByte();
    if (first < 0) return false;
    if (first != '\'' && first != '\r' && first != '\n') return true;
    file.SkipLine();
  }
}

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_NEXT_SIGNIFICANT_LINE_H_
