// CheckMenu: reads a medium's menu file exactly as the menu does, with the menu's own reading code,
// and lists everything that would stop the menu from opening or make a Launch go wrong, all at
// once. It never starts a program and never writes anything.
#ifndef TOLVAR_MENU_CHECK_MENU_CHECK_H_
#define TOLVAR_MENU_CHECK_MENU_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "menu_form/directive.h"
#include "menu_form/show_if.h"

namespace tolvar {

// A note says what a system will do, for the author to know; it counts for nothing.
enum class Severity { kWarning, kError, kNote };

struct Finding {
  int64_t line = 0;  // 1-based; 0 for the file as a whole
  Severity severity = Severity::kWarning;
  std::string message;
  // The file it is about, relative to the medium's root with '/' separators; empty for the menu
  // file.
  std::string file = {};
};

// The systems a medium is checked for: --target windows|linux|all, or one machine
// (--target=windows-x64): its system, and its architecture alone.
struct Targets {
  constexpr Targets(bool windows = true, bool linux = true)  // NOLINT: {true, false} reads well
      : for_windows(windows), for_linux(linux) {}
  bool for_windows;
  bool for_linux;
  std::optional<Architecture> architecture;
};

// A directive line of the menu file, as written, for tools that read the report.
struct DirectiveRecord {
  int64_t line = 0;
  int entry = 0;  // the entry it belongs to, 0 for none
  DirectivePlace place = DirectivePlace::kAboveTitle;
  std::string name;
  std::string value;
  // The menu file it stands in, as Finding::file names it: empty for menu/config.mnu.
  std::string file = {};
};

// The words an entry's '#arguments: gives its program, as the menu splits the line on Linux, for
// tools and for the authors who ask to see them.
struct EntryWords {
  int64_t line = 0;  // the '#arguments: line's
  int entry = 0;
  std::vector<std::string> words;
  std::string file = {};  // as DirectiveRecord::file
};

// What Launch does with an entry, for comparing the menu files of one medium.
struct EntryRecord {
  int64_t line = 0;  // the caption's
  std::string command;
  std::string arguments;
  std::optional<System> only_on;
};

// Where an entry with "'#show-if:" lines shows, for tools that read the report.
struct ShowIfPlace {
  std::string machine;                // "windows-x64"
  std::vector<std::string> releases;  // the Windows releases it shows on; empty for all of them
};
struct ShowIfRecord {
  int entry = 0;
  int64_t line = 0;                 // the caption's
  std::vector<ShowIfPlace> places;  // the machines checked for where it may show; empty: none
  std::vector<std::string> when;    // what only the machine answers: "exists %ProgramFiles%\X"
};

struct CheckReport {
  // False when the menu file could not be read at all: missing, or not readable.
  bool checked = true;
  // True when the ISO image to check cannot be read at all.
  bool image_unreadable = false;
  // The menu file as found, relative to the medium's root, with native separators.
  std::string file;
  // The entry count, when it was readable.
  int entries = 0;
  // An indented comment was read as a field: every field below it is read one line off.
  bool fields_shifted = false;
  std::vector<Finding> findings;            // in line order
  std::vector<DirectiveRecord> directives;  // in line order
  std::vector<EntryRecord> entry_records;   // one per entry read, in the file's order
  std::vector<ShowIfRecord> show_if;        // one per entry with "'#show-if:" lines
  // Of every entry with arguments, in the order of the files and lines, as many as the directive
  // lines listed (kMostDirectiveRecords), each line of at most kLongestRecordedValue bytes.
  std::vector<EntryWords> words;

  int Count(Severity severity) const;
  // 0 clean, 1 warnings only, 2 at least one error, 3 the menu file cannot be read, 4 the image
  // cannot be read.
  int ExitStatus() const;
};

// Checks the menu files (menu\config.mnu and those for other languages) of the medium whose root
// is the current directory, as CheckMedium does, without the rest of the medium. A count written
// with a fraction is read with `decimal_separator`, as the menu reads it (UserDecimalSeparator()).
// Warnings about what only Linux does are left out when `targets` leaves Linux out.
CheckReport CheckMenu(const std::string& decimal_separator, const Targets& targets = {});

class ViewProbe;
class TextInput;

// Checks the menu file open in `file`, with `probe` answering what the medium holds, into `report`,
// for the systems in `targets`; the captions' widths, which hang on the text alone, for those in
// `widths` (all that the whole check is for, when `targets` is one system's side of it).
void CheckMenuText(TextInput& file, ViewProbe& probe, const std::string& decimal_separator,
                   const Targets& targets, const Targets& widths, CheckReport* report);

// The warning for a menu file found as `variant`, spelled otherwise than menu/config.mnu;
// `found` when the Linux menu finds it all the same.
std::string MenuFileSpelling(const std::string& variant, bool found);

// The report for a medium whose root cannot be entered; `reason` in the system's words.
CheckReport UnreadableMedium(const std::string& reason);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MENU_CHECK_H_
