// MenuEntry and the fixed texts of the menu: keywords, prompt, captions, messages and the one path.
#ifndef TOLVAR_MENU_FORM_MENU_ENTRY_H_
#define TOLVAR_MENU_FORM_MENU_ENTRY_H_

#include <string_view>

#include "menu_form/directive.h"

namespace tolvar {

// One line of the drop-down list and what Launch does for it. Copied by value; the texts it views
// belong to the form that read them (or are the fixed texts below) and live as long as it does.
struct MenuEntry {
  std::string_view Caption;  // the text shown in the list
  std::string_view Command;  // a program's path, a link, or one of the keywords below
  // What the directives above the entry give it; null when there were none. Owned by the form.
  const EntryDirectives* Directives = nullptr;

  bool operator==(const MenuEntry& other) const {
    return Caption == other.Caption && Command == other.Command;
  }
};

// Keywords match only the whole line, exactly and case-sensitively: "$EXIT$" or " $exit$" is a
// path.
inline constexpr char kNullKeyword[] = "$null$";
inline constexpr char kExitKeyword[] = "$exit$";

// Relative to the current directory, which is the medium's root when the menu is started from it.
inline constexpr char kDefinitionPath[] = ".\\menu\\config.mnu";

inline constexpr char kPromptCaption[] = "Please Select...";
inline constexpr char kLaunchCaption[] = "Launch";
inline constexpr char kQuitCaption[] = "Quit";

inline constexpr char kMessageTitle[] = "Kestova";
inline constexpr char kDefinitionMissingText[] = "Can't locate menu options definition file.";
inline constexpr char kFileNotFoundText[] = "Can't find file!!";
// A document whose kind no program on the person's system is set to open.
inline constexpr char kNoProgramText[] = "No program is set to open this kind of file.";

// The largest entry count that loads: list positions are 16-bit, and position 0 is the prompt.
inline constexpr int kMaxEntries = 32766;

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_MENU_ENTRY_H_
