// MatchCase: finds the file a path from the menu file means on a medium written for Windows, whose
// file names ignore letter case, so that the menu finds on Linux what it finds on Windows.
#ifndef TOLVAR_SHARED_ROUTINES_CASE_MATCH_H_
#define TOLVAR_SHARED_ROUTINES_CASE_MATCH_H_

#include <optional>
#include <string>

#include "shared_routines/directory_lister.h"

namespace tolvar {

// Takes a native path (NativePath's answer) and returns the path to open. When `native` names
// something with its exact letter case, or on Windows, whose file system ignores case anyway, that
// is `native` itself. Otherwise each component that does not exist as written is replaced by the
// one entry of its directory whose name equals it when ASCII letter case is ignored. When no entry
// or more than one entry matches a component, nothing is guessed: `native` comes back unchanged
// and names nothing, as before. Never fails; reads directories only where a name is missing.
std::string MatchCase(const std::string& native);

// What a component missing as written matches in its directory.
enum class CaseRule {
  kOnlyMatch,  // the one name that differs from it only in ASCII case; of two, neither (MatchCase)
  // The first name listed that differs from it only in letter case as Windows ignores it, beyond
  // ASCII too (Windows, whose folders hold no two such names).
  kFirstMatch,
};

// The walk behind MatchCase, over any directory listing: `path` ('/' between components) when it
// exists as written; otherwise the path as Windows reads it ("." dropped, and each name followed by
// ".." dropped with it), with each component that is missing as written replaced under `rule`.
// Empty components and a leading ".." stay as they are. Nothing when a component matches no name.
// Lists only the directories where a name is missing, each once at most.
std::optional<std::string> FindIgnoringCase(const DirectoryLister& lister, const std::string& path,
                                            CaseRule rule);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_CASE_MATCH_H_
