// The language files among a menu folder's names, and the comparison with the plain menu file.
#include "menu_check/checks/language_check.h"

#include <algorithm>
#include <utility>

#include "menu_check/checks/show_if_check.h"
#include "menu_check/checks/system_fit_check.h"
#include "menu_form/language_files.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

std::string SystemName(const std::optional<System>& system) {
  if (!system) return "both systems";
  return *system == System::kWindows ? "Windows only" : "Linux only";
}

// Where entry `entry` (1-based) of `report` is listed as its "'#show-if:" lines say.
std::string ListedWhere(const CheckReport& report, int entry) {
  for (const ShowIfRecord& record : report.show_if) {
    if (record.entry == entry) return PlacesOf(record);
  }
  return "on every machine";
}

// Whether an entry for `only_on` is listed on `system`.
bool ListedOn(const std::optional<System>& only_on, System system) {
  return !only_on.has_value() || *only_on == system;
}

// Where `language` (checked from `file`) differs from `plain`, the plain file's report, on the
// systems in `targets`. Another program is a warning: the usual mistake is a menu changed in one
// language only. Other arguments, links and documents are notes: a language's own manual, web page
// or installer language is what a per-language menu is for.
void Compare(const CheckReport& plain, const CheckReport& language, const std::string& file,
             const Targets& targets, std::vector<Finding>* findings) {
  const auto add = [&](int64_t line, Severity severity, const std::string& message) {
    findings->push_back({line, severity, message, file});
  };
  const std::string other = QuotedText(plain.file);
  if (plain.entries != language.entries) {
    const auto entries = [](int count) {
      return std::to_string(count) + (count == 1 ? " entry" : " entries");
    };
    add(0, Severity::kWarning,
        "it has " + entries(language.entries) + ", " + other + " has " + entries(plain.entries) +
            ": was the menu changed in one language only?");
  }
  const size_t common = std::min(plain.entry_records.size(), language.entry_records.size());
  for (size_t i = 0; i < common; ++i) {
    const EntryRecord& ours = language.entry_records[i];
    const EntryRecord& theirs = plain.entry_records[i];
    const std::string entry = "entry " + std::to_string(i + 1) + ": ";
    const std::string where = " in " + other + " (line " + std::to_string(theirs.line) + ")";
    bool listed_apart = false;  // on a system checked, one file lists it and the other does not
    bool listed_in_both = false;
    for (const auto& [system, wanted] : {std::pair(System::kWindows, targets.for_windows),
                                         std::pair(System::kLinux, targets.for_linux)}) {
      if (!wanted) continue;
      const bool ours_listed = ListedOn(ours.only_on, system);
      const bool theirs_listed = ListedOn(theirs.only_on, system);
      listed_apart = listed_apart || ours_listed != theirs_listed;
      listed_in_both = listed_in_both || (ours_listed && theirs_listed);
    }
    if (listed_apart) {
      add(ours.line, Severity::kWarning,
          entry + "it is listed on " + SystemName(ours.only_on) + ", but on " +
              SystemName(theirs.only_on) + where);
    }
    if (!listed_in_both) continue;  // no user of a system checked sees both
    const int number = static_cast<int>(i) + 1;
    const std::string ours_where = ListedWhere(language, number);
    const std::string theirs_where = ListedWhere(plain, number);
    if (ours_where != theirs_where) {
      add(ours.line, Severity::kWarning,
          entry + "it is listed " + ours_where + ", but " + theirs_where + where +
              ": its \"'#show-if:\" lines differ, and users of the two languages see other "
              "menus on one machine");
    }
    if (ours.command != theirs.command) {
      const bool programs = NamesAProgram(ours.command) && NamesAProgram(theirs.command);
      add(ours.line, programs ? Severity::kWarning : Severity::kNote,
          entry + "the command " + QuotedText(ours.command) + " is " + QuotedText(theirs.command) +
              where +
              (programs ? ": users of the two languages get different programs"
                        : ": users of the two languages get different links or documents"));
    }
    if (ours.arguments != theirs.arguments) {
      add(ours.line, Severity::kNote,
          entry + "the arguments " + QuotedText(ours.arguments) + " are " +
              QuotedText(theirs.arguments) + where +
              ": the program gets other arguments for users of the two languages");
    }
  }
}

}  // namespace

std::vector<LanguageFileName> LanguageFileNames(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  std::vector<LanguageFileName> found;
  for (std::string& name : names) {
    const std::string middle = LanguageOfMenuFileName(name);
    if (middle.empty()) continue;
    if (IsLanguageFileTag(AsciiFolded(middle))) {
      found.push_back({std::move(name), std::string()});
      continue;
    }
    std::string never_read = QuotedText(middle) +
                             " is no language tag (such as de, pt-br or zh-hant): the menu never "
                             "reads this file";
    // A system's name for the language ("he_IL", "de_DE.UTF-8") as the menu writes it.
    const std::string tag = LanguageFileTag(middle);
    if (!tag.empty()) {
      const std::string language = tag.substr(0, tag.find('-'));
      never_read += "; name it " + MenuFileNameOfLanguage(language) +
                    (language == tag ? "" : " or " + MenuFileNameOfLanguage(tag));
    }
    found.push_back({std::move(name), std::move(never_read)});
  }
  return found;
}

void AddLanguageReport(const CheckReport& language, const std::string& file, const Targets& targets,
                       CheckReport* report) {
  for (Finding finding : language.findings) {
    if (finding.file.empty()) finding.file = file;
    report->findings.push_back(std::move(finding));
  }
  for (DirectiveRecord directive : language.directives) {
    directive.file = file;
    report->directives.push_back(std::move(directive));
  }
  for (EntryWords words : language.words) {
    words.file = file;
    report->words.push_back(std::move(words));
  }
  // A file read one line off below an indented comment has entries that are not the author's:
  // comparing them would only repeat that one finding.
  if (language.checked && !language.fields_shifted && !report->fields_shifted) {
    Compare(*report, language, file, targets, &report->findings);
  }
}

}  // namespace tolvar
