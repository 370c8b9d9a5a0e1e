// Directives: the names, where each belongs, the values each takes, and what they give an entry.
#include "menu_form/directive.h"

#include <algorithm>

namespace tolvar {
namespace {

// Enough for any caption a button shows and any message a box shows, and far below where shaping
// a single cluster takes noticeable time.
constexpr size_t kLongestCaptionShown = 256;
constexpr size_t kLongestMessageShown = 1024;

// Each row's setter, named by what it sets.
template <std::string_view MenuTexts::*text>
void SetMenuText(MenuTexts& texts, std::string_view value) {
  texts.*text = value;
}
template <std::string_view EntryDirectives::*text>
void SetEntryText(EntryDirectives& entry, std::string_view value) {
  entry.*text = value;
}

const std::vector<DirectiveRow>& Rows() {
  using N = DirectiveName;
  static const std::vector<DirectiveRow> rows = {
      // For the entry below.
      {N::kDescription,
       "description",
       false,
       {},
       0,
       false,
       nullptr,
       SetEntryText<&EntryDirectives::Description>},
      {N::kArguments,
       "arguments",
       false,
       {},
       0,
       false,
       nullptr,
       SetEntryText<&EntryDirectives::Arguments>},
      {N::kSystem,
       "system",
       false,
       {"windows", "linux"},
       0,
       false,
       nullptr,
       [](EntryDirectives& entry, std::string_view value) {
         entry.OnlyOn = value == "windows" ? System::kWindows : System::kLinux;
       }},
      {N::kDirectory,
       "directory",
       false,
       {},
       0,
       false,
       nullptr,
       SetEntryText<&EntryDirectives::Directory>},
      {N::kAfterLaunch,
       "after-launch",
       false,
       {"stay", "close"},
       0,
       false,
       nullptr,
       [](EntryDirectives& entry, std::string_view value) {
         entry.CloseAfterLaunch = value == "close";
       }},
      {N::kRunAs,
       "run-as",
       false,
       {"administrator"},
       0,
       false,
       nullptr,
       [](EntryDirectives& entry, std::string_view) { entry.RunAsAdministrator = true; }},
      {N::kIcon, "icon", false, {}, 0, false, nullptr, SetEntryText<&EntryDirectives::Icon>},
      {N::kShowIf,
       "show-if",
       false,
       {},
       0,
       false,
       nullptr,
       SetEntryText<&EntryDirectives::ShowIf>,
       true},
      // For the whole menu, above the title.
      {N::kPrompt,
       "prompt",
       true,
       {},
       kLongestCaptionShown,
       true,
       SetMenuText<&MenuTexts::Prompt>,
       nullptr},
      {N::kLaunchCaption,
       "launch-caption",
       true,
       {},
       kLongestCaptionShown,
       true,
       SetMenuText<&MenuTexts::LaunchCaption>,
       nullptr},
      {N::kQuitCaption,
       "quit-caption",
       true,
       {},
       kLongestCaptionShown,
       true,
       SetMenuText<&MenuTexts::QuitCaption>,
       nullptr},
      {N::kNotFoundMessage,
       "not-found-message",
       true,
       {},
       kLongestMessageShown,
       true,
       SetMenuText<&MenuTexts::NotFoundMessage>,
       nullptr},
      {N::kCannotStartMessage,
       "cannot-start-message",
       true,
       {},
       kLongestMessageShown,
       true,
       SetMenuText<&MenuTexts::CannotStartMessage>,
       nullptr},
      {N::kNoProgramMessage,
       "no-program-message",
       true,
       {},
       kLongestMessageShown,
       true,
       SetMenuText<&MenuTexts::NoProgramMessage>,
       nullptr},
      {N::kMessageTitle,
       "message-title",
       true,
       {},
       kLongestCaptionShown,
       true,
       SetMenuText<&MenuTexts::MessageTitle>,
       nullptr},
      {N::kDirection,
       "direction",
       true,
       {"left-to-right", "right-to-left"},
       0,
       false,
       [](MenuTexts& texts, std::string_view value) {
         texts.RightToLeft = value == "right-to-left";
       },
       nullptr},
      // Screen readers read it whole; no window shapes it.
      {N::kPictureDescription,
       "picture-description",
       true,
       {},
       0,
       true,
       SetMenuText<&MenuTexts::PictureDescription>,
       nullptr},
      {N::kWindowIcon,
       "window-icon",
       true,
       {},
       0,
       true,
       SetMenuText<&MenuTexts::WindowIcon>,
       nullptr},
  };
  return rows;
}

bool IsNameCharacter(char c) { return (c >= 'a' && c <= 'z') || c == '-'; }

// Blanks after the colon are not part of the value; at its end they are, as in any field.
std::string_view SkipBlanks(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  return text.substr(at);
}

}  // namespace

bool BeginsDirective(std::string_view start) {
  if (start.size() < 4 || start[0] != '\'' || start[1] != '#' || !IsNameCharacter(start[2])) {
    return false;
  }
  for (size_t at = 3; at < start.size() && at < kDirectivePrefix; ++at) {
    if (start[at] == ':') return true;
    if (!IsNameCharacter(start[at])) return false;
  }
  return false;
}

std::string_view NearDirectiveName(std::string_view start) {
  if (start.empty() || start[0] != '\'' || BeginsDirective(start)) return {};
  size_t at = 1;
  const auto skip_blanks = [&] {
    while (at < start.size() && (start[at] == ' ' || start[at] == '\t')) ++at;
  };
  skip_blanks();
  if (at >= start.size() || start[at] != '#') return {};
  ++at;
  skip_blanks();
  const size_t name_start = at;
  while (at < start.size() && at - name_start < kLongestDirectiveName &&
         (IsNameCharacter(start[at]) || (start[at] >= 'A' && start[at] <= 'Z'))) {
    ++at;
  }
  const std::string_view name = start.substr(name_start, at - name_start);
  skip_blanks();
  if (name.empty() || at >= start.size() || start[at] != ':') return {};
  return name;
}

Directive ParseDirective(std::string_view line) {
  Directive directive;
  const size_t colon = line.find(':');
  directive.written_name = line.substr(2, colon - 2);
  directive.value = SkipBlanks(line.substr(colon + 1));
  directive.name = FindDirectiveName(directive.written_name);
  return directive;
}

const std::vector<DirectiveRow>& DirectiveRows() { return Rows(); }

const DirectiveRow* FindDirectiveRow(DirectiveName name) {
  for (const DirectiveRow& row : Rows()) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

DirectiveName FindDirectiveName(std::string_view name) {
  for (const DirectiveRow& row : Rows()) {
    if (row.text == name) return row.name;
  }
  return DirectiveName::kUnknown;
}

std::string_view DirectiveNameText(DirectiveName name) {
  const DirectiveRow* row = FindDirectiveRow(name);
  return row != nullptr ? row->text : std::string_view();
}

std::string DirectiveSpelling(std::string_view name) { return "'#" + std::string(name) + ":"; }

bool IsMenuDirective(DirectiveName name) {
  const DirectiveRow* row = FindDirectiveRow(name);
  return row != nullptr && row->for_menu;
}

std::vector<std::string_view> AllowedDirectiveValues(DirectiveName name) {
  const DirectiveRow* row = FindDirectiveRow(name);
  return row != nullptr ? row->values : std::vector<std::string_view>();
}

bool DirectiveValueAllowed(DirectiveName name, std::string_view value) {
  const DirectiveRow* row = FindDirectiveRow(name);
  if (row == nullptr || row->values.empty()) return true;
  return std::find(row->values.begin(), row->values.end(), value) != row->values.end();
}

bool EntryDirectives::empty() const {
  return Description.empty() && Arguments.empty() && Directory.empty() && Icon.empty() && !OnlyOn &&
         ShowIf.empty() && !CloseAfterLaunch && !RunAsAdministrator;
}

}  // namespace tolvar
