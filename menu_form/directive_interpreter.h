// DirectiveInterpreter: the one judge of directive lines, for the menu and the checker alike. It
// takes each line as the reader tells it, keeps what the menu uses (the menu's texts, and the
// directives of the entry being read, only the last of each name), and says of every line what
// became of it: taken, cut, or ignored and why. The menu uses the values; the checker words the
// verdicts, and judges nothing itself.
#ifndef TOLVAR_MENU_FORM_DIRECTIVE_INTERPRETER_H_
#define TOLVAR_MENU_FORM_DIRECTIVE_INTERPRETER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menu_form/directive.h"

namespace tolvar {

// What became of a directive line.
enum class DirectiveVerdict {
  kTaken,  // used as written (it may override an earlier line of its name)
  kCut,    // used, but only its first characters: the rest would freeze the window
  // For these two, NearestDirectiveName gives the known name that may have been meant: asked
  // only by who words the verdict, since the menu passes over millions of such lines.
  kUnknownName,      // a name the menu does not know: a comment to it
  kComment,          // written almost as a directive ("'#ARGUMENTS:"): a comment to the menu
  kMisplaced,        // where nothing takes it (see its place, and IsMenuDirective)
  kValueNotAllowed,  // a value outside the directive's set
  kEmptyValue,       // a menu text left empty: the program's own text stays
  kBeyondLinesKept,  // one line too many of a name whose every line counts (kMostLinesKept)
};

struct DirectiveJudgement {
  DirectiveVerdict verdict = DirectiveVerdict::kTaken;
  // kTaken and kCut: the first line of the same name for the same entry (or the menu), which this
  // one overrides; 0 when it is the first.
  int64_t first_line = 0;
  // kCut: how many characters are kept.
  size_t kept_characters = 0;
};

class DirectiveInterpreter {
 public:
  // Judges `directive` (one the reader told, in the order of the file) and keeps what it gives.
  DirectiveJudgement Take(const Directive& directive);

  // The menu's texts, as the directives above the title gave them. The texts view the
  // interpreter's storage: valid until the next Take.
  MenuTexts Menu() const;

  // What the directives of entry `index` (1-based) give it, once its caption and command are
  // read: empty when it has none. The texts are valid until the next Take.
  EntryDirectives ForEntry(int index) const;
  // The line that gave entry `index` its `name`; 0 when none did.
  int64_t EntryLine(int index, DirectiveName name) const;

  // The bytes of the values kept now, the menu's and the current entry's.
  size_t KeptBytes() const;

 private:
  // The last value of each name in one group (the menu's, or one entry's), by row.
  struct Group {
    std::vector<std::string> values;
    std::vector<int64_t> lines;        // of the value kept, 0 for none
    std::vector<int64_t> first_lines;  // of the first line of the name
  };
  static void Reset(Group& group);
  DirectiveJudgement Keep(Group& group, const DirectiveRow& row, size_t index,
                          const Directive& directive);

  Group menu_;
  Group entry_;
  int entry_index_ = 0;  // the entry `entry_` belongs to
};

// The known name nearest to `written` (a name the menu does not know), when it is near enough to
// be a slip: "argument" gives "arguments", "ARGUMENTS" too; empty otherwise.
std::string_view NearestDirectiveName(std::string_view written);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_DIRECTIVE_INTERPRETER_H_
