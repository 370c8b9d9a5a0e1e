// Portable part of the text decoding: UTF-8 validation and repair, and the choice per line.
#include "shared_routines/text_decode.h"

#include "shared_routines/ansi_code_page.h"

namespace tolvar {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

size_t Utf8SequenceAt(std::string_view bytes, size_t i, char32_t* code) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    *code = lead;
    return 1;
  }
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  char32_t value = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  *code = value;
  return length;
}

// Written without an early exit so that the compiler can test many bytes at once: nearly every
// line of a menu file is plain ASCII.
bool IsAscii(std::string_view bytes) {
  unsigned char all = 0;
  for (const char c : bytes) all |= static_cast<unsigned char>(c);
  return all < 0x80;
}

void AppendUtf8(char32_t code, std::string* text) {
  if (code < 0x80) {
    *text += static_cast<char>(code);
  } else if (code < 0x800) {
    *text += static_cast<char>(0xC0 | (code >> 6));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *text += static_cast<char>(0xE0 | (code >> 12));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *text += static_cast<char>(0xF0 | (code >> 18));
    *text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return true;
  char32_t code;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8SequenceAt(bytes, i, &code);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string Utf8Lossy(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  char32_t code;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8SequenceAt(bytes, i, &code);
    if (length == 0) {
      text += kReplacement;
      ++i;
    } else {
      text.append(bytes.substr(i, length));
      i += length;
    }
  }
  return text;
}

std::string_view DecodeLine(std::string_view bytes, bool marked_utf8, std::string* storage) {
  if (IsValidUtf8(bytes)) return bytes;
  *storage = marked_utf8 ? Utf8Lossy(bytes) : AnsiToUtf8(bytes);
  return *storage;
}

}  // namespace tolvar
