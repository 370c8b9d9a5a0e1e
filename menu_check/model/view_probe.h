// ViewProbe: what the menu file's checks ask of the medium, answered from one system's view of it
// (a folder or an ISO image), as that system's menu finds its files there. It looks behind a path
// the menu cannot use, or can use on one platform only, to tell the author where it leads after
// all: another letter case, a directory, a hidden file, blanks around it, arguments after it.
#ifndef TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_
#define TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "menu_check/model/medium_files.h"
#include "menu_check/model/medium_view.h"
#include "menu_form/directive.h"
#include "menu_form/result.h"
#include "shared_routines/plain_program.h"

namespace tolvar {

class ViewProbe {
 public:
  // `system`'s menu finds files in `view`: Linux's matching case where one name alone fits,
  // Windows' ignoring letter case as Windows does, beyond ASCII too.
  ViewProbe(const MediumView& view, System system) : view_(view), system_(system) {}

  // The spelling on the medium of the regular file that relative path `written` names when letter
  // case is ignored, if it differs from `written`: Windows finds such a file, Linux does not. A
  // name spelled exactly so is preferred to one that differs in case. Empty when there is no such
  // file, when the spelling is the same, or when `written` is absolute (it then names no file of
  // the medium). Separators in the answer are the ones `written` uses.
  std::string CaseVariant(const std::string& written);
  // For a `written` that CaseVariant answers: true when the Linux menu finds it too, because in
  // each folder one name alone matches a component missing as written.
  bool CaseVariantIsUnique(const std::string& written);
  // Whether this system's menu finds `path` as an ordinary file.
  bool Exists(const std::string& path);
  // Whether `written`, as this system's menu spells it on the medium, goes through a link that
  // leads out of the medium.
  bool LeadsOutside(const std::string& written);
  // Whether `path` names a folder of the medium, as the menu would start a program in it.
  bool IsFolder(const std::string& path);
  // What Launch on Linux does with the existing file `path` when nobody may execute it: the
  // menu's rule over the file's first bytes (LaunchWithoutExecuteBit). Nothing when it may be
  // executed, on Windows, or where the medium keeps no permissions.
  std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string& path);
  // Whether the picture `path` shows in the window's picture area, as the window's loader answers.
  Result CheckPicture(const std::string& path);
  // The picture file's bytes, within the picture budget; false when they cannot be read. A picture
  // is opened by its name: a pattern that Exists matches opens nothing (see OpenAsMenu).
  bool ReadPicture(const std::string& path, std::string* bytes);
  // For `path`, a pattern that Exists matches but that names no file to open: why the menu shows
  // no picture by it. Empty for any other path.
  std::string PatternNotOpened(const std::string& path);

  // True when `written` ends in blanks and names a file without them: Windows drops blanks at the
  // end of a file name, Linux keeps them.
  bool EndsInBlanksWindowsDrops(const std::string& written);
  // Why Exists(`written`) is false, in words for the author, e.g. "\"setup\" is a directory".
  std::string WhyNotFound(const std::string& written);

  // The bytes read of files the checks ask about, by path in the view: the first bytes of a
  // program, a picture whole up to one byte over the budget; and those that cannot be read, about
  // which the checks answer as though they were sound (their fault is a finding of its own).
  FileBytes contents;
  // The files asked about whose bytes are not in `contents`, with how many are wanted. The checks
  // answer as though such a file were sound; read the bytes and check again.
  const std::unordered_map<std::string, size_t>& missing() const { return missing_; }

 private:
  enum class Kind { kNothing, kFolder, kOther };
  // What `written` names, as written, when it names no ordinary file: kOther for a hidden, system
  // or special file.
  Kind What(const std::string& written);
  const MediumName* Find(const std::string& written) const;
  const std::string* Content(const std::string& path, size_t bytes);

  const MediumView& view_;
  const System system_;
  std::unordered_map<std::string, size_t> missing_;
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

#endif  // TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_
