// CheckLanguageFiles: finding the language files in the menu folder, and the comparison.
#include "menu_check/checks/language_check.h"

#include <algorithm>
#include <utility>

#include "menu_form/language_files.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/directory_lister.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

std::string SystemName(const std::optional<System>& system) {
  if (!system) return "both systems";
  return *system == System::kWindows ? "Windows only" : "Linux only";
}

// Where `language` (checked from `language_file`) differs from `plain`, the plain file's report.
void Compare(const CheckReport& plain, const CheckReport& language, const std::string& file,
             std::vector<Finding>* findings) {
  const auto warn = [&](int64_t line, const std::string& message) {
    findings->push_back({line, Severity::kWarning, message, file});
  };
  const std::string other = QuotedText(plain.file);
  if (plain.entries != language.entries) {
    const auto entries = [](int count) {
      return std::to_string(count) + (count == 1 ? " entry" : " entries");
    };
    warn(0, "it has " + entries(language.entries) + ", " + other + " has " +
                entries(plain.entries) + ": was the menu changed in one language only?");
  }
  const size_t common = std::min(plain.entry_records.size(), language.entry_records.size());
  for (size_t i = 0; i < common; ++i) {
    const EntryRecord& ours = language.entry_records[i];
    const EntryRecord& theirs = plain.entry_records[i];
    const std::string entry = "entry " + std::to_string(i + 1) + ": ";
    const std::string where = " in " + other + " (line " + std::to_string(theirs.line) + ")";
    if (ours.command != theirs.command) {
      warn(ours.line, entry + "the command " + QuotedText(ours.command) + " is " +
                          QuotedText(theirs.command) + where +
                          ": users of the two languages get different programs");
    }
    if (ours.arguments != theirs.arguments) {
      warn(ours.line, entry + "the arguments " + QuotedText(ours.arguments) + " are " +
                          QuotedText(theirs.arguments) + where);
    }
    if (ours.only_on != theirs.only_on) {
      warn(ours.line, entry + "it is listed on " + SystemName(ours.only_on) + ", but on " +
                          SystemName(theirs.only_on) + where);
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
    found.push_back({std::move(name), IsLanguageFileTag(AsciiFolded(middle))
                                          ? std::string()
                                          : QuotedText(middle) +
                                                " is no language tag (such as de, pt-br or "
                                                "zh-hant): the menu never reads this file"});
  }
  return found;
}

void AddLanguageReport(const CheckReport& language, const std::string& file, CheckReport* report) {
  for (Finding finding : language.findings) {
    if (finding.file.empty()) finding.file = file;
    report->findings.push_back(std::move(finding));
  }
  if (language.checked) Compare(*report, language, file, &report->findings);
}

void CheckLanguageFiles(const std::string& decimal_separator, const Targets& targets,
                        CheckReport* report) {
  if (!report->checked) return;
  // The folder as the plain menu file was found in it.
  std::string folder_path = report->file;
  std::replace(folder_path.begin(), folder_path.end(), '\\', '/');
  const size_t slash = folder_path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : folder_path.substr(0, slash + 1);
  DiskDirectories directories(DiskDirectories::Spelling::kExact);
  const DirectoryNames& listed = directories.List(folder);
  for (const LanguageFileName& name :
       LanguageFileNames(std::vector<std::string>(listed.names().begin(), listed.names().end()))) {
    const std::string file = folder + name.name;
    if (!name.never_read.empty()) {
      report->findings.push_back({0, Severity::kWarning, name.never_read, file});
      continue;
    }
    AddLanguageReport(CheckMenuFile(file, decimal_separator, targets), file, report);
  }
}

}  // namespace tolvar
