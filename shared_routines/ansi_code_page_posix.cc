// POSIX body of AnsiToUtf8: there is no system ANSI code page, so Windows-1252, the code page that
// media written on Western Windows systems use, is decoded with a table.
#include <cstdint>

#include "shared_routines/ansi_code_page.h"
#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

// 0x80..0x9F of Windows-1252; the five bytes it leaves undefined map to the C1 controls, as Windows
// itself maps them.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string AnsiToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte, &text);
  }
  return text;
}

}  // namespace tolvar
