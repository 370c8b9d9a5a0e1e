// The entry count's conversion from text to a 16-bit signed integer, as the locale-aware
// string-to-integer conversion of the menu's platform does it.
#ifndef TOLVAR_MENU_FORM_COUNT_CONVERSION_H_
#define TOLVAR_MENU_FORM_COUNT_CONVERSION_H_

#include <string_view>

namespace tolvar {

struct Integer16Conversion {
  enum class Outcome { kOk, kTypeMismatch, kOverflow };
  Outcome outcome = Outcome::kTypeMismatch;
  int value = 0;  // meaningful when outcome is kOk
};

// Accepts blanks (spaces, tabs) around the number, a sign, a fraction after '.' or after
// `decimal_separator` (the user's locale's), an exponent ("1e2"), and hexadecimal or octal numbers
// written "&H1F" or "&O17" (four hex digits at most fill 16 bits, so "&HFFFF" is -1). Fractions
// round to the nearest integer, halves to the even neighbour. Anything else is a type mismatch; a
// value outside -32768..32767 after rounding is an overflow.
Integer16Conversion ConvertToInteger16(std::string_view text, std::string_view decimal_separator);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_COUNT_CONVERSION_H_
