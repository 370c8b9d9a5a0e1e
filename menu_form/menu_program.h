// The menu program's life, written once for every platform: build the window, create the form,
// load the menu file, report a failure that ends the menu, show the window and run it; and the
// guard that every event handler runs inside. A platform's main() supplies only its window, its
// message box and its program start.
#ifndef TOLVAR_MENU_FORM_MENU_PROGRAM_H_
#define TOLVAR_MENU_FORM_MENU_PROGRAM_H_

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "menu_form/menu_form.h"
#include "menu_form/menu_view.h"
#include "menu_form/program_start.h"
#include "menu_form/result.h"
#include "shared_routines/user_locale.h"

namespace tolvar {

// What a platform hands to RunMenuProgram.
struct MenuPlatform {
  MenuPlatform(MenuView& view, MenuEvents* events, ProgramStart& program_start, System system)
      : view(view), events(events), program_start(program_start), system(system) {}

  // The window, or what stands in for it where no window can open.
  MenuView& view;
  // The window's event hooks; null when nothing but the load can happen.
  MenuEvents* events;
  ProgramStart& program_start;
  // The system the menu runs on, which picks the entries it lists.
  System system;
  // What "'#show-if:" conditions ask of the machine; null: every entry for this system shows.
  const SystemFacts* facts = nullptr;
  // The separator with which a count may be written with a fraction: the user's.
  std::string decimal_separator = UserDecimalSeparator();
  // The user's languages, most preferred first, which pick the medium's menu file.
  std::vector<std::string> languages = UserUiLanguages();

  // The folder that holds the menu's own program, or the system's reason why it cannot say; and
  // how the working folder is changed. The medium's root is the working folder when it holds a
  // menu file, else the program's folder: people start the menu from terminals, launchers and
  // shortcuts whose working folder is elsewhere. Either empty: the working folder is the root.
  std::function<Expected<std::string>()> program_folder;
  std::function<Result(const std::string& folder)> enter_folder;

  // Builds the window, hidden and in its design-time state, before the form loads into it; a
  // failure ends the menu with the system's reason. Empty when the window is built already.
  std::function<Result()> create_window;
  // Shows `text` under `title` in a modal box with the error icon and OK alone, and returns when
  // it is dismissed. Empty where there is no display: the report then goes to stderr alone.
  std::function<void(const std::string& text, const std::string& title)> show_error_box;
  // Shows the loaded window with the focus on Go_Box and runs it until it is unloaded; returns
  // the exit status.
  std::function<int()> show_and_run;
};

// Writes one report line on stderr: the program's name, "tolvar-autorun: ", then `parts`. It does
// not allocate, so that a report gets out even when memory has run out. Every report the menu
// writes on stderr begins this way, whichever part of the program writes it.
void WriteReportLine(std::initializer_list<const char*> parts) noexcept;

// Enters the medium's root (see MenuPlatform::program_folder), builds the window, loads the menu
// file into it through a MenuForm and, when that succeeds, shows and runs it. With a menu file
// neither in the working folder nor in the program's folder, the form says it finds none. A
// failure that ends the menu (a fault in the menu file, or anything unexpected, out of memory
// included) is reported once, "tolvar-autorun: kind: text" on stderr and in the error box titled
// "Kestova", and the window is never shown.
//
// The platform's hooks are connected to the form's handlers inside one guard, so that no
// exception unwinds through a toolkit's callback or a window procedure: a RunTimeError from a
// handler is a warning in the window and the menu goes on; anything else ends the menu with the
// same report as a load failure, and the window is closed.
//
// Returns the process's exit status: 1 after a failure that ended the menu.
int RunMenuProgram(const MenuPlatform& platform);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_MENU_PROGRAM_H_
