// InvisibleCharacters: the characters by their Unicode names, for the author to find them.
#include "menu_check/checks/invisible_characters.h"

#include <cstdio>

#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

const char* InvisibleName(char32_t code) {
  switch (code) {
    case 0x00AD:
      return "soft hyphen";
    case 0x034F:
      return "combining grapheme joiner";
    case 0x061C:
      return "Arabic letter mark";
    case 0x115F:
    case 0x1160:
    case 0x3164:
    case 0xFFA0:
      return "Hangul filler";
    case 0x180E:
      return "Mongolian vowel separator";
    case 0x200B:
      return "zero-width space";
    case 0x200C:
      return "zero-width non-joiner";
    case 0x200D:
      return "zero-width joiner";
    case 0x200E:
      return "left-to-right mark";
    case 0x200F:
      return "right-to-left mark";
    case 0x202A:
      return "left-to-right embedding";
    case 0x202B:
      return "right-to-left embedding";
    case 0x202C:
      return "pop directional formatting";
    case 0x202D:
      return "left-to-right override";
    case 0x202E:
      return "right-to-left override";
    case 0x2028:
      return "line separator";
    case 0x2029:
      return "paragraph separator";
    case 0x2060:
      return "word joiner";
    case 0x2061:
    case 0x2062:
    case 0x2063:
    case 0x2064:
      return "invisible operator";
    case 0x2066:
      return "left-to-right isolate";
    case 0x2067:
      return "right-to-left isolate";
    case 0x2068:
      return "first strong isolate";
    case 0x2069:
      return "pop directional isolate";
    case 0x2800:
      return "braille pattern blank";
    case 0xFEFF:
      return "zero-width no-break space";
    default:
      // Tag characters spell hidden text after a visible one; only flags are meant to use them.
      return code >= 0xE0000 && code <= 0xE007F ? "tag character" : nullptr;
  }
}

}  // namespace

bool ReordersOrBreaksLines(char32_t code) {
  return code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069) || code == 0x2028 || code == 0x2029;
}

std::string InvisibleCharacters(const std::string& text) {
  std::string found;
  int position = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const size_t length = Utf8SequenceAt(text, i, &code);
    ++position;
    if (const char* name = length > 0 ? InvisibleName(code) : nullptr) {
      char number[8];
      std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(code));
      found += std::string(found.empty() ? "" : ", ") + "U+" + number + " (" + name +
               ") at character " + std::to_string(position);
    }
    i += length > 0 ? length : 1;
  }
  return found;
}

}  // namespace tolvar
