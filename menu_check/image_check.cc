// CheckImage: reads the image's two views, then runs the menu file's one check on each system's own
// menu file in that system's view, and the medium's checks on the view of the system each concerns.
#include "menu_check/image_check.h"

#include <algorithm>
#include <map>
#include <new>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "menu_check/checks/image_names_check.h"
#include "menu_check/checks/language_check.h"
#include "menu_check/checks/medium_checks.h"
#include "menu_check/checks/menu_program_check.h"
#include "menu_check/model/image_reader.h"
#include "menu_check/model/view_probe.h"
#include "menu_form/language_files.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

// The menu file as the image check looks it up in a view.
constexpr char kDefinitionView[] = "menu/config.mnu";

// Why the check did not read a file it needed.
std::string LeftOut() {
  return "the checker keeps at most " + std::to_string(kImageBytesKept >> 20) +
         " MiB of an image's files in all, and this file's bytes did not fit: what depends on "
         "them is not checked";
}

// The menu file `path` of the medium holding `text`.
CheckReport CheckText(const std::string& text, const std::string& path, MediumProbe& probe,
                      const std::string& decimal_separator, const Targets& targets) {
  CheckReport report;
  report.file = path;
  try {
    // Messages name it as they do on a medium.
    TextInput file(text, DisplayPath(path));
    CheckMenuText(file, probe, decimal_separator, targets, &report);
  } catch (const RunTimeError& error) {  // marked as UTF-16
    report.checked = false;
    report.findings.push_back({error.line(), Severity::kError, error.detail()});
  }
  return report;
}

// What one image check shares between the menu files it checks.
struct ImageCheck {
  const std::string& image;
  const ImageViews& views;
  const std::string& decimal_separator;
  const Targets& targets;
  ByteBudget* budget;
  // Each system's check of each file, by the path the file has in that system's view: a file that
  // several language names (or links) lead to is checked once.
  std::map<std::pair<System, std::string>, CheckReport> checked = {};
};

// `system`'s menu file `text`, checked for `system` alone in its view: once to learn which files'
// bytes the checks need (pictures, the heads of programs), which are then read in one pass over
// the view's tree, however many files the menu names, and once with them.
CheckReport CheckInView(const std::string& image, const MediumView& view, System system,
                        const std::string& path, const std::string& text,
                        const std::string& decimal_separator, ByteBudget* budget) {
  Targets only;
  only.for_linux = system == System::kLinux;
  only.for_windows = system == System::kWindows;
  ViewProbe probe(view, system);
  CheckReport report = CheckText(text, path, probe, decimal_separator, only);
  if (probe.missing().empty()) return report;
  const std::string problem =
      ReadImageContents(image, view, probe.missing(), &probe.contents, budget);
  report = CheckText(text, path, probe, decimal_separator, only);
  for (const std::string& file : probe.contents.left_out) {
    report.checked = false;
    report.findings.push_back({0, Severity::kError, LeftOut(), file});
  }
  for (const auto& [file, reason] : probe.contents.unreadable) {
    report.findings.push_back({0, Severity::kError,
                               "the menu names this file, but its bytes cannot be read from the "
                               "image (" +
                                   reason + "): the system reading the disc fails on it as well",
                               file});
  }
  if (!problem.empty()) {
    report.image_unreadable = true;
    report.findings.push_back(
        {0, Severity::kError,
         QuotedText(image) + " is not an ISO 9660 image that can be read: " + problem, "."});
  }
  return report;
}

using Key = std::tuple<int64_t, Severity, std::string, std::string>;
Key KeyOf(const Finding& finding) {
  return {finding.line, finding.severity, finding.message, finding.file};
}

// `message` as one system's finding: after the view it concerns, unless it names that system
// alone already ("Launch on Windows does not start ...").
std::string ForOneSystem(const std::string& message, const std::string& system,
                         const std::string& other, const std::string& view) {
  const bool named = message.find(system) != std::string::npos;
  if (named && message.find(other) == std::string::npos) return message;
  return "in " + view + ": " + message;
}

// The two systems' reports as one: what both found once, what one found with its view named.
void Merge(const CheckReport& linux_side, const std::string& linux_view,
           const CheckReport& windows_side, const std::string& windows_view,
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
      finding.message = ForOneSystem(finding.message, "Linux", "Windows", linux_view);
    }
    findings->push_back(std::move(finding));
  }
  for (Finding finding : windows_side.findings) {
    int& common = shared[KeyOf(finding)];
    if (common > 0) {
      --common;
      continue;
    }
    finding.message = ForOneSystem(finding.message, "Windows", "Linux", windows_view);
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
  CheckReport checked = {};
  // Larger than the menu reads: kept unread, and refused as the menu refuses it.
  bool too_large() const { return menu != nullptr && menu->size > kLargestTextFile; }
  bool reads() const { return wanted && (text != nullptr || too_large() || left_out); }
};

Side SideOf(const MediumView& view, bool wanted, const MediumName* menu) {
  const std::string* text = menu == nullptr ? nullptr : view.ContentOf(menu->path);
  const std::vector<std::string>& left_out = view.contents_left_out;
  return Side{&view, wanted, menu, text,
              text == nullptr && menu != nullptr &&
                  std::find(left_out.begin(), left_out.end(), view.ContentsPath(menu->path)) !=
                      left_out.end()};
}

// The findings, status and entries of the systems checked, into `report`.
void Gather(Side& linux_side, Side& windows_side, CheckReport* report) {
  const bool both = linux_side.reads() && windows_side.reads();
  const bool differ = both && (linux_side.text == nullptr || windows_side.text == nullptr
                                   ? linux_side.menu->size != windows_side.menu->size
                                   : *linux_side.text != *windows_side.text);
  if (differ) {
    report->findings.push_back(
        {0, Severity::kWarning,
         "Linux and Windows find different menu files: " + QuotedText(linux_side.menu->path) +
             " in " + linux_side.view->description + " and " + QuotedText(windows_side.menu->path) +
             " in " + windows_side.view->description + "; each is checked for its own system"});
  }
  if (both) {
    Merge(linux_side.checked, linux_side.view->description, windows_side.checked,
          windows_side.view->description, &report->findings);
  }
  for (Side* side : {&linux_side, &windows_side}) {
    if (!side->reads()) continue;
    if (!both) {
      report->findings.insert(report->findings.end(), side->checked.findings.begin(),
                              side->checked.findings.end());
    }
    report->checked = report->checked && side->checked.checked;
    report->image_unreadable = report->image_unreadable || side->checked.image_unreadable;
  }
  // The entries and directives of the first system checked, for the JSON report.
  Side& first = linux_side.reads() ? linux_side : windows_side;
  report->entries = first.checked.entries;
  report->directives = std::move(first.checked.directives);
  report->entry_records = std::move(first.checked.entry_records);
  report->words = std::move(first.checked.words);
}

// Reads and checks each system's own menu file `path` in its own view, into `report`. A menu file
// for a language that a view lacks is no fault: that system's menu reads config.mnu instead.
void CheckMenuFiles(ImageCheck& check, const std::string& path, CheckReport* report) {
  const ImageViews& views = check.views;
  const Targets& targets = check.targets;
  const bool plain = path == kDefinitionView;
  Side linux_side =
      SideOf(views.linux_view, targets.for_linux, views.linux_view.AsLinuxMenuFinds(path));
  Side windows_side =
      SideOf(views.windows_view, targets.for_windows, views.windows_view.IgnoringCase(path));
  // A language's file that one system finds and the other does not: an image mastered without
  // the names the other reads (8.3 names without Joliet turn config.he.mnu into CONFIG_H.MNU).
  const auto missing_for = [&](const Side& side) {
    const bool windows = &side == &windows_side;
    const std::string tag = LanguageOfMenuFileName(path.substr(path.rfind('/') + 1));
    report->findings.push_back(
        {0, Severity::kWarning,
         std::string(windows ? "Windows" : "Linux") + " finds no " + QuotedText(path) + " in " +
             side.view->description + ": " + (windows ? "Windows" : "Linux") +
             " users whose language is " + QuotedText(tag) + " get the menu of " + kDefinitionView +
             " instead" + (windows && !views.joliet ? "; master the image with Joliet (-J)" : "")});
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
    report->findings.push_back(
        {0, Severity::kError,
         std::string(kDefinitionMissingText) + " (there is no menu file menu/config.mnu in " +
             (none ? std::string("the image") : asked.view->description) + " that can be read)"});
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
      side->checked.findings.push_back({0, Severity::kError, LeftOut()});
      continue;
    }
    if (side->text == nullptr) {
      if (!plain) {
        missing_for(*side);
        continue;
      }
      report->findings.push_back({0, Severity::kWarning,
                                  "there is no menu file in " + side->view->description +
                                      ": the menu says \"" + kDefinitionMissingText + "\""});
      continue;
    }
    const System system = side == &linux_side ? System::kLinux : System::kWindows;
    const auto key = std::pair(system, side->view->ContentsPath(side->menu->path));
    auto known = check.checked.find(key);
    if (known == check.checked.end()) {
      known = check.checked
                  .emplace(key, CheckInView(check.image, *side->view, system, path, *side->text,
                                            check.decimal_separator, check.budget))
                  .first;
    }
    side->checked = known->second;
  }
  if (plain && linux_side.reads() && linux_side.menu->path != path) {
    report->findings.push_back(
        {0, Severity::kWarning, MenuFileSpelling(linux_side.menu->path, true)});
  }
  Gather(linux_side, windows_side, report);
}

// The menu files for other languages beside each view's config.mnu, each checked as config.mnu is
// and compared with it.
void CheckLanguageFiles(ImageCheck& check, CheckReport* report) {
  if (!report->checked) return;
  const ImageViews& views = check.views;
  std::vector<std::string> names;
  std::set<std::string> folded;
  for (const auto& [view, menu] :
       {std::pair(&views.linux_view, views.linux_view.AsLinuxMenuFinds(kDefinitionView)),
        std::pair(&views.windows_view, views.windows_view.IgnoringCase(kDefinitionView))}) {
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

// The Windows menu in the image's root, read as Windows reads it, for its signature.
void CheckMenuSignature(const std::string& image, const MediumView& view, ByteBudget* budget,
                        std::vector<Finding>* findings) {
  const MediumName* program = view.IgnoringCase(kWindowsMenuProgram);
  if (program == nullptr || program->directory || program->size > kLargestMenuProgram) return;
  ImageContents contents;
  const std::string& path = view.ContentsPath(program->path);
  if (!ReadImageContents(image, view, {{path, static_cast<size_t>(program->size)}}, &contents,
                         budget)
           .empty()) {
    return;
  }
  if (!contents.left_out.empty()) {
    findings->push_back({0, Severity::kNote, LeftOut(), program->path});
    return;
  }
  const auto bytes = contents.bytes.find(path);
  if (bytes != contents.bytes.end()) SignatureFindings(bytes->second, findings);
}

CheckReport CheckWithin(const std::string& image, const std::string& decimal_separator,
                        const Targets& targets) {
  CheckReport report;
  report.file = "menu/config.mnu";
  ByteBudget budget;
  const ImageViews views = ReadImageViews(image, &budget);
  if (!views.problem.empty()) {
    report.checked = false;
    report.image_unreadable = true;
    report.findings.push_back(
        {0, Severity::kError,
         QuotedText(image) + " is not an ISO 9660 image that can be read: " + views.problem, "."});
    return report;
  }
  if (targets.for_linux && !views.rock_ridge) {
    report.findings.push_back(
        {0, Severity::kWarning,
         "the image has no Rock Ridge extension: Linux shows " +
             std::string(views.joliet ? "its Joliet names" : "its plain names in lower case") +
             " and no execute permissions (desktops mount it with mode=0400): the menu's "
             "autorun.sh and the menu start their programs all the same, through the program "
             "loader or a script's interpreter, but a file manager will not; master it with Rock "
             "Ridge (xorriso writes it unless told --norock)",
         "."});
  }
  if (targets.for_windows && !views.joliet) {
    report.findings.push_back(
        {0, Severity::kWarning,
         "the image has no Joliet extension: Windows shows its plain ISO 9660 names, short and "
         "in capitals; master it with Joliet (-J)",
         "."});
  }

  ImageCheck check{image, views, decimal_separator, targets, &budget};
  CheckMenuFiles(check, kDefinitionView, &report);
  if (!report.checked) return report;  // as a folder without its menu file
  CheckLanguageFiles(check, &report);
  std::stable_sort(report.findings.begin(), report.findings.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.file == b.file ? a.line < b.line : a.file < b.file;
                   });
  const bool windows_starts =
      targets.for_windows && CheckAutorunInf(views.windows_view, &report.findings);
  const bool linux_starts =
      targets.for_linux && CheckLinuxAutostart(views.linux_view, &report.findings);
  NoteWhatNothingStarts(windows_starts, linux_starts, targets, &report.findings);
  if (targets.for_windows) {
    CheckMenuSignature(image, views.windows_view, &budget, &report.findings);
  }
  CheckNames(views.windows_view, targets, &report.findings);
  CheckImageNames(views, targets, &report.findings);
  return report;
}

}  // namespace

CheckReport CheckImage(const std::string& image, const std::string& decimal_separator,
                       const Targets& targets) {
  // The budget bounds what the check keeps, but not what libarchive or a check of a large menu
  // file asks for on the way: a machine (or a limit) with less memory than that still gets its
  // report, which says that nothing was checked.
  try {
    return CheckWithin(image, decimal_separator, targets);
  } catch (const std::bad_alloc&) {
    CheckReport report;
    report.file = "menu/config.mnu";
    report.checked = false;
    report.findings.push_back(
        {0, Severity::kError,
         "the checker ran out of memory while checking " + QuotedText(image) +
             ": nothing is checked; try it on a machine with more free memory",
         "."});
    return report;
  }
}

}  // namespace tolvar
