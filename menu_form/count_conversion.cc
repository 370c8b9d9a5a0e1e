// The entry count's conversion: a small hand-written scanner, so that neither the process's locale
// (GTK sets it from the environment) nor a C library's leniency changes what a menu file means.
#include "menu_form/count_conversion.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvar {
namespace {

using Outcome = Integer16Conversion::Outcome;

constexpr Integer16Conversion Mismatch() { return {Outcome::kTypeMismatch, 0}; }
constexpr Integer16Conversion Overflow() { return {Outcome::kOverflow, 0}; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// "&H..." or "&O...": the digits fill 16 bits as they would a register, so &HFFFF is -1.
Integer16Conversion ConvertRadix(std::string_view digits, int radix) {
  if (digits.empty()) return Mismatch();
  uint32_t value = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c);
    if (digit >= radix) return Mismatch();
    value = value * radix + digit;
    if (value > 0xFFFF) return Overflow();
  }
  return {Outcome::kOk, static_cast<int16_t>(static_cast<uint16_t>(value))};
}

// A decimal number as written: its digits without the point, and the power of ten of the last one
// ("12.5e1" is 125 and 0). Rounding is decided on these digits, exactly: no conversion to a
// floating-point number, whose library (and locale) differs between the systems the menu is built
// on, and whose nearest value can lie on the other side of a half ("2.50000000000000000001").
struct Decimal {
  bool negative = false;
  std::string digits;    // at least one
  int64_t exponent = 0;  // far beyond 16 bits either way is kept only as far
};

// The integer nearest to `number`, halves to the even neighbour, or an overflow.
Integer16Conversion Round(const Decimal& number) {
  constexpr int64_t kIntegerDigits = 6;  // 100000 and more never fit
  const std::string_view all = number.digits;
  const size_t first = std::min(all.find_first_not_of('0'), all.size());
  const std::string_view digits = all.substr(first);
  if (digits.empty()) return {Outcome::kOk, 0};
  // The digits before the point, counted from the first non-zero one.
  const int64_t integer_count = static_cast<int64_t>(digits.size()) + number.exponent;
  if (integer_count > kIntegerDigits) return Overflow();
  int64_t value = 0;
  for (int64_t i = 0; i < integer_count; ++i) {
    value = value * 10 + (i < static_cast<int64_t>(digits.size()) ? digits[i] - '0' : 0);
  }
  // The fraction: its first digit, and whether any other is not zero.
  const int64_t fraction_start = std::max<int64_t>(integer_count, 0);
  int first_fraction = 0;
  bool more = false;
  if (integer_count >= 0 && fraction_start < static_cast<int64_t>(digits.size())) {
    first_fraction = digits[fraction_start] - '0';
    more = digits.find_first_not_of('0', fraction_start + 1) != std::string_view::npos;
  } else if (integer_count < 0) {
    more = true;  // below a tenth, and not zero
  }
  if (first_fraction > 5 || (first_fraction == 5 && (more || value % 2 == 1))) ++value;
  if (number.negative) value = -value;
  if (value < -32768 || value > 32767) return Overflow();
  return {Outcome::kOk, static_cast<int>(value)};
}

}  // namespace

Integer16Conversion ConvertToInteger16(std::string_view text, std::string_view decimal_separator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  if (text.size() >= 2 && text[0] == '&') {
    if (text[1] == 'H' || text[1] == 'h') return ConvertRadix(text.substr(2), 16);
    if (text[1] == 'O' || text[1] == 'o') return ConvertRadix(text.substr(2), 8);
    return Mismatch();
  }

  Decimal number;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  for (; i < text.size() && IsDigit(text[i]); ++i) number.digits += text[i];
  if (i < text.size()) {
    size_t separator = 0;
    if (text[i] == '.') {
      separator = 1;
    } else if (!decimal_separator.empty() &&
               text.substr(i, decimal_separator.size()) == decimal_separator) {
      separator = decimal_separator.size();
    }
    if (separator > 0) {
      for (i += separator; i < text.size() && IsDigit(text[i]); ++i) {
        number.digits += text[i];
        --number.exponent;
      }
    }
  }
  if (number.digits.empty()) return Mismatch();
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t exponent_start = i;
    // Saturates far beyond any count of digits a line can hold, either way.
    constexpr int64_t kFar = int64_t{1} << 40;
    int64_t exponent = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      exponent = std::min(exponent * 10 + (text[i] - '0'), kFar);
    }
    if (i == exponent_start) return Mismatch();
    number.exponent += negative ? -exponent : exponent;
  }
  if (i != text.size()) return Mismatch();
  return Round(number);
}

}  // namespace tolvar
