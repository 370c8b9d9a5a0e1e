// DirectiveCheck: the verdicts of the menu's DirectiveInterpreter on each directive line, worded
// for the author: a name it does not know, a value it ignores, a second one that overrides the
// first, a directive where nothing takes it, a text cut short. It judges nothing itself. A file of
// millions of such lines costs bounded memory: each kind of finding is named a few times and then
// counted, and the lines listed for the JSON report are bounded.
#ifndef TOLVAR_MENU_CHECK_CHECKS_DIRECTIVE_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_DIRECTIVE_CHECK_H_

#include <cstdint>
#include <string>
#include <vector>

#include "menu_check/menu_check.h"
#include "menu_form/directive.h"
#include "menu_form/directive_interpreter.h"

namespace tolvar {

// What an entry's directives give it, as the menu applies them, with the lines they stand on.
struct EntryDirectiveTexts {
  EntryDirectives given;  // its texts view the interpreter's storage
  int64_t description_line = 0;
  int64_t arguments_line = 0;
  int64_t directory_line = 0;
  int64_t run_as_line = 0;
  int64_t icon_line = 0;
};

// How many findings of one kind are named before the rest are only counted.
inline constexpr int kMostFindingsOfAKind = 20;
// How many directive lines the report lists, and how many bytes of each value.
inline constexpr size_t kMostDirectiveRecords = 10000;
inline constexpr size_t kLongestRecordedValue = 4096;
// The kinds of finding counted apart: each verdict but kTaken, and a line that overrides another.
inline constexpr size_t kDirectiveFindingKinds =
    static_cast<size_t>(DirectiveVerdict::kBeyondLinesKept) + 2;

class DirectiveCheck {
 public:
  // The warning about `directive` in the words of what the menu does with it; empty when the menu
  // takes it as written, or when enough of its kind were named already. Records it for the report.
  std::string Check(const Directive& directive);

  // The directives of entry `index` (1-based), which stand above its caption; empty ones when it
  // has none. Valid until the next Check.
  const EntryDirectiveTexts& ForEntry(int index);

  // After the last Check: "and N more of these" for each kind of finding that was counted rather
  // than named, and a note when the records were cut.
  std::vector<Finding> Summaries() const;

  // Every directive line read, in the order of the file, up to kMostDirectiveRecords.
  std::vector<DirectiveRecord> records;

 private:
  // Lists `directive` for the report, while the list has room.
  void Record(const Directive& directive);
  // The warning for `directive` judged `judgement`, with the known name `nearest` to an unknown
  // one (empty for none).
  std::string Words(const Directive& directive, const DirectiveJudgement& judgement,
                    std::string_view nearest) const;
  std::string Misplaced(const Directive& directive) const;

  DirectiveInterpreter interpreter_;
  EntryDirectiveTexts entry_;
  // Per kind of finding (the verdict, with overrides as one more): how many were found, and the
  // line of the first left unnamed.
  struct KindCount {
    int64_t found = 0;
    int64_t first_unnamed_line = 0;
  };
  KindCount counts_[kDirectiveFindingKinds];
  int64_t records_left_out_ = 0;
  int64_t first_left_out_line_ = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_DIRECTIVE_CHECK_H_
