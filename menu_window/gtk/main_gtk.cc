// The Linux program tolvar-autorun: GTK's start-up, and the window, message box and program start
// that the menu program runs on. What happens at start-up, and what a failure means, is the core's
// (RunMenuProgram); nothing of it belongs here.
#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "menu_form/menu_program.h"
#include "menu_window/gtk/defunct_label_accessible.h"
#include "menu_window/gtk/menu_window_gtk.h"
#include "menu_window/gtk/message_box.h"
#include "menu_window/gtk/no_display_view.h"
#include "menu_window/machine_facts.h"
#include "menu_window/program_folder.h"
#include "menu_window/session_bus.h"
#include "menu_window/system_program_start.h"

namespace {

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
  const bool no_bridge = std::getenv("NO_AT_BRIDGE") == nullptr && !tolvar::SessionBusRuns();
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

// The font configuration (dozens of files) is read on a second core while GTK loads its theme for
// the window, instead of after it, when the first caption is measured. It is only a head start:
// where no thread can be started, the configuration is read here at once and the menu goes on.
class FontConfigurationReading {
 public:
  FontConfigurationReading() {
    try {
      thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
      FcInit();
    }
  }
  ~FontConfigurationReading() {
    if (thread_.joinable()) thread_.join();
  }
  FontConfigurationReading(const FontConfigurationReading&) = delete;
  FontConfigurationReading& operator=(const FontConfigurationReading&) = delete;

 private:
  std::thread thread_;
};

// The report of a failure that ends the menu, in a box over no window: the window never shows.
void ShowErrorBox(const std::string& text, const std::string& title) {
  tolvar::ShowMessageBox(nullptr, text, title, GTK_MESSAGE_ERROR);
}

// Without a display no window can open, but the menu file is still read, so that its faults are
// reported; a file that loads still leaves nothing to show.
int ReportNoDisplay() {
  const char* display = std::getenv("DISPLAY");
  tolvar::WriteReportLine({"cannot open the display, so the menu cannot be shown (DISPLAY is \"",
                           display != nullptr ? display : "", "\")"});
  return 1;
}

}  // namespace

int main() {
  const bool has_display = OpenDisplayWithoutGl();
  tolvar::SystemProgramStart program_start;
  const tolvar::MachineFacts facts;
  if (!has_display) {
    tolvar::NoDisplayView view;
    tolvar::MenuPlatform platform(view, nullptr, program_start, tolvar::System::kLinux);
    platform.facts = &facts;
    platform.program_folder = tolvar::ProgramFolder;
    platform.enter_folder = tolvar::EnterFolder;
    platform.show_and_run = ReportNoDisplay;
    return tolvar::RunMenuProgram(platform);
  }

  tolvar::ReportDestroyedLabelsDefunct();
  tolvar::GtkMenuWindow window;
  tolvar::MenuPlatform platform(window, &window, program_start, tolvar::System::kLinux);
  platform.facts = &facts;
  platform.program_folder = tolvar::ProgramFolder;
  platform.enter_folder = tolvar::EnterFolder;
  platform.create_window = [&window] {
    FontConfigurationReading fonts;
    return window.Create();
  };
  platform.show_error_box = ShowErrorBox;
  platform.show_and_run = [&window] {
    window.Show();
    gtk_main();
    return 0;
  };
  return tolvar::RunMenuProgram(platform);
}
