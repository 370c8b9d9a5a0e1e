// MenuForm: the loading sequence, the selection rule, Launch and Quit.
#include "menu_form/menu_form.h"

#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "menu_form/command_kind.h"
#include "menu_form/definition_reader.h"
#include "menu_form/directive_interpreter.h"
#include "menu_form/entry_icons.h"
#include "menu_form/folder_command.h"
#include "menu_form/language_files.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/resolves_inside.h"
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
// and the first fault ends the loading, as the menu must stop there. The directives are judged by
// the interpreter; the form keeps what it gives.
class Loading : public DefinitionSink {
 public:
  Loading(MenuView& view, System system, const SystemFacts* facts)
      : view_(view), system_(system), facts_(facts) {}

  // The menu's own directives stand above the title: they are all read once it comes.
  void Title(std::string_view title, int64_t) override {
    const MenuTexts given = directives_.Menu();
    if (given.RightToLeft) view_.SetRightToLeft();
    if (!given.PictureDescription.empty()) {
      view_.SetPictureDescription(std::string(given.PictureDescription));
    }
    texts = given;
    for (std::string_view* text :
         {&texts.Prompt, &texts.LaunchCaption, &texts.QuitCaption, &texts.NotFoundMessage,
          &texts.CannotStartMessage, &texts.NoProgramMessage, &texts.MessageTitle}) {
      *text = text_.Keep(*text);
    }
    texts.PictureDescription = {};
    // A window icon that cannot be shown leaves the program's own; the checker says why.
    if (PictureFileUsable(given.WindowIcon)) view_.SetWindowIcon(std::string(given.WindowIcon));
    texts.WindowIcon = {};
    view_.SetTitle(std::string(title));
  }
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
    entries.push_back(MenuEntry{text_.Keep(caption), {}});
  }
  void Command(int index, std::string_view command, int64_t) override {
    MenuEntry& entry = entries.back();
    entry.Command = text_.Keep(command);
    EntryDirectives given = directives_.ForEntry(index);
    if (given.empty()) return;
    if ((given.OnlyOn && *given.OnlyOn != system_) ||
        (facts_ != nullptr && !ShowIfHolds(given.ShowIf, *facts_))) {
      entries.pop_back();  // it still counted: the next entry is still the file's next
      return;
    }
    given.ShowIf = {};  // judged once, here; the form keeps no condition
    for (std::string_view* text :
         {&given.Description, &given.Arguments, &given.Directory, &given.Icon}) {
      *text = text_.Keep(*text);
    }
    directives.push_back(given);
    entry.Directives = &directives.back();
  }
  void DirectiveLine(const Directive& directive) override { directives_.Take(directive); }
  bool Fault(const RunTimeError& fault) override {
    fault_ = fault;
    return false;
  }
  // The fault that stopped the reading.
  const std::optional<RunTimeError>& fault() const { return fault_; }

  bool entries_begun() const { return entries_begun_; }

  // What the form keeps: `entries`, `directives` and `texts` view `text`.
  TextStore& text() { return text_; }
  std::vector<MenuEntry> entries;
  std::deque<EntryDirectives> directives;
  // The author's own texts for this medium; empty where the program's own stay.
  MenuTexts texts;

 private:
  MenuView& view_;
  const System system_;
  const SystemFacts* facts_;
  DirectiveInterpreter directives_;
  TextStore text_;
  bool entries_begun_ = false;
  std::optional<RunTimeError> fault_;
};

}  // namespace

MenuForm::MenuForm(MenuView& view, ProgramStart& program_start, std::string decimal_separator,
                   System system, std::vector<std::string> languages, const SystemFacts* facts)
    : view_(view),
      program_start_(program_start),
      decimal_separator_(std::move(decimal_separator)),
      system_(system),
      languages_(std::move(languages)),
      facts_(facts) {}

std::string FindDefinition(const std::vector<std::string>& languages) {
  // A menu file that is a link out of the medium would show some file of the user's in the
  // menu's boxes: it counts as missing. The medium's root is the current folder.
  return ChooseDefinition(languages, DiskDirectories(), [](const std::string& candidate) {
    return FileExists(candidate) && ResolvesInside(candidate, ".");
  });
}

void MenuForm::OnLoad() {
  const std::string definition = FindDefinition(languages_);
  if (definition.empty()) {
    state_ = State::kDefinitionMissing;
    view_.Warn(kDefinitionMissingText, kMessageTitle);
    return;
  }

  // The file is read and applied field by field: the title shows before the splash line is read,
  // and the picture before the count is.
  MenuTexts texts;
  {
    TextInput file(definition);
    DefinitionReader reader(file, decimal_separator_);
    Loading loading(view_, system_, facts_);
    try {
      if (!reader.Read(loading)) throw *loading.fault();
    } catch (const std::bad_alloc&) {
      // A 32-bit program can run out of address space on the entries of a hostile file; the
      // author still learns where. Memory that runs out anywhere else is no fault of the file.
      if (!loading.entries_begun()) throw;
      throw reader.OutOfMemory();
    }
    menu_entries_ = std::move(loading.entries);
    entry_directives_ = std::move(loading.directives);
    texts = loading.texts;
    const auto or_own = [](std::string_view given, std::string_view own) {
      return given.empty() ? own : given;
    };
    not_found_text_ = or_own(texts.NotFoundMessage, kFileNotFoundText);
    cannot_start_text_ = texts.CannotStartMessage;
    no_program_text_ = or_own(texts.NoProgramMessage, kNoProgramText);
    message_title_ = or_own(texts.MessageTitle, kMessageTitle);
    texts.Prompt = or_own(texts.Prompt, kPromptCaption);
    texts.LaunchCaption = or_own(texts.LaunchCaption, kLaunchCaption);
    texts.QuitCaption = or_own(texts.QuitCaption, kQuitCaption);
    entry_text_ = std::move(loading.text());  // what the views above point into, unchanged
  }                                           // closes the file

  for (const EntryDirectives& directives : entry_directives_) {
    if (!directives.Description.empty()) description_row_ = true;
  }
  if (description_row_) view_.ShowDescriptionRow();

  // Before the list is filled: a window may have to make its list anew to show pictures in it.
  const std::vector<ShownIcon> icons = LoadEntryIcons(view_, menu_entries_);

  prompt_entry_ = MenuEntry{texts.Prompt, kNullKeyword};
  size_t caption_bytes = prompt_entry_.Caption.size();
  for (const MenuEntry& entry : menu_entries_) caption_bytes += entry.Caption.size();
  view_.ReserveListItems(static_cast<int>(menu_entries_.size() + 1), caption_bytes);
  view_.AddListItem(0, prompt_entry_.Caption);
  for (size_t j = 0; j < menu_entries_.size(); ++j) {
    view_.AddListItem(static_cast<int>(j + 1), menu_entries_[j].Caption);
  }
  if (description_row_) {
    for (size_t j = 0; j < menu_entries_.size(); ++j) {
      const EntryDirectives* directives = menu_entries_[j].Directives;
      if (directives != nullptr && !directives->Description.empty()) {
        view_.DescribeListItem(static_cast<int>(j + 1), directives->Description);
      }
    }
  }
  for (const ShownIcon& icon : icons) view_.SetListItemIcon(icon.position, icon.icon);
  state_ = State::kLoaded;
  SelectListPosition(0);
  view_.SetButtonCaption(Button::kGoBox, std::string(texts.LaunchCaption));
  view_.SetButtonCaption(Button::kExitBox, std::string(texts.QuitCaption));
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
  if (description_row_) {
    const EntryDirectives* directives = current_entry_.Directives;
    view_.SetDescription(directives != nullptr ? std::string(directives->Description) : "");
  }
}

void MenuForm::OnGoBoxClick() {
  const std::string command(current_entry_.Command);
  if (command == kNullKeyword) return;
  if (command == kExitKeyword) {
    view_.Close();
    return;
  }
  const EntryDirectives none;
  const EntryDirectives& directives =
      current_entry_.Directives != nullptr ? *current_entry_.Directives : none;
  Result started;
  if (IsLink(command)) {
    started = program_start_.OpenLink(command);
  } else if (AsksForFolder(command)) {
    if (!NamesMediumFolder(command)) {
      view_.Warn(std::string(not_found_text_), std::string(message_title_));
      return;
    }
    started = program_start_.OpenFolder(command);
  } else if (NamesOtherScheme(command) || !FileExists(command)) {
    view_.Warn(std::string(not_found_text_), std::string(message_title_));
    return;
  } else {
    started = program_start_.Start(LaunchRequest{command, std::string(directives.Arguments),
                                                 std::string(directives.Directory),
                                                 directives.RunAsAdministrator});
  }
  if (!started.ok && started.no_application && !IsLink(command)) {
    // Nothing is wrong with the medium: the system's own words ("Permission denied", "No
    // application is registered") would say there is, so the file alone follows the text.
    view_.Warn(std::string(no_program_text_) + "\n\n" +
                   QuotedText(PathAsWritten(command), kLongestPathShown),
               std::string(message_title_));
    return;
  }
  if (!started.ok) {
    // The author's words lead; the path and the system's reason follow for whoever must mend it.
    const std::string what =
        QuotedText(PathAsWritten(command), kLongestPathShown) + ": " + started.reason;
    view_.Warn(cannot_start_text_.empty() ? "Can't start " + what
                                          : std::string(cannot_start_text_) + "\n\n" + what,
               std::string(message_title_));
    return;
  }
  // A start the person declined started nothing: the menu stays for another choice.
  if (directives.CloseAfterLaunch && !started.declined) view_.Close();
}

void MenuForm::OnExitBoxClick() { view_.Close(); }

}  // namespace tolvar
