// WindowsUpper and FoldedAsWindows: the simple upper-case mappings of the scripts people write
// names in, as ranges. Where a block alternates upper and lower case, `odd_lower` says which of
// each pair is the lower-case one.
#include "shared_routines/windows_case.h"

#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

struct Offset {
  char32_t first, last;
  char32_t minus;  // what upper case is below lower case
};
constexpr Offset kOffsets[] = {
    {0xE0, 0xF6, 0x20},   {0xF8, 0xFE, 0x20},     {0x3AD, 0x3AF, 0x25}, {0x3B1, 0x3C1, 0x20},
    {0x3C3, 0x3CB, 0x20}, {0x3CD, 0x3CE, 0x3F},   {0x430, 0x44F, 0x20}, {0x450, 0x45F, 0x50},
    {0x561, 0x586, 0x30}, {0xFF41, 0xFF5A, 0x20},
};

struct Pairs {
  char32_t first, last;
  bool odd_lower;
};
constexpr Pairs kPairs[] = {
    {0x100, 0x12F, true},  {0x132, 0x137, true},   {0x139, 0x148, false},  {0x14A, 0x177, true},
    {0x179, 0x17E, false}, {0x460, 0x481, true},   {0x48A, 0x4BF, true},   {0x4C1, 0x4CE, false},
    {0x4D0, 0x52F, true},  {0x1E00, 0x1E95, true}, {0x1EA0, 0x1EFF, true},
};

}  // namespace

char32_t WindowsUpper(char32_t code) {
  if (code < 0x80) return code >= U'a' && code <= U'z' ? code - 0x20 : code;
  for (const Offset& range : kOffsets) {
    if (code >= range.first && code <= range.last) return code - range.minus;
  }
  for (const Pairs& range : kPairs) {
    if (code >= range.first && code <= range.last && ((code & 1) != 0) == range.odd_lower) {
      return code - 1;
    }
  }
  switch (code) {
    case 0xFF:
      return 0x178;  // ÿ
    case 0x3AC:
      return 0x386;  // ά
    case 0x3C2:
      return 0x3A3;  // final sigma
    case 0x3CC:
      return 0x38C;  // ό
    case 0x4CF:
      return 0x4C0;  // palochka
    default:
      return code;
  }
}

std::string FoldedAsWindows(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    char32_t code;
    const size_t length = Utf8SequenceAt(name, i, &code);
    if (length == 0) {  // not UTF-8: the byte as it is
      folded += name[i++];
      continue;
    }
    if (length == 1) {
      folded += static_cast<char>(WindowsUpper(code));
    } else {
      AppendUtf8(WindowsUpper(code), &folded);
    }
    i += length;
  }
  return folded;
}

}  // namespace tolvar
