// QuotedText: cutting and escaping text from a medium for messages.
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

void AppendEscaped(unsigned code, std::string* out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  *out += "\\x";
  *out += kHex[(code >> 4) & 0xF];
  *out += kHex[code & 0xF];
}

}  // namespace

std::string QuotedText(const std::string& text, size_t longest) {
  size_t cut = text.size();
  if (cut > longest) {
    cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8
  }
  std::string out = "\"";
  for (size_t i = 0; i < cut; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < cut ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7F) {
      AppendEscaped(byte, &out);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      AppendEscaped(next, &out);
      ++i;
    } else {
      out += static_cast<char>(byte);
    }
  }
  if (cut < text.size()) out += "...";
  return out + "\"";
}

}  // namespace tolvar
