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
// and count neither as errors nor as warnings.
std::string FormatText(const CheckReport& report, const std::string& file,
                       const std::string& root = "");

// One JSON object: file, checked, entries, errors, warnings, exit_status, findings (each with
// line, null for the file as a whole, severity, message, and file when it is not the menu file)
// and directives (each directive line with line, place: above-title, above-entries, entry or
// after-last-entry, entry, null for none, and name and value as written).
std::string FormatJson(const CheckReport& report, const std::string& file,
                       const std::string& root = "");

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_REPORT_REPORT_FORMAT_H_
