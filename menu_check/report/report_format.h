// The checker's report as people and editors read it (one "file:line: severity: text" line per
// finding, then a summary), and as JSON for tools.
#ifndef TOLVAR_MENU_CHECK_REPORT_REPORT_FORMAT_H_
#define TOLVAR_MENU_CHECK_REPORT_REPORT_FORMAT_H_

#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

// `file` is the menu file's path as the reader of the report should open it, e.g.
// "examples/menu/config.mnu"; findings about other files of the medium name them below `root`,
// the medium's root as given ("" for the current directory). Notes come out as "note:" lines
// and count neither as errors nor as warnings. With `show_words`, each entry's arguments follow
// as "FILE:LINE: words: entry N: "word" "word"" lines, split as the menu splits them.
std::string FormatText(const CheckReport& report, const std::string& file,
                       const std::string& root = "", bool show_words = false);

// One JSON object: file, checked, entries, errors, warnings, exit_status, findings (each with
// file, line, null for the file as a whole, severity and message) and directives (each directive
// line of every menu file with file, line, place: above-title, above-entries, entry or
// after-last-entry, entry, null for none, and name and value as written) and words (each entry
// with arguments: file, line of its '#arguments:, entry, and words, the list of words the menu
// splits them into). Paths have the separators of the system the checker runs on.
std::string FormatJson(const CheckReport& report, const std::string& file,
                       const std::string& root = "");

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_REPORT_REPORT_FORMAT_H_
