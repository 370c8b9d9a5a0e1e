// CheckMenus: each system's menu files checked in that system's own view of the medium, the two
// reports merged into one, then the menu files for other languages beside config.mnu.
#include "menu_check/menu_files_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "menu_check/checks/language_check.h"
#include "menu_check/checks/path_hint.h"
#include "menu_check/model/menu_lookup.h"
#include "menu_check/model/view_probe.h"
#include "menu_form/language_files.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {

std::string LeftOutOfTheBudget() {
  return "the checker keeps at most " + std::to_string(kImageBytesKept >> 20) +
         " MiB of a medium's files in all, and this file's bytes did not fit: what depends on "
         "them is not checked";
}

namespace {

// A path of a view as the menu's messages show it: with the host's own separators.
std::string Shown(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return DisplayPath(path);
}

// The menu file `path` of the medium holding `text`.
CheckReport CheckText(const std::string& text, const std::string& path, ViewProbe& probe,
                      const std::string& decimal_separator, const Targets& targets,
                      const Targets& widths) {
  CheckReport report;
  report.file = Shown(path);
  try {
    // Messages name it as they do on a medium.
    TextInput file(text, Shown(path));
    CheckMenuText(file, probe, decimal_separator, targets, widths, &report);
  } catch (const RunTimeError& error) {  // marked as UTF-16
    report.checked = false;
    report.findings.push_back({error.line(), Severity::kError, error.detail()});
  }
  return report;
}

// What one check shares between the menu files it checks.
struct MenusCheck {
  MediumFiles& files;
  const std::string& decimal_separator;
  const Targets& targets;
  // Each system's check of each file, by the path the file has in that system's view: a file that
  // several language names (or links) lead to is checked once.
  std::map<std::pair<System, std::string>, CheckReport> checked = {};
};

// `system`'s menu file `text`, checked for `system` alone in its view: once to learn which files'
// bytes the checks need (pictures, the heads of programs), which are then read in one batch (one
// pass over an image's tree), however many files the menu names, and once with them.
CheckReport CheckInView(MenusCheck& check, const MediumView& view, System system,
                        const std::string& path, const std::string& text) {
  Targets only = check.targets;  // its machine too, when one is named
  only.for_linux = system == System::kLinux;
  only.for_windows = system == System::kWindows;
  ViewProbe probe(view, system);
  CheckReport report = CheckText(text, path, probe, check.decimal_separator, only, check.targets);
  if (probe.missing().empty()) return report;
  const std::string problem = check.files.Read(view, probe.missing(), &probe.contents);
  report = CheckText(text, path, probe, check.decimal_separator, only, check.targets);
  for (const std::string& file : probe.contents.left_out) {
    report.checked = false;
    report.findings.push_back({0, Severity::kError, LeftOutOfTheBudget(), file});
  }
  for (const auto& [file, reason] : probe.contents.unreadable) {
    report.findings.push_back(
        {0, Severity::kError,
         check.files.IsFolder()
             ? "the menu names this file, but its bytes cannot be read (" + reason +
                   "): the menu fails on it as well"
             : "the menu names this file, but its bytes cannot be read from the image (" + reason +
                   "): the system reading the disc fails on it as well",
         file});
  }
  if (!problem.empty()) {
    report.image_unreadable = true;
    report.findings.push_back({0, Severity::kError, problem, "."});
  }
  return report;
}

using Key = std::tuple<int64_t, Severity, std::string, std::string>;
Key KeyOf(const Finding& finding) {
  return {finding.line, finding.severity, finding.message, finding.file};
}

// `message` as one system's finding: after the view it concerns, unless it names that system
// alone already ("Launch on Windows does not start ..."). In a folder both systems see the same
// names, so a message that names the system at all ("shows it on Windows, but not on Linux") says
// what the view would.
std::string ForOneSystem(const std::string& message, const std::string& system,
                         const std::string& other, const std::string& view, bool folder) {
  const bool named = message.find(system) != std::string::npos;
  if (named && (folder || message.find(other) == std::string::npos)) return message;
  return "in " + view + ": " + message;
}

// The two systems' reports as one: what both found once, what one found with its view named.
void Merge(const CheckReport& linux_side, const std::string& linux_view,
           const CheckReport& windows_side, const std::string& windows_view, bool folder,
           std::vector<Finding>* findings) {
  std::map<Key, int> in_windows;
  for (const Finding& finding : windows_side.findings) ++in_windows[KeyOf(finding)];
  std::map<Key, int> shared;
  for (Finding finding : linux_side.findings) {
    int& left = in_windows[KeyOf(finding)];
    if (left > 0) {
      --left;
      ++shared[KeyOf(finding)];
    } else {
      finding.message = ForOneSystem(finding.message, "Linux", "Windows", linux_view, folder);
    }
    findings->push_back(std::move(finding));
  }
  for (Finding finding : windows_side.findings) {
    int& common = shared[KeyOf(finding)];
    if (common > 0) {
      --common;
      continue;
    }
    finding.message = ForOneSystem(finding.message, "Windows", "Linux", windows_view, folder);
    findings->push_back(std::move(finding));
  }
}

// One system's side of the image: its view, its menu file and what was found in it.
struct Side {
  const MediumView* view;
  bool wanted;              // the system is checked for
  const MediumName* menu;   // as the system finds it, or null
  const std::string* text;  // the menu file's bytes, or null when it has none that can be read
  bool left_out;            // not kept, for the budget
  std::string description;  // how findings name the view
  CheckReport checked = {};
  // Larger than the menu reads: kept unread, and refused as the menu refuses it.
  bool too_large() const { return menu != nullptr && menu->size > kLargestTextFile; }
  bool reads() const { return wanted && (text != nullptr || too_large() || left_out); }
};

Side SideOf(const MediumView& view, bool wanted, const MediumName* menu, std::string description) {
  const std::string* text = menu == nullptr ? nullptr : view.ContentOf(menu->path);
  const std::vector<std::string>& left_out = view.contents_left_out;
  return Side{&view,
              wanted,
              menu,
              text,
              text == nullptr && menu != nullptr &&
                  std::find(left_out.begin(), left_out.end(), view.ContentsPath(menu->path)) !=
                      left_out.end(),
              std::move(description)};
}

// The findings, status and entries of the systems checked, into `report`.
void Gather(Side& linux_side, Side& windows_side, bool folder, CheckReport* report) {
  const bool both = linux_side.reads() && windows_side.reads();
  const bool differ = both && (linux_side.text == nullptr || windows_side.text == nullptr
                                   ? linux_side.menu->size != windows_side.menu->size
                                   : *linux_side.text != *windows_side.text);
  if (differ) {
    report->findings.push_back(
        {0, Severity::kWarning,
         "Linux and Windows find different menu files: " + QuotedText(linux_side.menu->path) +
             " in " + linux_side.description + " and " + QuotedText(windows_side.menu->path) +
             " in " + windows_side.description + "; each is checked for its own system"});
  }
  if (both) {
    Merge(linux_side.checked, linux_side.description, windows_side.checked,
          windows_side.description, folder, &report->findings);
  }
  for (Side* side : {&linux_side, &windows_side}) {
    if (!side->reads()) continue;
    if (!both) {
      report->findings.insert(report->findings.end(), side->checked.findings.begin(),
                              side->checked.findings.end());
    }
    report->checked = report->checked && side->checked.checked;
    report->fields_shifted = report->fields_shifted || side->checked.fields_shifted;
    report->image_unreadable = report->image_unreadable || side->checked.image_unreadable;
  }
  // The entries and directives of the first system checked, for the JSON report.
  Side& first = linux_side.reads() ? linux_side : windows_side;
  report->entries = first.checked.entries;
  report->directives = std::move(first.checked.directives);
  report->entry_records = std::move(first.checked.entry_records);
  report->words = std::move(first.checked.words);
  report->show_if = std::move(first.checked.show_if);
}

// Reads and checks each system's own menu file `path` in its own view, into `report`. A menu file
// for a language that a view lacks is no fault: that system's menu reads config.mnu instead.
void CheckMenuFiles(MenusCheck& check, const std::string& path, CheckReport* report) {
  const Targets& targets = check.targets;
  const MediumView& linux_view = check.files.View(System::kLinux);
  const MediumView& windows_view = check.files.View(System::kWindows);
  const bool plain = path == kMenuFileInView;
  // Its lines are some file of the author's, which the findings must not show to a reader.
  for (const MediumView* view : {&linux_view, &windows_view}) {
    const std::string spelled = view->Spelled(path, CaseRule::kFirstMatch).value_or(path);
    std::string end;
    if (FollowPath(*view, spelled, &end) == LinkEnd::kOutside) {
      report->checked = false;
      report->findings.push_back({0, Severity::kError, MenuFileLeavesMedium(Shown(spelled))});
      return;
    }
  }
  Side linux_side =
      SideOf(linux_view, targets.for_linux, FindAsMenu(linux_view, System::kLinux, path),
             check.files.Describe(System::kLinux));
  Side windows_side =
      SideOf(windows_view, targets.for_windows, FindAsMenu(windows_view, System::kWindows, path),
             check.files.Describe(System::kWindows));
  // A folder's report names its menu file as spelled on the disk, as the menu opens it.
  if (plain && check.files.IsFolder() && (linux_side.reads() || windows_side.reads())) {
    report->file = Shown((linux_side.reads() ? linux_side : windows_side).menu->path);
  }
  // A language's file that one system finds and the other does not: an image mastered without
  // the names the other reads (8.3 names without Joliet turn config.he.mnu into CONFIG_H.MNU).
  const auto missing_for = [&](const Side& side) {
    const bool windows = &side == &windows_side;
    const std::string tag = LanguageOfMenuFileName(path.substr(path.rfind('/') + 1));
    report->findings.push_back(
        {0, Severity::kWarning,
         std::string(windows ? "Windows" : "Linux") + " finds no " + QuotedText(path) + " in " +
             side.description + ": " + (windows ? "Windows" : "Linux") +
             " users whose language is " + QuotedText(tag) + " get the menu of " + kMenuFileInView +
             " instead" +
             (windows && check.files.WindowsSeesShortNames() ? "; master the image with Joliet (-J)"
                                                             : "")});
  };
  if (!plain && !linux_side.reads() && !windows_side.reads()) {
    for (const Side* side : {&linux_side, &windows_side}) {
      const Side& other = side == &linux_side ? windows_side : linux_side;
      if (side->wanted && side->text == nullptr && other.text != nullptr) missing_for(*side);
    }
    report->checked = false;
    return;
  }
  if (!linux_side.reads() && !windows_side.reads()) {
    // Nothing is checked: a menu file only the other system finds is not this one's.
    const bool none = linux_side.text == nullptr && windows_side.text == nullptr &&
                      !linux_side.too_large() && !windows_side.too_large();
    const Side& asked = linux_side.wanted ? linux_side : windows_side;
    report->checked = false;
    if (check.files.IsFolder() && none) {
      // As the menu says it: why the name it looks for is no file.
      ViewProbe probe(*asked.view, linux_side.wanted ? System::kLinux : System::kWindows);
      report->findings.push_back(
          {0, Severity::kError,
           std::string(kDefinitionMissingText) + " (" + probe.WhyNotFound(kDefinitionPath) + ")"});
      return;
    }
    report->findings.push_back(
        {0, Severity::kError,
         std::string(kDefinitionMissingText) + " (there is no menu file menu/config.mnu in " +
             (none ? std::string("the image") : asked.description) + " that can be read)"});
    return;
  }
  for (Side* side : {&linux_side, &windows_side}) {
    if (!side->wanted) continue;
    if (side->too_large()) {
      side->checked.checked = false;
      side->checked.findings.push_back(
          {0, Severity::kError, TooLargeForAMenuFile(side->menu->size)});
      continue;
    }
    if (side->left_out) {
      side->checked.checked = false;
      side->checked.findings.push_back({0, Severity::kError, LeftOutOfTheBudget()});
      continue;
    }
    if (side->text == nullptr) {
      if (!plain) {
        missing_for(*side);
        continue;
      }
      if (side == &linux_side && windows_side.menu != nullptr) {
        // Windows finds it in another letter case: why Linux does not.
        report->findings.push_back(
            {0, Severity::kWarning, MenuFileSpelling(Shown(windows_side.menu->path), false)});
        continue;
      }
      report->findings.push_back({0, Severity::kWarning,
                                  "there is no menu file in " + side->description +
                                      ": the menu says \"" + kDefinitionMissingText + "\""});
      continue;
    }
    const System system = side == &linux_side ? System::kLinux : System::kWindows;
    const auto key = std::pair(system, side->view->ContentsPath(side->menu->path));
    auto known = check.checked.find(key);
    if (known == check.checked.end()) {
      known = check.checked.emplace(key, CheckInView(check, *side->view, system, path, *side->text))
                  .first;
    }
    side->checked = known->second;
  }
  if (plain && linux_side.reads() && linux_side.menu->path != path) {
    report->findings.push_back(
        {0, Severity::kWarning, MenuFileSpelling(Shown(linux_side.menu->path), true)});
  }
  Gather(linux_side, windows_side, check.files.IsFolder(), report);
}

// The menu files for other languages beside each view's config.mnu, each checked as config.mnu is
// and compared with it.
void CheckLanguageFiles(MenusCheck& check, CheckReport* report) {
  if (!report->checked) return;
  std::vector<std::string> names;
  std::set<std::string> folded;
  for (const System system : {System::kLinux, System::kWindows}) {
    const MediumView* view = &check.files.View(system);
    const MediumName* menu = FindAsMenu(*view, system, kMenuFileInView);
    if (menu == nullptr) continue;
    const size_t slash = menu->path.rfind('/');
    for (const std::string& name : view->Children(menu->path.substr(0, slash))) {
      if (folded.insert(AsciiFolded(name)).second) names.push_back(name);
    }
  }
  for (const LanguageFileName& name : LanguageFileNames(names)) {
    const std::string file = "menu/" + name.name;
    if (!name.never_read.empty()) {
      report->findings.push_back({0, Severity::kWarning, name.never_read, file});
      continue;
    }
    CheckReport language;
    // Found as the menu looks for it: by the tag in lower case.
    CheckMenuFiles(check, "menu/" + AsciiFolded(name.name), &language);
    AddLanguageReport(language, file, check.targets, report);
  }
}

}  // namespace

void CheckMenus(MediumFiles& files, const std::string& decimal_separator, const Targets& targets,
                CheckReport* report) {
  MenusCheck check{files, decimal_separator, targets};
  CheckMenuFiles(check, kMenuFileInView, report);
  if (!report->checked) return;
  CheckLanguageFiles(check, report);
  std::stable_sort(report->findings.begin(), report->findings.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.file == b.file ? a.line < b.line : a.file < b.file;
                   });
}

}  // namespace tolvar
