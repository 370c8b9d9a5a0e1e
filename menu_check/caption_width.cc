// EstimatedCaptionWidth: widths by character class, in tenths of a pixel, from Segoe UI at 12
// pixels (9 points at 96 dots per inch).
#include "menu_check/caption_width.h"

#include <cstring>

namespace tolvar {
namespace {

int AsciiWidth(char c) {
  if (c == ' ' || std::strchr("ijlI!|.,:;'`", c) != nullptr) return 30;
  if (std::strchr("frt()[]{}-\"/\\", c) != nullptr) return 42;
  if (c == 'm' || c == 'w') return 98;
  if (c == 'M' || c == 'W') return 112;
  if (c >= 'a' && c <= 'z') return 62;
  if (c >= 'A' && c <= 'Z') return 78;
  if (c >= '0' && c <= '9') return 69;
  if (c == '@' || c == '%' || c == '&') return 100;
  return 62;
}

// Hangul, CJK ideographs and kana, full-width forms: one em.
bool IsEastAsianWide(char32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
         (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
         (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
         (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

}  // namespace

int EstimatedCaptionWidth(const std::string& caption) {
  int tenths = 0;
  for (size_t i = 0; i < caption.size();) {
    const unsigned char lead = static_cast<unsigned char>(caption[i]);
    if (lead < 0x80) {
      tenths += AsciiWidth(static_cast<char>(lead));
      ++i;
      continue;
    }
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t code = lead & (0xFF >> (length + 1));
    for (size_t k = 1; k < length && i + k < caption.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(caption[i + k]) & 0x3F);
    }
    // Combining marks sit on the letter before them and add nothing.
    const bool combining = code >= 0x300 && code <= 0x36F;
    if (!combining) tenths += IsEastAsianWide(code) ? 120 : 65;
    i += length;
  }
  return (tenths + 5) / 10;
}

}  // namespace tolvar
