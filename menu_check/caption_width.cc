// EstimatedCaptionWidth: widths by character class, in tenths of a pixel, from Segoe UI at 12
// pixels (9 points at 96 dots per inch).
#include "menu_check/caption_width.h"

#include <cstring>

#include "shared_routines/text_decode.h"

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
    char32_t code = 0xFFFD;
    const size_t length = Utf8SequenceAt(caption, i, &code);
    i += length > 0 ? length : 1;  // a byte that is no UTF-8 shows as U+FFFD
    if (code < 0x80) {
      tenths += AsciiWidth(static_cast<char>(code));
    } else if (code < 0x300 || code > 0x36F) {
      // Combining marks sit on the letter before them and add nothing.
      tenths += IsEastAsianWide(code) ? 120 : 65;
    }
  }
  return (tenths + 5) / 10;
}

}  // namespace tolvar
