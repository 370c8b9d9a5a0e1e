// ReadFieldLine: how each significant line of the menu file is read, bounded, or the error naming
// the file and the line when there is none.
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

// Reads the next significant line of `file` (one that is neither empty nor a comment) for a reader
// that passes over the comments and blank lines itself, to read what some of them say: `follows`
// is what its pass answered, false when the file ended first. The line is valid until the next
// read of `file` or change of `storage` (see TextInput::ReadLine). When the file ended, throws
// RunTimeError kEndOfFile naming the file, the line and what was expected: `expected` (e.g. "the
// title"), followed by `entry` when it is not 0 ("the caption of entry" and 3 say "the caption of
// entry 3"); when the line is longer than kLongestSignificantLine, kLineTooLong.
std::string_view ReadFieldLine(TextInput& file, bool follows, std::string* storage,
                               std::string_view expected, int entry = 0);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_NEXT_SIGNIFICANT_LINE_H_
