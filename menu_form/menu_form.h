// MenuForm: the whole of the menu's behaviour, the form Tolvar_Autorun without its drawing. It owns
// the entries and the current choice, and handles the four events: load, a change of selection in
// Menu, a click on Go_Box (Launch) and a click on Exit_Box (Quit). It reaches the window only
// through MenuView and starts programs only through ProgramStart.
#ifndef TOLVAR_MENU_FORM_MENU_FORM_H_
#define TOLVAR_MENU_FORM_MENU_FORM_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_view.h"
#include "menu_form/program_start.h"
#include "menu_form/show_if.h"
#include "menu_form/text_store.h"

namespace tolvar {

// The menu file the menu reads in the current folder for the user's `languages` (the first of
// their files, else config.mnu), as the path to open; "" when there is none. Lists the menu
// folder once.
std::string FindDefinition(const std::vector<std::string>& languages);

class MenuForm {
 public:
  enum class State { kNotLoaded, kLoaded, kDefinitionMissing };

  // `decimal_separator` is the user's (UserDecimalSeparator()); the count may be written with it.
  // `system` is the one the menu runs on: entries for another system are not listed. `languages`
  // are the user's (UserUiLanguages()), most preferred first: the menu file of the first that the
  // medium has one for is read, else menu\config.mnu. `facts` answer the entries' "'#show-if:"
  // conditions: an entry is listed only where all hold (with none, all entries are).
  MenuForm(MenuView& view, ProgramStart& program_start, std::string decimal_separator,
           System system, std::vector<std::string> languages = {},
           const SystemFacts* facts = nullptr);

  // Reads menu\config.mnu (or the file for the user's language) below the current directory and
  // fills the window. When no such file is there, warns and leaves the window as it was designed
  // (State kDefinitionMissing). Any fault in the file read throws RunTimeError, naming that file:
  // the menu must end then, before its window is shown; it never falls back to another file.
  void OnLoad();

  // The selection of Menu changed: remember the chosen entry, or the prompt for position 0 or none.
  void OnMenuClick();

  // Launch: nothing for $null$, close for $exit$, open a link, otherwise start the program (with
  // the entry's directives) or warn that it is missing. A program that exists but cannot be
  // started is a warning too. The menu stays open unless the entry asks it to close once started.
  void OnGoBoxClick();

  // Quit: close the window.
  void OnExitBoxClick();

  State state() const { return state_; }
  const MenuEntry& CurrentEntry() const { return current_entry_; }
  const MenuEntry& PromptEntry() const { return prompt_entry_; }
  // The listed entries in the file's order: list position i shows [i - 1]. Entry i of the file is
  // at [i - 1] when no entry is for another system.
  const std::vector<MenuEntry>& MenuEntries() const { return menu_entries_; }
  // What Launch warns when an entry's file is missing: "Can't find file!!", or the menu file's
  // own text once it is loaded; how a warning that a file cannot be started begins; and the
  // title of the menu's boxes. The fuzz target's property asks for them: a medium may give its own.
  std::string_view NotFoundText() const { return not_found_text_; }
  std::string CannotStartStart() const {
    return cannot_start_text_.empty() ? "Can't start " : std::string(cannot_start_text_) + "\n\n";
  }
  std::string_view MessageTitle() const { return message_title_; }
  // What Launch says when no program on the system is set to open the entry's kind of file.
  std::string_view NoProgramText() const { return no_program_text_; }

 private:
  // Selecting a position in code raises Menu's click event, as a selection by the user does.
  void SelectListPosition(int position);

  MenuView& view_;
  ProgramStart& program_start_;
  std::string decimal_separator_;
  System system_;
  std::vector<std::string> languages_;
  const SystemFacts* facts_;
  State state_ = State::kNotLoaded;
  TextStore entry_text_;                          // what menu_entries_ view
  std::deque<EntryDirectives> entry_directives_;  // what menu_entries_ point to; a deque keeps them
  std::vector<MenuEntry> menu_entries_;
  bool description_row_ = false;
  // The messages' texts: the author's, when the file gives them, else the program's own ("" for
  // the program's own "Can't start"). They view entry_text_ or the fixed texts.
  std::string_view not_found_text_ = kFileNotFoundText;
  std::string_view cannot_start_text_;
  std::string_view no_program_text_ = kNoProgramText;
  std::string_view message_title_ = kMessageTitle;
  MenuEntry prompt_entry_;
  MenuEntry current_entry_;
};

// The window's side of Menu's click event and the two buttons' clicks: the hooks its controls
// run. The menu program (RunMenuProgram) connects them to the form's handlers, each inside the
// guard that keeps exceptions out of the toolkit, so a hook never throws. A window runs a hook only
// when it is set, and never for a selection made in code.
struct MenuEvents {
  std::function<void()> on_menu_click;
  std::function<void()> on_go_box_click;
  std::function<void()> on_exit_box_click;

  // Runs `hook` when it is set.
  static void Raise(const std::function<void()>& hook) {
    if (hook) hook();
  }
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_MENU_FORM_H_
