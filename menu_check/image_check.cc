// CheckImage: reads the image's two views, then runs the medium's checks on the view of the
// system each one concerns, and looks up every file the menu names in both.
#include "menu_check/image_check.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

#include "menu_check/command_check.h"
#include "menu_check/directive_check.h"
#include "menu_check/image_names_check.h"
#include "menu_check/image_reader.h"
#include "menu_check/medium_checks.h"
#include "menu_check/medium_probe.h"
#include "menu_check/path_hint.h"
#include "menu_form/command_kind.h"
#include "menu_form/definition_reader.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

struct NamedPath {
  int64_t line;
  std::string written;
  bool splash;
  std::optional<System> only_on;  // an entry's '#system:
};

// The image check's side of reading the menu file: the splash path and the commands that name
// files, with their lines, and the first fault, which is the error the menu would stop with. What
// does not depend on the view (directives, schemes, paths tied to the author's machine) is
// warned about here, once.
class NamedPaths : public DefinitionSink {
 public:
  NamedPaths(std::vector<Finding>* findings, int* entries)
      : findings_(findings), entries_(entries) {}

  void Title(std::string_view, int64_t) override {}
  Result Splash(const std::string& splash, int64_t line) override {
    if (splash == kNullKeyword) return Result::Ok();
    const std::string hint = PathHint(splash, "no picture is shown");
    if (hint.empty()) {
      paths.push_back({line, splash, true, std::nullopt});
    } else {
      Warn(line, hint);
    }
    return Result::Ok();
  }
  void Count(int count, int64_t) override { *entries_ = count; }
  void Caption(int, std::string_view, int64_t) override {}
  void Command(int index, std::string_view command, int64_t line) override {
    if (command == kNullKeyword || command == kExitKeyword || IsLink(command)) return;
    const std::string written(command);
    const std::string entry = "entry " + std::to_string(index) + ": ";
    const std::string scheme = SchemeWarning(written);
    const std::string hint = PathHint(written, "Launch says \"Can't find file!!\"");
    if (!scheme.empty() || !hint.empty()) {
      Warn(line, entry + (scheme.empty() ? hint : scheme));
      return;
    }
    paths.push_back({line, written, false, directives_.ForEntry(index).given.OnlyOn});
  }
  // The files the menu names are only known up to its first fault: past it, the menu reads nothing.
  bool Fault(const RunTimeError& fault) override {
    findings_->push_back({fault.line(), Severity::kError, fault.detail()});
    return false;
  }
  void DirectiveLine(const Directive& directive) override {
    const std::string warning = directives_.Check(directive);
    if (!warning.empty()) Warn(directive.line, warning);
  }

  std::vector<NamedPath> paths;
  DirectiveCheck directives_;

 private:
  void Warn(int64_t line, std::string message) {
    findings_->push_back({line, Severity::kWarning, std::move(message)});
  }

  std::vector<Finding>* findings_;
  int* entries_;
};

// The splash path and the commands that name files, with their lines; a fault in the file is
// added to `findings` as the error the menu would stop with.
std::vector<NamedPath> ReadMenu(const std::string& menu, const std::string& decimal_separator,
                                std::vector<Finding>* findings, int* entries,
                                std::vector<DirectiveRecord>* directives) {
  NamedPaths named(findings, entries);
  try {
    // Messages name it as they do on a medium.
    TextInput file(menu, DisplayPath(kDefinitionPath));
    DefinitionReader reader(file, decimal_separator);
    if (reader.Read(named)) reader.SignificantLineFollows(named);
  } catch (const RunTimeError& error) {  // marked as UTF-16
    findings->push_back({error.line(), Severity::kError, error.detail()});
  }
  *directives = std::move(named.directives_.records);
  return named.paths;
}

std::string InView(std::string written) {
  for (char& c : written) {
    if (c == '\\') c = '/';
  }
  while (written.rfind("./", 0) == 0) written.erase(0, 2);
  return written;
}

void CheckPaths(const std::vector<NamedPath>& paths, const MediumView& view, bool linux_rules,
                std::vector<Finding>* findings) {
  for (const NamedPath& path : paths) {
    // An entry for the other system is not listed in this one.
    if (path.only_on.has_value() && (*path.only_on == System::kLinux) != linux_rules) continue;
    const std::string in_view = InView(path.written);
    if (in_view.empty() || in_view[0] == '/' || (in_view.size() > 1 && in_view[1] == ':')) continue;
    const MediumName* found =
        linux_rules ? view.AsLinuxMenuFinds(in_view) : view.IgnoringCase(in_view);
    if (found != nullptr && !found->directory) continue;
    findings->push_back(
        {path.line, Severity::kWarning,
         std::string(path.splash ? "no picture is shown" : "Launch says \"Can't find file!!\"") +
             " in " + view.description + ": there is no file " + QuotedText(path.written)});
  }
}

}  // namespace

CheckReport CheckImage(const std::string& image, const std::string& decimal_separator,
                       const Targets& targets) {
  CheckReport report;
  report.file = "menu/config.mnu";
  const ImageViews views = ReadImageViews(image);
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

  const MediumName* linux_menu = views.linux_view.AsLinuxMenuFinds("menu/config.mnu");
  const MediumName* windows_menu = views.windows_view.IgnoringCase("menu/config.mnu");
  const MediumName* menu = linux_menu != nullptr ? linux_menu : windows_menu;
  const MediumView& menu_view = linux_menu != nullptr ? views.linux_view : views.windows_view;
  const auto content =
      menu != nullptr ? menu_view.contents.find(menu->path) : menu_view.contents.end();
  if (content == menu_view.contents.end()) {
    report.checked = false;
    report.findings.push_back({0, Severity::kError,
                               std::string(kDefinitionMissingText) + " (there is no menu file " +
                                   "menu/config.mnu in the image that can be read)"});
  } else {
    const std::vector<NamedPath> paths = ReadMenu(
        content->second, decimal_separator, &report.findings, &report.entries, &report.directives);
    for (const auto& [view, wanted, linux_rules] :
         {std::tuple(&views.linux_view, targets.for_linux, true),
          std::tuple(&views.windows_view, targets.for_windows, false)}) {
      if (!wanted) continue;
      const MediumName* found = linux_rules ? linux_menu : windows_menu;
      if (found == nullptr) {
        report.findings.push_back({0, Severity::kWarning,
                                   "there is no menu file in " + view->description +
                                       ": the menu says \"" + kDefinitionMissingText + "\""});
      } else {
        CheckPaths(paths, *view, linux_rules, &report.findings);
      }
    }
  }
  std::stable_sort(report.findings.begin(), report.findings.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.file == b.file ? a.line < b.line : a.file < b.file;
                   });
  const bool windows_starts =
      targets.for_windows && CheckAutorunInf(views.windows_view, &report.findings);
  const bool linux_starts =
      targets.for_linux && CheckLinuxAutostart(views.linux_view, &report.findings);
  NoteWhatNothingStarts(windows_starts, linux_starts, targets, &report.findings);
  CheckNames(views.windows_view, targets, &report.findings);
  CheckImageNames(views, targets, &report.findings);
  return report;
}

}  // namespace tolvar
