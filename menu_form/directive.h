// Directives: the menu file's second edition. A comment line "'#name: value" gives the entry below
// it (or, above the title, the whole menu) one more property. A reader that knows only the first
// edition skips it as any comment, so a file with directives still opens there.
#ifndef TOLVAR_MENU_FORM_DIRECTIVE_H_
#define TOLVAR_MENU_FORM_DIRECTIVE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvar {

enum class DirectiveName {
  kUnknown,  // a well-formed name that this program does not know (a newer file's)
  // For the entry that follows.
  kDescription,
  kArguments,
  kSystem,
  kDirectory,
  kAfterLaunch,
  kRunAs,
  kIcon,
  kShowIf,
  // For the whole menu, above the title.
  kPrompt,
  kLaunchCaption,
  kQuitCaption,
  kNotFoundMessage,
  kCannotStartMessage,
  kNoProgramMessage,
  kMessageTitle,
  kDirection,
  kPictureDescription,
  kWindowIcon,
};

// Where a directive stands, which says what it belongs to.
enum class DirectivePlace {
  kAboveTitle,      // the menu's own
  kAboveEntries,    // between the title and the count: nothing it could belong to
  kEntry,           // the entry whose caption follows it (or whose caption it follows)
  kAfterLastEntry,  // below the last entry: nothing follows it
};

struct Directive {
  DirectiveName name = DirectiveName::kUnknown;
  std::string_view written_name;  // as written, e.g. "arguments"
  std::string_view value;         // the rest of the line after the colon and its blanks
  int64_t line = 0;
  DirectivePlace place = DirectivePlace::kAboveTitle;
  int entry = 0;  // the entry it belongs to (1-based) when place is kEntry; 0 otherwise
  // A comment written almost as a directive ("'#ARGUMENTS:", "' #arguments:"), which the menu
  // takes as the comment it is; told for the checker's sake.
  bool comment = false;
};

// The longest name a directive can have: a line that does not show "'#name:" within its first
// bytes is a comment, whatever follows.
inline constexpr size_t kLongestDirectiveName = 40;
// How many bytes of a line tell whether it is a directive: "'#", the name and the colon.
inline constexpr size_t kDirectivePrefix = kLongestDirectiveName + 3;

// True when `start` (a line's first bytes, at least kDirectivePrefix of them when the line is
// that long) begins as a directive: an apostrophe, '#', a name of lower-case ASCII letters and
// hyphens, and ':'. "'# heading" and "'####" stay comments.
bool BeginsDirective(std::string_view start);

// The name of a comment written almost as a directive: "'", blanks, "#", blanks, a name of ASCII
// letters (any case) and hyphens, blanks and ':', but not BeginsDirective. Empty for any other
// line.
std::string_view NearDirectiveName(std::string_view start);

// The directive on `line` (a whole line that BeginsDirective), its place left to the reader.
Directive ParseDirective(std::string_view line);

// The name's kind, kUnknown for a name this program does not know.
DirectiveName FindDirectiveName(std::string_view name);
// The name as written in a file ("after-launch"); "" for kUnknown.
std::string_view DirectiveNameText(DirectiveName name);
// The directive's start as an author writes it, for messages: "'#after-launch:".
std::string DirectiveSpelling(std::string_view name);
inline std::string DirectiveSpelling(DirectiveName name) {
  return DirectiveSpelling(DirectiveNameText(name));
}
// Whether the directive belongs above the title (the menu's) rather than to an entry.
bool IsMenuDirective(DirectiveName name);

// The values a directive with a fixed set of them takes, e.g. "windows" and "linux" for system;
// empty for free text. A value outside the set leaves the directive without effect.
std::vector<std::string_view> AllowedDirectiveValues(DirectiveName name);
// Whether `value` is one the directive takes (always, for free text).
bool DirectiveValueAllowed(DirectiveName name, std::string_view value);

// The systems an entry can be for.
enum class System { kWindows, kLinux };

// What the directives above one entry give it; each as the last directive of its name said.
struct EntryDirectives {
  std::string_view Description;
  std::string_view Arguments;
  std::string_view Directory;    // a folder of the medium, written as a command's path is
  std::optional<System> OnlyOn;  // listed only on this system
  std::string_view Icon;         // a picture file shown left of the caption
  // Its "'#show-if:" conditions, one per line, joined by '\n': listed only where all hold.
  std::string_view ShowIf;
  bool CloseAfterLaunch = false;
  bool RunAsAdministrator = false;

  bool empty() const;
};

// What the directives above the title give the whole menu; empty texts where the program's own
// stay.
struct MenuTexts {
  std::string_view Prompt;
  std::string_view LaunchCaption;
  std::string_view QuitCaption;
  std::string_view NotFoundMessage;
  std::string_view CannotStartMessage;
  std::string_view NoProgramMessage;
  std::string_view MessageTitle;
  std::string_view PictureDescription;
  std::string_view WindowIcon;  // a picture file for the title bar and task bar
  bool RightToLeft = false;
};

// One directive: its name, where it may stand, the values it takes and what it sets. The table
// of them is the whole of what the program knows about directives; a new one is a new row.
struct DirectiveRow {
  DirectiveName name;
  std::string_view text;  // as written in a file
  bool for_menu;          // above the title, for the whole menu; else for the entry below it
  std::vector<std::string_view> values;  // the values it takes; empty for free text
  // At most this many characters of a free text are kept (0: all): shaping a text costs time that
  // grows with the square of its longest cluster, so a letter with thousands of combining marks
  // on a button or in a message box would freeze the window.
  size_t longest_shown;
  // A menu text left empty would leave a blank button or message: the line is ignored then, and
  // the program's own text stays.
  bool empty_ignored;
  // Exactly one is set, after the row's kind.
  void (*set_menu)(MenuTexts& texts, std::string_view value);
  void (*set_entry)(EntryDirectives& entry, std::string_view value);
  // Every line of the name counts, not the last alone ("'#show-if:" lines must all hold); the
  // values are kept joined by '\n', at most kMostLinesKept of them.
  bool every_line_counts = false;
};

// How many lines of a name whose every line counts are kept for one entry; the menu ignores the
// rest, so that a file of millions of them costs bounded memory.
inline constexpr size_t kMostLinesKept = 32;

// The row of a known name; null for kUnknown.
const DirectiveRow* FindDirectiveRow(DirectiveName name);
// Every row, in the order the guide lists them.
const std::vector<DirectiveRow>& DirectiveRows();

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_DIRECTIVE_H_
