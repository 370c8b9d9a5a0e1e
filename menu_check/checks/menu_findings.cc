// MenuFindings: the findings of one menu file, with what follows from a shifted field left out.
#include "menu_check/checks/menu_findings.h"

#include "menu_check/checks/directive_check.h"
#include "menu_check/checks/invisible_characters.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {

void MenuFindings::Error(int64_t line, std::string message) {
  report_.findings.push_back({line, Severity::kError, std::move(message)});
}

void MenuFindings::Warn(int64_t line, std::string message) {
  if (!shifted_) report_.findings.push_back({line, Severity::kWarning, std::move(message)});
}

void MenuFindings::Note(int64_t line, std::string message) {
  if (!shifted_) report_.findings.push_back({line, Severity::kNote, std::move(message)});
}

void MenuFindings::WarnOfInvisibleCharacters(const std::string& what, const std::string& text,
                                             int64_t line) {
  const std::string hidden = InvisibleCharacters(text);
  if (hidden.empty() || shifted_) return;
  if (++invisible_found_ > kMostFindingsOfAKind) {
    if (first_invisible_unnamed_ == 0) first_invisible_unnamed_ = line;
    return;
  }
  Warn(line, what + " " + QuotedText(text) +
                 " holds characters that show nothing but change how it reads: " + hidden);
}

void MenuFindings::CountInvisibleCharacters() {
  if (invisible_found_ <= kMostFindingsOfAKind) return;
  Warn(first_invisible_unnamed_,
       "and " + std::to_string(invisible_found_ - kMostFindingsOfAKind) +
           " more texts with characters that show nothing, from this line on: the checker "
           "names only the first " +
           std::to_string(kMostFindingsOfAKind));
}

}  // namespace tolvar
