// RunMenuProgram, the fatal report and the event guard.
#include "menu_form/menu_program.h"

#include <cstdio>
#include <exception>
#include <new>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_form.h"
#include "shared_routines/run_time_error.h"

namespace tolvar {
namespace {

using ErrorBox = std::function<void(const std::string&, const std::string&)>;

// A fault in the menu file says in itself all that its author needs; anything else is said to
// have stopped the menu.
constexpr char kUnexpected[] = "The menu cannot go on: ";

// stderr first, and without allocating: the report must get out even when memory has run out.
void Report(const char* kind, const char* text, const char* box_lead,
            const ErrorBox& box) noexcept {
  WriteReportLine({kind, ": ", text});
  if (!box) return;
  try {
    box(std::string(box_lead) + text, kMessageTitle);
  } catch (...) {
    // No box can be shown; stderr has the report.
  }
}

// The report of a failure that ends the menu, whatever was thrown.
void ReportFatal(std::exception_ptr error, const ErrorBox& show_error_box) noexcept {
  try {
    std::rethrow_exception(error);
  } catch (const RunTimeError& run_time_error) {
    Report(KindName(run_time_error.kind()), run_time_error.what(), "", show_error_box);
  } catch (const std::bad_alloc&) {
    Report("out of memory", "there is not enough memory", kUnexpected, show_error_box);
  } catch (const std::exception& other) {
    Report("unexpected error", other.what(), kUnexpected, show_error_box);
  } catch (...) {
    Report("unexpected error", "an error of unknown kind", kUnexpected, show_error_box);
  }
}

// The guard around every event handler.
class EventGuard {
 public:
  EventGuard(MenuView& view, const ErrorBox& show_error_box)
      : view_(view), show_error_box_(show_error_box) {}

  // Runs `handler` unless the menu has already ended; never throws.
  void Run(const std::function<void()>& handler) noexcept;

  // True once a handler has ended the menu.
  bool ended() const { return ended_; }

 private:
  MenuView& view_;
  const ErrorBox& show_error_box_;
  bool ended_ = false;
};

void EventGuard::Run(const std::function<void()>& handler) noexcept {
  // Clicks queued before the window went away find the menu ended.
  if (ended_) return;
  try {
    try {
      handler();
    } catch (const RunTimeError& error) {
      view_.Warn(error.what(), kMessageTitle);
    }
  } catch (...) {
    ended_ = true;
    ReportFatal(std::current_exception(), show_error_box_);
    try {
      view_.Close();
    } catch (...) {
      // The status is 1 whatever the window does.
    }
  }
}

// Makes the medium's root the working folder before anything of the medium is read, so that the
// menu file, every path in it and every program started from it are found from there. Only a
// working folder without any of the menu's files is left: one the menu would read stays the root.
void EnterMediumRoot(const MenuPlatform& platform) {
  if (!platform.program_folder || !platform.enter_folder) return;
  if (!FindDefinition(platform.languages).empty()) return;
  const Expected<std::string> folder = platform.program_folder();
  if (!folder) {
    WriteReportLine({"the folder of the menu's own program is unknown: ", folder.reason().c_str()});
    return;
  }
  const Result entered = platform.enter_folder(folder.value());
  if (!entered.ok) {
    WriteReportLine({"the folder of the menu's own program, ", folder.value().c_str(),
                     ", cannot be entered: ", entered.reason.c_str()});
  }
}

}  // namespace

void WriteReportLine(std::initializer_list<const char*> parts) noexcept {
  // fputs rather than fprintf: on Windows, fprintf brings mingw-w64's own printf into the program.
  std::fputs("tolvar-autorun: ", stderr);
  for (const char* part : parts) std::fputs(part, stderr);
  std::fputs("\n", stderr);
  std::fflush(stderr);
}

int RunMenuProgram(const MenuPlatform& platform) {
  EventGuard guard(platform.view, platform.show_error_box);
  try {
    EnterMediumRoot(platform);
    if (platform.create_window) {
      const Result created = platform.create_window();
      if (!created.ok) {
        const std::string text = "The menu window cannot be created: " + created.reason;
        Report("no window", text.c_str(), "", platform.show_error_box);
        return 1;
      }
    }
    MenuForm form(platform.view, platform.program_start, platform.decimal_separator,
                  platform.system, platform.languages, platform.facts);
    // The hooks refer to the form and the guard, which end here; the window may outlive them.
    struct Disconnect {
      MenuEvents* events;
      ~Disconnect() {
        if (events != nullptr) *events = MenuEvents();
      }
    } disconnect{platform.events};
    if (MenuEvents* events = platform.events) {
      events->on_menu_click = [&] { guard.Run([&] { form.OnMenuClick(); }); };
      events->on_go_box_click = [&] { guard.Run([&] { form.OnGoBoxClick(); }); };
      events->on_exit_box_click = [&] { guard.Run([&] { form.OnExitBoxClick(); }); };
    }

    form.OnLoad();
    const int status = platform.show_and_run();
    return guard.ended() ? 1 : status;
  } catch (...) {
    ReportFatal(std::current_exception(), platform.show_error_box);
    return 1;
  }
}

}  // namespace tolvar
