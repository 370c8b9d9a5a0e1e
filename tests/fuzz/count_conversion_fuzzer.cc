// libFuzzer target: arbitrary text as the entry count. Besides crashes and sanitizer reports it
// checks properties any answer must have: a value in 16 bits, blanks around the number and the
// choice of separator changing nothing they should not, plain integers read exactly, and numbers
// far above or below 1 coming out as overflow or zero.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "menu_form/count_conversion.h"
#include "tests/fuzz/property_check.h"

namespace tolvar {
namespace {

using Outcome = Integer16Conversion::Outcome;

bool Same(const Integer16Conversion& a, const Integer16Conversion& b) {
  return a.outcome == b.outcome && (a.outcome != Outcome::kOk || a.value == b.value);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// For text of the form [sign] digits [. digits] [e [sign] digits] with a short exponent: the power
// of ten of its first non-zero digit (e.g. 2 for "123", -1 for "0.5e0"), or false when the text is
// of another form or is zero.
bool DecimalMagnitude(std::string_view text, int64_t* magnitude) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int64_t position = -1;  // of the first non-zero digit, counted from the point, 0 = units
  int64_t integer_digits = 0;
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++integer_digits) {
    any = true;
    if (text[i] != '0' && position == -1) position = integer_digits;
  }
  bool nonzero_before_point = position != -1;
  int64_t first = nonzero_before_point ? integer_digits - 1 - position : 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (int64_t k = 1; i < text.size() && IsDigit(text[i]); ++i, ++k) {
      any = true;
      if (text[i] != '0' && !nonzero_before_point && position == -1) {
        position = k;
        first = -k;
      }
    }
  }
  if (!any || position == -1) return false;
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t start = i;
    for (; i < text.size() && IsDigit(text[i]) && i - start < 9; ++i) {
      exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == start) return false;
    if (negative) exponent = -exponent;
  }
  if (i != text.size()) return false;
  *magnitude = first + exponent;
  return true;
}

}  // namespace
}  // namespace tolvar

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvar;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Integer16Conversion point = ConvertToInteger16(text, ".");
  const Integer16Conversion comma = ConvertToInteger16(text, ",");

  for (const Integer16Conversion& result : {point, comma}) {
    Check(result.outcome != Outcome::kOk || (result.value >= -32768 && result.value <= 32767),
          "a value fits 16 bits", text);
  }
  Check(Same(ConvertToInteger16(" \t" + text + "\t ", "."), point), "blanks around do not count",
        text);
  if (text.find(',') == std::string::npos) {
    Check(Same(comma, point), "the separator matters only where it stands", text);
  }

  // Plain integers: exactly their value, or overflow.
  std::string_view digits = text;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
  if (!digits.empty() && digits.size() <= 9 &&
      digits.find_first_not_of("0123456789") == std::string_view::npos) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    const bool fits = value >= -32768 && value <= 32767;
    Check(point.outcome == (fits ? Outcome::kOk : Outcome::kOverflow) &&
              (!fits || point.value == value),
          "a plain integer reads as itself", text);
  }

  // Far from 1 in either direction: 1e5 and more cannot fit, below 0.01 rounds to zero.
  int64_t magnitude = 0;
  if (DecimalMagnitude(text, &magnitude)) {
    if (magnitude >= 5) Check(point.outcome == Outcome::kOverflow, "huge is overflow", text);
    if (magnitude <= -2) {
      Check(point.outcome == Outcome::kOk && point.value == 0, "tiny is zero", text);
    }
  }
  return 0;
}
