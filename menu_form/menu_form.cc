// MenuForm: the loading sequence, the selection rule, Launch and Quit.
#include "menu_form/menu_form.h"

#include <new>
#include <optional>
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

// The form's side of reading the menu file: each field goes to the window as soon as it is read,
// and the first fault ends the loading, as the menu must stop there.
class Loading : public DefinitionSink {
 public:
  explicit Loading(MenuView& view) : view_(view) {}

  void Title(std::string_view title, int64_t) override { view_.SetTitle(std::string(title)); }
  Result Splash(const std::string& splash, int64_t) override {
    if (splash == kNullKeyword || !FileExists(splash)) return Result::Ok();
    return view_.ShowSplash(splash);
  }
  void Count(int count, int64_t) override {
    entries_begun_ = true;
    entries.reserve(count);
  }
  // Each entry goes into its place as its caption comes, and its command follows into it.
  void Caption(int, std::string_view caption, int64_t) override {
    entries.push_back(MenuEntry{text.Keep(caption), {}});
  }
  void Command(int, std::string_view command, int64_t) override {
    entries.back().Command = text.Keep(command);
  }
  bool Fault(const RunTimeError& fault) override {
    fault_ = fault;
    return false;
  }
  // The fault that stopped the reading.
  const std::optional<RunTimeError>& fault() const { return fault_; }

  bool entries_begun() const { return entries_begun_; }

  TextStore text;
  std::vector<MenuEntry> entries;

 private:
  MenuView& view_;
  bool entries_begun_ = false;
  std::optional<RunTimeError> fault_;
};

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
    Loading loading(view_);
    try {
      if (!reader.Read(loading)) throw *loading.fault();
    } catch (const std::bad_alloc&) {
      // A 32-bit program can run out of address space on the entries of a hostile file; the
      // author still learns where. Memory that runs out anywhere else is no fault of the file.
      if (!loading.entries_begun()) throw;
      throw reader.OutOfMemory();
    }
    menu_entries_ = std::move(loading.entries);
    entry_text_ = std::move(loading.text);
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
