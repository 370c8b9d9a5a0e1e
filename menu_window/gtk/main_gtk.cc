// The Linux program tolvar-autorun: GTK start-up, the form's loading, the run-time error report,
// and the main loop until the window is unloaded.
#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_form.h"
#include "menu_window/gtk/menu_window_gtk.h"
#include "menu_window/gtk/message_box.h"
#include "menu_window/gtk/no_display_view.h"
#include "menu_window/system_program_start.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/user_locale.h"

namespace {

// Whether a session bus runs that can be reached without starting one.
bool SessionBusRuns() {
  if (g_getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) return true;
  gchar* socket = g_build_filename(g_get_user_runtime_dir(), "bus", nullptr);
  const bool exists = g_file_test(socket, G_FILE_TEST_EXISTS);
  g_free(socket);
  return exists;
}

// Opens the display with GDK's OpenGL off: nothing here draws with GL, and probing for it loads
// the GL drivers (tens of megabytes, tens of milliseconds). The variable is put back at once, so
// that the programs the menu starts inherit the environment the menu was given.
bool OpenDisplayWithoutGl() {
  const char* previous = std::getenv("GDK_GL");
  const std::optional<std::string> saved =
      previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
  setenv("GDK_GL", "disable", 1);
  // Without a session bus the accessibility bridge would have D-Bus "autolaunch" a bus daemon for
  // the display, which outlives the menu; no assistive technology can listen without one anyway.
  const bool no_bridge = std::getenv("NO_AT_BRIDGE") == nullptr && !SessionBusRuns();
  if (no_bridge) setenv("NO_AT_BRIDGE", "1", 1);
  // Names the program to the window system and the accessibility tree, as argv would have.
  g_set_prgname("tolvar-autorun");
  // No arguments are passed: the menu takes none, and GTK's own options should not apply either.
  const bool opened = gtk_init_check(nullptr, nullptr);
  if (no_bridge) unsetenv("NO_AT_BRIDGE");
  if (saved) {
    setenv("GDK_GL", saved->c_str(), 1);
  } else {
    unsetenv("GDK_GL");
  }
  return opened;
}

// The run-time error report: the menu cannot go on, and says why in words its author can act on.
void ReportRunTimeError(const tolvar::RunTimeError& error, bool has_display) {
  std::fprintf(stderr, "tolvar-autorun: %s: %s\n", KindName(error.kind()), error.what());
  if (has_display) {
    tolvar::ShowMessageBox(nullptr, error.what(), tolvar::kMessageTitle, GTK_MESSAGE_ERROR);
  }
}

// Without a display no window can open, but the menu file is still read, so that its faults are
// reported.
int RunWithoutDisplay(tolvar::ProgramStart& program_start) {
  tolvar::NoDisplayView view;
  tolvar::MenuForm form(view, program_start, tolvar::UserDecimalSeparator());
  view.ConnectTo(form);
  try {
    form.OnLoad();
  } catch (const tolvar::RunTimeError& error) {
    ReportRunTimeError(error, false);
    return 1;
  }
  const char* display = std::getenv("DISPLAY");
  std::fprintf(stderr,
               "tolvar-autorun: cannot open the display, so the menu cannot be shown (DISPLAY is "
               "\"%s\")\n",
               display != nullptr ? display : "");
  return 1;
}

}  // namespace

int main() {
  const bool has_display = OpenDisplayWithoutGl();
  tolvar::SystemProgramStart program_start;
  if (!has_display) return RunWithoutDisplay(program_start);

  // The font configuration (dozens of files) is read on a second core while GTK loads its theme
  // for the window, instead of after it, when the first caption is measured.
  std::thread font_configuration([] { FcInit(); });
  tolvar::GtkMenuWindow window;
  font_configuration.join();
  tolvar::MenuForm form(window, program_start, tolvar::UserDecimalSeparator());
  window.ConnectTo(form);
  try {
    form.OnLoad();
  } catch (const tolvar::RunTimeError& error) {
    ReportRunTimeError(error, true);
    return 1;
  }
  window.Show();
  gtk_main();
  return 0;
}
