// ASCII letter case and blanks, as Windows treats them in names and as the checker reads INI-like
// lines. Only ASCII letters are folded: folding bytes of another encoding by guess could join names
// Windows keeps apart. Plain C++.
#ifndef TOLVAR_SHARED_ROUTINES_ASCII_TEXT_H_
#define TOLVAR_SHARED_ROUTINES_ASCII_TEXT_H_

#include <string>
#include <string_view>

namespace tolvar {

// `text` with A-Z made a-z; every other byte as it is.
std::string AsciiFolded(std::string text);

// Whether `a` and `b` are the same but for the letter case of A-Z.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// `text` without the blanks and tabs around it.
std::string TrimBlanks(std::string_view text);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_ASCII_TEXT_H_
