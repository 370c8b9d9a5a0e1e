// QuotedText: cutting and escaping text from a medium for messages.
#include "shared_routines/quoted_text.h"

#include "shared_routines/text_decode.h"

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
  std::string out = "\"";
  size_t i = 0;
  while (i < text.size()) {
    char32_t code;
    size_t length = Utf8SequenceAt(text, i, &code);
    if (length == 0) {  // a byte that is no UTF-8: a raw C1 byte is a control on some terminals
      length = 1;
      code = static_cast<unsigned char>(text[i]);
    }
    if (i + length > longest) break;  // cut only between whole characters
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      AppendEscaped(code, &out);
    } else {
      out.append(text, i, length);
    }
    i += length;
  }
  if (i < text.size()) out += "...";
  return out + "\"";
}

}  // namespace tolvar
