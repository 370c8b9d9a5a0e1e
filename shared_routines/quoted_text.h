// Text from a menu file or a medium, made safe to put into a message: on a terminal or in a message
// box it can neither hide part of the message nor act as a control sequence.
#ifndef TOLVAR_SHARED_ROUTINES_QUOTED_TEXT_H_
#define TOLVAR_SHARED_ROUTINES_QUOTED_TEXT_H_

#include <cstddef>
#include <string>

namespace tolvar {

// `text` (UTF-8) in double quotes, cut after `longest` bytes (at a character boundary, marked
// "..."), with every control character (C0, DEL, C1) written as \xNN: a NUL would end the message
// early, and an escape sequence would reach the terminal that shows the error.
std::string QuotedText(const std::string& text, size_t longest = 60);

// Enough for any path a person would write; a longer one is cut in messages rather than fill them.
inline constexpr size_t kLongestPathShown = 260;

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_QUOTED_TEXT_H_
