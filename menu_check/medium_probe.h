// Looks behind a path from the menu file that the menu cannot use, or can use on one platform only,
// to tell the author where it leads after all: another letter case, a directory, a hidden file,
// blanks around it, arguments after it. It only reads the medium.
#ifndef TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_
#define TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_

#include <string>

#include "shared_routines/directory_lister.h"

namespace tolvar {

class MediumProbe {
 public:
  // The spelling on the medium of the regular file that relative path `written` names when letter
  // case is ignored, if it differs from `written`: Windows finds such a file, Linux does not. A
  // name spelled exactly so is preferred to one that differs in case. Empty when there is no such
  // file, when the spelling is the same, or when `written` is absolute (it then names no file of
  // the medium). Separators in the answer are the ones `written` uses.
  std::string CaseVariant(const std::string& written);

  // For a `written` that CaseVariant answers: true when the Linux menu finds it too, because in
  // each folder one name alone matches a component missing as written (MatchCase's rule, over the
  // listings already read rather than a directory scan per path).
  bool CaseVariantIsUnique(const std::string& written);

  // True when `written` ends in blanks and names a file without them: Windows drops blanks at the
  // end of a file name, Linux keeps them.
  bool EndsInBlanksWindowsDrops(const std::string& written);

  // Why FileExists(`written`) is false, in words for the author, e.g. "\"setup\" is a directory".
  std::string WhyNotFound(const std::string& written);

 private:
  // Each directory read once: a menu of thousands of entries in one directory must not scan it
  // once per entry.
  DiskDirectories directories_{DiskDirectories::Spelling::kExact};
};

// "$Exit$" or " $null$": the line is meant as `keyword` but is not it, so the menu takes it as a
// path.
bool LooksLikeKeyword(const std::string& line, const std::string& keyword);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_
