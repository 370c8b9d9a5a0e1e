// Looks behind a path from the menu file that the menu cannot use, or can use on one platform only,
// to tell the author where it leads after all: another letter case, a directory, a hidden file,
// blanks around it, arguments after it. It only reads the medium.
#ifndef TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_
#define TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_

#include <map>
#include <string>
#include <vector>

namespace tolvar {

class MediumProbe {
 public:
  // The spelling on the medium of the regular file that relative path `written` names when letter
  // case is ignored, if it differs from `written`: Windows finds such a file, Linux does not. A
  // name spelled exactly so is preferred to one that differs in case. Empty when there is no such
  // file, when the spelling is the same, or when `written` is absolute (it then names no file of
  // the medium). Separators in the answer are the ones `written` uses.
  std::string CaseVariant(const std::string& written);

  // True when `written` ends in blanks and names a file without them: Windows drops blanks at the
  // end of a file name, Linux keeps them.
  bool EndsInBlanksWindowsDrops(const std::string& written);

  // Why FileExists(`written`) is false, in words for the author, e.g. "\"setup\" is a directory".
  std::string WhyNotFound(const std::string& written);

 private:
  // The names in `directory`, read once.
  const std::vector<std::string>& Listing(const std::string& directory);

  std::map<std::string, std::vector<std::string>> listings_;
};

// "$Exit$" or " $null$": the line is meant as `keyword` but is not it, so the menu takes it as a
// path.
bool LooksLikeKeyword(const std::string& line, const std::string& keyword);

// "\"text\"", with a long text cut short, so that a message stays readable.
std::string Quoted(const std::string& text);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MEDIUM_PROBE_H_
