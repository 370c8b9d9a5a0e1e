// tolvar-menu-check: checks a medium's menu file for its author, before the medium is made.
#include <filesystem>
#include <new>
#include <system_error>

#include "menu_check/image_check.h"
#include "menu_check/medium_check.h"
#include "menu_check/menu_check.h"
#include "menu_check/model/view_probe.h"
#include "menu_check/report/command_line.h"
#include "menu_check/report/console.h"
#include "menu_check/report/report_format.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/user_locale.h"
#ifdef _WIN32
#include "shared_routines/system_dlls_win32.h"
#endif

namespace fs = std::filesystem;
using tolvar::CheckOptions;

int main(int argc, char** argv) {
#ifdef _WIN32
  // Before the picture check loads GDI+: a DLL planted on the medium being checked must never run.
  tolvar::LoadDllsFromSystemDirectoryOnly();
#endif
  const CheckOptions options = tolvar::ParseCommandLine(tolvar::CommandLineArguments(argc, argv));
  switch (options.action) {
    case CheckOptions::Action::kHelp:
      tolvar::WriteText(stdout, tolvar::HelpText());
      return 0;
    case CheckOptions::Action::kVersion:
      tolvar::WriteText(stdout, tolvar::VersionText());
      return 0;
    case CheckOptions::Action::kUsageError:
      tolvar::WriteText(stderr, "tolvar-menu-check: " + options.problem +
                                    "\nTry \"tolvar-menu-check --help\" for more.\n");
      return 3;
    case CheckOptions::Action::kCheck:
      break;
  }

#ifdef TOLVAR_IMAGE_CHECK
  if (!options.image.empty()) {
    const tolvar::CheckReport report =
        tolvar::CheckImage(options.image, tolvar::UserDecimalSeparator(), options.targets);
    const std::string shown = options.image + "/" + report.file;
    tolvar::WriteText(
        stdout, options.json ? tolvar::FormatJson(report, shown, options.image)
                             : tolvar::FormatText(report, shown, options.image, options.words));
    return report.ExitStatus();
  }
#endif

  // Every path in the menu file is relative to the medium's root, as it is for the menu.
  std::error_code error;
  if (!options.root.empty()) fs::current_path(fs::u8path(options.root), error);
  tolvar::CheckReport report;
  try {
    report =
        error ? tolvar::UnreadableMedium(tolvar::QuotedText(options.root) + " " + error.message())
              : tolvar::CheckMedium(tolvar::UserDecimalSeparator(), options.targets);
  } catch (const std::bad_alloc&) {  // a report all the same, with nothing checked
    report = tolvar::UnreadableMedium("the checker ran out of memory while checking it");
  }

  fs::path file = fs::u8path(report.file);
  if (!options.root.empty()) file = fs::u8path(options.root) / file;
  const std::string shown = file.lexically_normal().make_preferred().u8string();
  tolvar::WriteText(stdout, options.json
                                ? tolvar::FormatJson(report, shown, options.root)
                                : tolvar::FormatText(report, shown, options.root, options.words));
  return report.ExitStatus();
}
