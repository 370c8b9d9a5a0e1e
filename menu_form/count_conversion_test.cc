// The count's conversion: what reads as a number, how fractions round, where 16 bits end.
#include "menu_form/count_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvar {
namespace {

using Outcome = Integer16Conversion::Outcome;

struct Case {
  const char* text;
  const char* separator;
  Outcome outcome;
  int value;
};

constexpr Outcome kOk = Outcome::kOk;
constexpr Outcome kMismatch = Outcome::kTypeMismatch;
constexpr Outcome kOverflow = Outcome::kOverflow;

constexpr Case kCases[] = {
    // Plain numbers, signs and blanks around them.
    {"3", ".", kOk, 3},
    {" 12 ", ".", kOk, 12},
    {"\t7\t", ".", kOk, 7},
    {"+5", ".", kOk, 5},
    {"-0", ".", kOk, 0},
    {"-32768", ".", kOk, -32768},
    {"32767", ".", kOk, 32767},
    {"007", ".", kOk, 7},
    // Halves go to the even neighbour; other fractions to the nearest.
    {"2.5", ".", kOk, 2},
    {"3.5", ".", kOk, 4},
    {"2.51", ".", kOk, 3},
    {"-2.5", ".", kOk, -2},
    {".5", ".", kOk, 0},
    {"4.", ".", kOk, 4},
    {"32767.4", ".", kOk, 32767},
    {"-32768.5", ".", kOk, -32768},
    {"-1.5", ".", kOk, -2},
    {"-0.5", ".", kOk, 0},
    // Decided on the digits as written: the double nearest to each of these lies on the other side
    // of a half, and a conversion through one rounds them the wrong way.
    {"2.50000000000000000001", ".", kOk, 3},
    {"3.49999999999999999999", ".", kOk, 3},
    {"32767.49999999999999999", ".", kOk, 32767},
    {"-32768.50000000000000001", ".", kOverflow, 0},
    // A half or a fraction that an exponent makes, and leading zeros that count for nothing.
    {"25e-1", ".", kOk, 2},
    {"35E-1", ".", kOk, 4},
    {"0.0025e3", ".", kOk, 2},
    {"0.0035e3", ".", kOk, 4},
    {"45e-2", ".", kOk, 0},
    {"0.5e1", ".", kOk, 5},
    {"000000000000000000000000000042", ".", kOk, 42},
    {"0e99999999999999999999", ".", kOk, 0},
    // The user's separator as well as the point: the point reads the same under every locale, so
    // that a file means the same on every machine; a comma is only ever the user's own separator.
    {"1,5", ",", kOk, 2},
    {"2.5", ",", kOk, 2},
    {"1,55e1", ",", kOk, 16},
    {"1,5", ".", kMismatch, 0},
    // Exponents, hexadecimal and octal.
    {"1e2", ".", kOk, 100},
    {"1E+2", ".", kOk, 100},
    {"5e-1", ".", kOk, 0},
    {"1e-400", ".", kOk, 0},
    {"&H10", ".", kOk, 16},
    {"&hff", ".", kOk, 255},
    {"&O17", ".", kOk, 15},
    {"&HFFFF", ".", kOk, -1},
    {"&H7FFF", ".", kOk, 32767},
    // Too large for 16 bits.
    {"32768", ".", kOverflow, 0},
    {"32767.5", ".", kOverflow, 0},
    {"-32769", ".", kOverflow, 0},
    {"1e9", ".", kOverflow, 0},
    {"123456789012345678901234567890", ".", kOverflow, 0},
    {"1e400", ".", kOverflow, 0},
    {"&H10000", ".", kOverflow, 0},
    // Not numbers at all.
    {"", ".", kMismatch, 0},
    {"   ", ".", kMismatch, 0},
    {"three", ".", kMismatch, 0},
    {"12abc", ".", kMismatch, 0},
    {"1 2", ".", kMismatch, 0},
    {"0x10", ".", kMismatch, 0},
    {"&H", ".", kMismatch, 0},
    {"&HG", ".", kMismatch, 0},
    {"&X1", ".", kMismatch, 0},
    {".", ".", kMismatch, 0},
    {"-", ".", kMismatch, 0},
    {"1e", ".", kMismatch, 0},
    {"--1", ".", kMismatch, 0},
    {"\xEF\xBC\x93", ".", kMismatch, 0},  // a full-width digit three
};

TEST(ConvertToInteger16Test, ReadsNumbersAsTheLocaleAwareConversionDoes) {
  for (const Case& c : kCases) {
    const Integer16Conversion result = ConvertToInteger16(c.text, c.separator);
    EXPECT_EQ(result.outcome, c.outcome) << '"' << c.text << "\" with separator " << c.separator;
    if (c.outcome == Outcome::kOk) {
      EXPECT_EQ(result.value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(ConvertToInteger16Test, DigitsFarBeyondADoublesPrecisionStillCount) {
  // Four hundred zeros that an exponent takes back: a 1, not an overflow, and a half that a
  // one far behind it lifts.
  EXPECT_EQ(ConvertToInteger16("1" + std::string(400, '0') + "e-400", ".").value, 1);
  const Integer16Conversion lifted = ConvertToInteger16("0.5" + std::string(400, '0') + "1", ".");
  EXPECT_EQ(lifted.outcome, kOk);
  EXPECT_EQ(lifted.value, 1);
  EXPECT_EQ(ConvertToInteger16("1e-99999999999999999999", ".").value, 0);
  EXPECT_EQ(ConvertToInteger16("0." + std::string(400, '0') + "1e401", ".").value, 1);
}

}  // namespace
}  // namespace tolvar
