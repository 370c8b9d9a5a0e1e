// MenuFindings: where the checks of one menu file put what they find. A comment line read as a
// field shifts every field below it one line off; what the checks would say of those follows from
// that one line, so from then on warnings and notes are left out and errors stay. Texts with
// characters that show nothing are named a bounded number of times and then counted.
#ifndef TOLVAR_MENU_CHECK_CHECKS_MENU_FINDINGS_H_
#define TOLVAR_MENU_CHECK_CHECKS_MENU_FINDINGS_H_

#include <cstdint>
#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

class MenuFindings {
 public:
  explicit MenuFindings(CheckReport& report) : report_(report) {}

  void Error(int64_t line, std::string message);
  void Warn(int64_t line, std::string message);
  void Note(int64_t line, std::string message);

  // `what` holding `text`: a warning naming the characters in it that show nothing but change how
  // it reads. After kMostFindingsOfAKind of these, the rest are counted, as the directives' are.
  void WarnOfInvisibleCharacters(const std::string& what, const std::string& text, int64_t line);
  // After the last text: "and N more" for those counted rather than named.
  void CountInvisibleCharacters();

  // Every field below this line is read one line off.
  void Shift() { shifted_ = true; }
  bool shifted() const { return shifted_; }

  CheckReport& report() { return report_; }

 private:
  CheckReport& report_;
  bool shifted_ = false;
  int64_t invisible_found_ = 0;
  int64_t first_invisible_unnamed_ = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_MENU_FINDINGS_H_
