// The entry count's conversion: a small hand-written scanner, so that neither the process's locale
// (GTK sets it from the environment) nor a C library's leniency changes what a menu file means.
#include "menu_form/count_conversion.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace tolvar {
namespace {

using Outcome = Integer16Conversion::Outcome;

constexpr Integer16Conversion Mismatch() { return {Outcome::kTypeMismatch, 0}; }
constexpr Integer16Conversion Overflow() { return {Outcome::kOverflow, 0}; }

struct DoubleRead {
  double value;
  std::errc error;  // result_out_of_range: beyond a double's range, too large or too small
};

// `plain` (an optional '-', digits, a '.', an exponent) as a double, read whole.
DoubleRead ReadDouble(const std::string& plain) {
#if !defined(__GLIBCXX__) || _GLIBCXX_RELEASE >= 11
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc() && end != plain.data() + plain.size()) {
    return {0, std::errc::invalid_argument};
  }
  return {value, error};
#else
  // GCC 10's standard library, which builds the Linux program for older systems, has no
  // from_chars for double. strtod reads it instead; it follows the process's locale, so the '.'
  // is written as that locale's decimal point first.
  std::string local;
  for (const char c : plain)
    local += c == '.' ? std::string(std::localeconv()->decimal_point) : std::string(1, c);
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(local.c_str(), &end);
  if (end != local.c_str() + local.size()) return {0, std::errc::invalid_argument};
  if (errno == ERANGE) return {0, std::errc::result_out_of_range};
  return {value, std::errc()};
#endif
}

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

// The power of ten of the first non-zero digit of `plain` ("-123.4e5" gives 7), which is checked
// to be digits with at most one point, then an optional exponent. Saturates far beyond 16 bits.
int64_t PowerOfTen(std::string_view plain) {
  constexpr int64_t kFar = int64_t{1} << 40;
  size_t i = plain.empty() || plain[0] != '-' ? 0 : 1;
  int64_t power = 0;
  bool found = false;
  for (; i < plain.size() && IsDigit(plain[i]); ++i) {
    if (found) {
      power = std::min(power + 1, kFar);
    } else if (plain[i] != '0') {
      found = true;
    }
  }
  if (i < plain.size() && plain[i] == '.') {
    for (++i; i < plain.size() && IsDigit(plain[i]); ++i) {
      if (!found) power = std::max(power - 1, -kFar);
      if (!found && plain[i] != '0') found = true;
    }
  }
  if (!found) return -kFar;  // zero
  int64_t exponent = 0;
  if (i < plain.size() && plain[i] == 'e') {
    const bool negative = ++i < plain.size() && plain[i] == '-';
    if (i < plain.size() && (plain[i] == '-' || plain[i] == '+')) ++i;
    for (; i < plain.size(); ++i) exponent = std::min(exponent * 10 + (plain[i] - '0'), kFar);
    if (negative) exponent = -exponent;
  }
  return power + exponent;
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

  // Rewritten into the one form from_chars reads, whatever the user's separator is.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) plain += text[i];
  if (i < text.size()) {
    size_t separator = 0;
    if (text[i] == '.') {
      separator = 1;
    } else if (!decimal_separator.empty() &&
               text.substr(i, decimal_separator.size()) == decimal_separator) {
      separator = decimal_separator.size();
    }
    if (separator > 0) {
      plain += '.';
      for (i += separator; i < text.size() && IsDigit(text[i]); ++i, ++digits) plain += text[i];
    }
  }
  if (digits == 0) return Mismatch();
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    const size_t exponent_start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) plain += text[i];
    if (i == exponent_start) return Mismatch();
  }
  if (i != text.size()) return Mismatch();

  const auto [value, error] = ReadDouble(plain);
  if (error == std::errc::result_out_of_range) {
    // The number is beyond a double's range, too small (it rounds to zero) or too large. Only its
    // power of ten tells which: "1e-400" is tiny, but so is not a 1 with 400 zeros before "e-1".
    return PowerOfTen(plain) < 0 ? Integer16Conversion{Outcome::kOk, 0} : Overflow();
  }
  if (error != std::errc()) return Mismatch();
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (!(rounded >= -32768 && rounded <= 32767)) return Overflow();
  return {Outcome::kOk, static_cast<int>(rounded)};
}

}  // namespace tolvar
