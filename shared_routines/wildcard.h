// MatchesWildcard: the one rule by which a pattern in the last part of a path from the menu file
// matches a name, for the Linux menu and for the checker, so that both find the file the Windows
// menu's directory search finds.
#ifndef TOLVAR_SHARED_ROUTINES_WILDCARD_H_
#define TOLVAR_SHARED_ROUTINES_WILDCARD_H_

#include <string_view>

namespace tolvar {

// Whether the name `name` matches `pattern` by the rule of a Windows directory search for long
// names: '*' stands for any run of characters (none too), '?' for exactly one character (one UTF-8
// sequence; a byte that is no part of one counts alone). Every other character stands for itself:
// '[', ']' and '\' are no classes and no escapes, as on Windows. Letter case is ignored for A-Z
// alone, as the Linux menu ignores it in every name; Windows would also take U+00DC for U+00FC.
// Windows' quirks kept for old short names ("*.*" also matching a name without a dot, a '?' before
// a dot matching nothing) are not followed.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// Whether `name` holds '*' or '?', so that a lookup must scan its folder.
inline bool HoldsWildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_WILDCARD_H_
