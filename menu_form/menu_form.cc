// MenuForm: the loading sequence, the selection rule, Launch and Quit.
#include "menu_form/menu_form.h"

#include <new>
#include <utility>
#include <vector>

#include "menu_form/definition_reader.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

// The author finds the command in the menu file by the text they wrote there, so a message shows
// it as written (backslashes and all, on every system), less a leading ".\" that says nothing.
std::string PathAsWritten(const std::string& path) {
  if (path.size() > 2 && path[0] == '.' && (path[1] == '\\' || path[1] == '/')) {
    return path.substr(2);
  }
  return path;
}

}  // namespace

MenuForm::MenuForm(MenuView& view, ProgramStart& program_start, std::string decimal_separator)
    : view_(view),
      program_start_(program_start),
      decimal_separator_(std::move(decimal_separator)) {}

void MenuForm::OnLoad() {
  if (!FileExists(kDefinitionPath)) {
    state_ = State::kDefinitionMissing;
    view_.Warn(kDefinitionMissingText, kMessageTitle);
    return;
  }

  // The file is read and applied field by field: the title shows before the splash line is read,
  // and the picture before the count is.
  {
    TextInput file(kDefinitionPath);
    DefinitionReader reader(file, decimal_separator_);
    view_.SetTitle(reader.ReadTitle());

    const std::string splash = reader.ReadSplash();
    if (splash != kNullKeyword && FileExists(splash)) {
      const Result shown = view_.ShowSplash(splash);
      if (!shown.ok) throw reader.InvalidSplash(splash, shown.reason);
    }

    const int count = reader.ReadCount();
    // A 32-bit program can run out of address space on a hostile file; the author still learns
    // where.
    try {
      TextStore text;
      std::vector<MenuEntry> entries;
      entries.reserve(count);
      for (int i = 1; i <= count; ++i) entries.push_back(reader.ReadEntry(i, text));
      menu_entries_ = std::move(entries);
      entry_text_ = std::move(text);
    } catch (const std::bad_alloc&) {
      throw reader.OutOfMemory();
    }
  }  // closes the file

  prompt_entry_ = MenuEntry{kPromptCaption, kNullKeyword};
  size_t caption_bytes = prompt_entry_.Caption.size();
  for (const MenuEntry& entry : menu_entries_) caption_bytes += entry.Caption.size();
  view_.ReserveListItems(static_cast<int>(menu_entries_.size() + 1), caption_bytes);
  view_.AddListItem(0, prompt_entry_.Caption);
  for (size_t j = 0; j < menu_entries_.size(); ++j) {
    view_.AddListItem(static_cast<int>(j + 1), menu_entries_[j].Caption);
  }
  state_ = State::kLoaded;
  SelectListPosition(0);
  view_.SetButtonCaption(Button::kGoBox, kLaunchCaption);
  view_.SetButtonCaption(Button::kExitBox, kQuitCaption);
}

void MenuForm::SelectListPosition(int position) {
  view_.SetListPosition(position);
  OnMenuClick();
}

void MenuForm::OnMenuClick() {
  const int position = view_.ReadListPosition();
  // Position p stands for entry p, since position 0 is the prompt. A position past the last entry
  // cannot come from the list; it is taken as no selection rather than read out of bounds.
  if (position > 0 && static_cast<size_t>(position) <= menu_entries_.size()) {
    current_entry_ = menu_entries_[position - 1];
  } else {
    current_entry_ = prompt_entry_;
  }
}

void MenuForm::OnGoBoxClick() {
  const std::string command(current_entry_.Command);
  if (command == kNullKeyword) return;
  if (command == kExitKeyword) {
    view_.Close();
    return;
  }
  if (!FileExists(command)) {
    view_.Warn(kFileNotFoundText, kMessageTitle);
    return;
  }
  const Result started = program_start_.Start(command);
  if (!started.ok) {
    view_.Warn("Can't start " + QuotedText(PathAsWritten(command), kLongestPathShown) + ": " +
                   started.reason,
               kMessageTitle);
  }
}

void MenuForm::OnExitBoxClick() { view_.Close(); }

}  // namespace tolvar
