// Looks behind a path from the menu file that the menu cannot use, or can use on one platform only,
// to tell the author where it leads after all: another letter case, a directory, a hidden file,
// blanks around it, arguments after it. It also answers what the checks need of a named file: is it
// there, is it a folder, may Linux run it, does it show as a picture. ViewProbe (view_probe.h)
// answers it from one system's view of the medium; tests answer it with a fake.
#ifndef TOLVAR_MENU_CHECK_MODEL_MEDIUM_PROBE_H_
#define TOLVAR_MENU_CHECK_MODEL_MEDIUM_PROBE_H_

#include <optional>
#include <string>

#include "menu_form/result.h"
#include "shared_routines/plain_program.h"

namespace tolvar {

class MediumProbe {
 public:
  virtual ~MediumProbe() = default;

  // The spelling on the medium of the regular file that relative path `written` names when letter
  // case is ignored, if it differs from `written`: Windows finds such a file, Linux does not. A
  // name spelled exactly so is preferred to one that differs in case. Empty when there is no such
  // file, when the spelling is the same, or when `written` is absolute (it then names no file of
  // the medium). Separators in the answer are the ones `written` uses.
  virtual std::string CaseVariant(const std::string& written) = 0;

  // For a `written` that CaseVariant answers: true when the Linux menu finds it too, because in
  // each folder one name alone matches a component missing as written (MatchCase's rule, over the
  // listings already read rather than a directory scan per path).
  virtual bool CaseVariantIsUnique(const std::string& written) = 0;

  // FileExists(`path`) as the menu answers it: an ordinary file.
  virtual bool Exists(const std::string& path) = 0;
  // Whether `path` names a folder of the medium, as the menu would start a program in it.
  virtual bool IsFolder(const std::string& path) = 0;

  // What Launch on Linux does with the existing file `path` when nobody may execute it: the
  // menu's rule over the file's first bytes (LaunchWithoutExecuteBit). Nothing when it may be
  // executed, or where the medium keeps no permissions.
  virtual std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string& path) = 0;

  // Whether the picture `path` shows in the window's picture area, as the window's loader answers.
  virtual Result CheckPicture(const std::string& path) = 0;
  // The picture file's bytes, within the picture budget; false when they cannot be read.
  virtual bool ReadPicture(const std::string& path, std::string* bytes) = 0;

  // True when `written` ends in blanks and names a file without them: Windows drops blanks at the
  // end of a file name, Linux keeps them.
  bool EndsInBlanksWindowsDrops(const std::string& written);

  // Why Exists(`written`) is false, in words for the author, e.g. "\"setup\" is a directory".
  std::string WhyNotFound(const std::string& written);

 protected:
  enum class Kind { kNothing, kFolder, kOther };
  // What `written` names, as written, when it names no ordinary file: kOther for a hidden, system
  // or special file.
  virtual Kind What(const std::string& written) = 0;
};

// "$Exit$" or " $null$": the line is meant as `keyword` but is not it, so the menu takes it as a
// path.
bool LooksLikeKeyword(const std::string& line, const std::string& keyword);

// For a `written` path that Windows finds spelled `variant` on the medium and the Linux menu does
// not: why not, as words that follow "spelled <variant> on the medium,". Either another name in
// its folder differs from it only in the case of A to Z too, or it differs in letters beyond A to
// Z, whose case only Windows ignores.
std::string WhyLinuxMisses(const std::string& written, const std::string& variant);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_MEDIUM_PROBE_H_
