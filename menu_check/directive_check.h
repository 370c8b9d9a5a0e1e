// DirectiveCheck: each directive line of a menu file judged where it stands, as the menu will
// take it: a name it does not know, a value it ignores, a second one that overrides the first, a
// directive where nothing takes it. Keeps what each entry's directives give it, for the checks of
// the entry itself.
#ifndef TOLVAR_MENU_CHECK_DIRECTIVE_CHECK_H_
#define TOLVAR_MENU_CHECK_DIRECTIVE_CHECK_H_

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "menu_check/menu_check.h"
#include "menu_form/directive.h"

namespace tolvar {

// What an entry's directives give it, as the menu applies them, with the lines they stand on.
struct EntryDirectiveTexts {
  EntryDirectives given;  // its texts view `kept`
  std::deque<std::string> kept;
  int64_t description_line = 0;
  int64_t directory_line = 0;
  int64_t run_as_line = 0;
};

class DirectiveCheck {
 public:
  // The warning about `directive` in the words of what the menu does with it; empty when the menu
  // takes it as written. Records it for the report, and keeps what it gives its entry.
  std::string Check(const Directive& directive);

  // The directives of entry `index` (1-based), which stand above its caption; empty ones when it
  // has none. Valid until the next Check.
  const EntryDirectiveTexts& ForEntry(int index) const;

  // Every directive line read, in the order of the file.
  std::vector<DirectiveRecord> records;

 private:
  std::string Misplaced(const Directive& directive) const;
  // The first line of the same name in the same group (the menu's, or one entry's); 0 for none.
  int64_t Repeated(const Directive& directive);
  void Keep(const Directive& directive);

  DirectivePlace group_place_ = DirectivePlace::kAboveTitle;
  int group_entry_ = -1;
  std::vector<std::pair<DirectiveName, int64_t>> group_names_;
  int entry_ = 0;  // the entry `entry_directives_` belong to
  EntryDirectiveTexts entry_directives_;
  EntryDirectiveTexts none_;
};

// The known name nearest to `written` (a name the menu does not know), when it is near enough to
// be a slip: "argument" gives "arguments"; empty otherwise.
std::string NearestDirectiveName(const std::string& written);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_DIRECTIVE_CHECK_H_
