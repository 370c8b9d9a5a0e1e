// MatchesWildcard in plain C++: mingw has no fnmatch, and fnmatch's bracket classes, escapes and
// locale-dependent case folding are not what Windows does.
#include "shared_routines/wildcard.h"

#include <cstddef>

namespace tolvar {
namespace {

char FoldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContinuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

// One pass with backtracking to the last '*' only: a '*' can always take over what an earlier one
// would have taken, so the work stays within pattern length times name length, whatever a medium's
// author writes. A '*' in the pattern is always a wildcard, even where the name (on Linux) holds a
// '*' itself.
bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  constexpr size_t kNoStar = std::string_view::npos;
  size_t p = 0, n = 0, star = kNoStar, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      // One character, as Windows counts them: "?ber" finds "\u00fcber", whose first letter is two
      // bytes in UTF-8.
      ++p;
      ++n;
      while (n < name.size() && ContinuesCharacter(name[n])) ++n;
    } else if (p < pattern.size() && FoldedAscii(pattern[p]) == FoldedAscii(name[n])) {
      ++p;
      ++n;
    } else if (star != kNoStar) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace tolvar
