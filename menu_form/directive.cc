// Directives: the names, where each belongs, the values each takes, and what they give an entry.
#include "menu_form/directive.h"

#include <iterator>

namespace tolvar {
namespace {

struct NameText {
  DirectiveName name;
  std::string_view text;
};

constexpr NameText kNames[] = {
    {DirectiveName::kDescription, "description"},
    {DirectiveName::kArguments, "arguments"},
    {DirectiveName::kSystem, "system"},
    {DirectiveName::kDirectory, "directory"},
    {DirectiveName::kAfterLaunch, "after-launch"},
    {DirectiveName::kRunAs, "run-as"},
    {DirectiveName::kPrompt, "prompt"},
    {DirectiveName::kLaunchCaption, "launch-caption"},
    {DirectiveName::kQuitCaption, "quit-caption"},
    {DirectiveName::kNotFoundMessage, "not-found-message"},
    {DirectiveName::kDirection, "direction"},
    {DirectiveName::kPictureDescription, "picture-description"},
};

constexpr std::string_view kSystems[] = {"windows", "linux"};
constexpr std::string_view kAfterLaunch[] = {"stay", "close"};
constexpr std::string_view kRunAs[] = {"administrator"};
constexpr std::string_view kDirections[] = {"left-to-right", "right-to-left"};

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

Directive ParseDirective(std::string_view line) {
  Directive directive;
  const size_t colon = line.find(':');
  directive.written_name = line.substr(2, colon - 2);
  directive.value = SkipBlanks(line.substr(colon + 1));
  directive.name = FindDirectiveName(directive.written_name);
  return directive;
}

DirectiveName FindDirectiveName(std::string_view name) {
  for (const NameText& known : kNames) {
    if (known.text == name) return known.name;
  }
  return DirectiveName::kUnknown;
}

std::string_view DirectiveNameText(DirectiveName name) {
  for (const NameText& known : kNames) {
    if (known.name == name) return known.text;
  }
  return {};
}

std::string DirectiveSpelling(std::string_view name) { return "'#" + std::string(name) + ":"; }

bool IsMenuDirective(DirectiveName name) {
  switch (name) {
    case DirectiveName::kPrompt:
    case DirectiveName::kLaunchCaption:
    case DirectiveName::kQuitCaption:
    case DirectiveName::kNotFoundMessage:
    case DirectiveName::kDirection:
    case DirectiveName::kPictureDescription:
      return true;
    default:
      return false;
  }
}

std::vector<std::string_view> KnownDirectiveNames() {
  std::vector<std::string_view> names;
  for (const NameText& known : kNames) names.push_back(known.text);
  return names;
}

const std::string_view* AllowedDirectiveValues(DirectiveName name, size_t* count) {
  switch (name) {
    case DirectiveName::kSystem:
      *count = std::size(kSystems);
      return kSystems;
    case DirectiveName::kAfterLaunch:
      *count = std::size(kAfterLaunch);
      return kAfterLaunch;
    case DirectiveName::kRunAs:
      *count = std::size(kRunAs);
      return kRunAs;
    case DirectiveName::kDirection:
      *count = std::size(kDirections);
      return kDirections;
    default:
      *count = 0;
      return nullptr;
  }
}

bool DirectiveValueAllowed(DirectiveName name, std::string_view value) {
  size_t count = 0;
  const std::string_view* values = AllowedDirectiveValues(name, &count);
  if (values == nullptr) return true;
  for (size_t i = 0; i < count; ++i) {
    if (values[i] == value) return true;
  }
  return false;
}

void EntryDirectives::Apply(const Directive& directive) {
  if (!DirectiveValueAllowed(directive.name, directive.value)) return;
  switch (directive.name) {
    case DirectiveName::kDescription:
      Description = directive.value;
      break;
    case DirectiveName::kArguments:
      Arguments = directive.value;
      break;
    case DirectiveName::kDirectory:
      Directory = directive.value;
      break;
    case DirectiveName::kSystem:
      OnlyOn = directive.value == "windows" ? System::kWindows : System::kLinux;
      break;
    case DirectiveName::kAfterLaunch:
      CloseAfterLaunch = directive.value == "close";
      break;
    case DirectiveName::kRunAs:
      RunAsAdministrator = true;
      break;
    default:
      break;
  }
}

bool EntryDirectives::empty() const {
  return Description.empty() && Arguments.empty() && Directory.empty() && !OnlyOn &&
         !CloseAfterLaunch && !RunAsAdministrator;
}

}  // namespace tolvar
