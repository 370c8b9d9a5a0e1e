// Characters that show nothing themselves but change how the text around them reads: a caption
// "Read me\u202Ehs.txt" shows as "Read me txt.sh", and a zero-width space makes two names that look
// alike differ.
#ifndef TOLVAR_MENU_CHECK_CHECKS_INVISIBLE_CHARACTERS_H_
#define TOLVAR_MENU_CHECK_CHECKS_INVISIBLE_CHARACTERS_H_

#include <string>

namespace tolvar {

// "U+202E (right-to-left override) at character 8, ..." for each invisible character in `text`
// (UTF-8, as the reader decodes every line), counted from 1; empty when there is none.
std::string InvisibleCharacters(const std::string& text);

// The bidirectional controls, which reorder the text after them, and the line and paragraph
// separators, which start a new line in some terminals and editors: where the checker's own
// report quotes a text holding one, it shows the character's number instead, so that the report
// reads as it is.
bool ReordersOrBreaksLines(char32_t code);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_INVISIBLE_CHARACTERS_H_
