// MediumProbe: the reasons a path names no ordinary file, in words for the author.
#include "menu_check/model/medium_probe.h"

#include <optional>

#include "menu_form/directive.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/windows_case.h"

namespace tolvar {

bool MediumProbe::EndsInBlanksWindowsDrops(const std::string& written) {
  const size_t last = written.find_last_not_of(' ');
  if (last == std::string::npos || last + 1 == written.size()) return false;
  const std::string kept = written.substr(0, last + 1);
  return Exists(kept) || !CaseVariant(kept).empty();
}

std::string MediumProbe::WhyNotFound(const std::string& written) {
  const std::string shown = QuotedText(written);
  if (TrimBlanks(written).empty()) return "the line holds only blanks";

  const Kind kind = What(written);
  if (kind == Kind::kFolder) return shown + " is a directory, not a file";
  if (kind != Kind::kNothing) {
    return shown + " is a hidden, system or special file, which the menu does not count as a file";
  }

  const std::string trimmed = TrimBlanks(written);
  if (trimmed != written && (Exists(trimmed) || !CaseVariant(trimmed).empty())) {
    return "the line has blanks before or after the path " + QuotedText(trimmed);
  }
  for (size_t blank = written.find(' '); blank != std::string::npos;
       blank = written.find(' ', blank + 1)) {
    const std::string program = written.substr(0, blank);
    if (Exists(program) || !CaseVariant(program).empty()) {
      return "the command carries arguments after the program " + QuotedText(program) +
             ", but the whole line is taken as the program's path: make the command " +
             QuotedText(program) + " and put the line " +
             QuotedText(DirectiveSpelling(DirectiveName::kArguments) + " " +
                        TrimBlanks(written.substr(blank + 1))) +
             " above the entry's caption";
    }
  }
  return "there is no file " + shown + " on the medium";
}

bool LooksLikeKeyword(const std::string& line, const std::string& keyword) {
  return line != keyword && AsciiFolded(TrimBlanks(line)) == keyword;
}

std::string WhyLinuxMisses(const std::string& written, const std::string& variant) {
  if (!EqualIgnoringAsciiCase(written, variant) &&
      FoldedAsWindows(written) == FoldedAsWindows(variant)) {
    return "a difference in the case of letters beyond A to Z, which only Windows "
           "ignores";
  }
  return "beside a name that differs from it only in letter case";
}

}  // namespace tolvar
