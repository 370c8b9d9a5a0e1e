// AsciiFolded, EqualIgnoringAsciiCase and TrimBlanks.
#include "shared_routines/ascii_text.h"

namespace tolvar {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string AsciiFolded(std::string text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace tolvar
