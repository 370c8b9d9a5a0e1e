// How bytes of the menu file become the program's UTF-8 text: UTF-8 when the file says so with a
// byte-order mark or the bytes are valid UTF-8, otherwise the ANSI code page.
#ifndef TOLVAR_SHARED_ROUTINES_TEXT_DECODE_H_
#define TOLVAR_SHARED_ROUTINES_TEXT_DECODE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvar {

// The character whose valid UTF-8 sequence starts at bytes[i]: returns the sequence's length (1
// to 4) and puts the code point into *code; 0 when no valid sequence starts there. Strict UTF-8:
// no overlong forms, no surrogates, nothing above U+10FFFF.
size_t Utf8SequenceAt(std::string_view bytes, size_t i, char32_t* code);

// True when every byte is below 0x80.
bool IsAscii(std::string_view bytes);

// Appends the UTF-8 form of `code` (at most U+10FFFF; the caller keeps surrogates out) to `text`.
void AppendUtf8(char32_t code, std::string* text);

// Strict UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 with every invalid sequence replaced by U+FFFD.
std::string Utf8Lossy(std::string_view bytes);

// One line of the menu file as UTF-8. A file marked as UTF-8 is always read as UTF-8; otherwise a
// line that is valid UTF-8 is taken as it is and any other line as ANSI text. Valid UTF-8, as
// nearly every line is, needs no change: the result is then `bytes` itself, and otherwise the text
// made in `storage` (whose storage is reused: the file's thousands of lines go through one string;
// `bytes` may lie in it).
std::string_view DecodeLine(std::string_view bytes, bool marked_utf8, std::string* storage);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_TEXT_DECODE_H_
