// DirectiveCheck: the menu's rules for directive lines, told back as warnings.
#include "menu_check/directive_check.h"

#include <algorithm>
#include <vector>

#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

size_t EditDistance(const std::string& a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1] ? 1 : 0)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// "\"windows\" or \"linux\"", the values a directive takes.
std::string AllowedValues(DirectiveName name) {
  size_t count = 0;
  const std::string_view* values = AllowedDirectiveValues(name, &count);
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + QuotedText(std::string(values[i]));
  }
  return text;
}

}  // namespace

std::string NearestDirectiveName(const std::string& written) {
  std::string_view nearest;
  size_t best = written.size();
  for (const std::string_view known : KnownDirectiveNames()) {
    const size_t distance = EditDistance(written, known);
    // A slip changes a letter or two; a long name takes a few more.
    if (distance < best && distance <= std::max<size_t>(2, known.size() / 3)) {
      best = distance;
      nearest = known;
    }
  }
  return std::string(nearest);
}

std::string DirectiveCheck::Check(const Directive& directive) {
  records.push_back({directive.line, directive.entry, directive.place,
                     std::string(directive.written_name), std::string(directive.value)});
  const std::string name = DirectiveSpelling(directive.written_name);
  if (directive.name == DirectiveName::kUnknown) {
    const std::string nearest = NearestDirectiveName(std::string(directive.written_name));
    return "the menu knows no directive " + name + " and ignores the line" +
           (nearest.empty() ? "" : ": did you mean " + DirectiveSpelling(nearest) + "?");
  }
  std::string misplaced = Misplaced(directive);
  if (!misplaced.empty()) return misplaced;
  if (!DirectiveValueAllowed(directive.name, directive.value)) {
    return name + " takes " + AllowedValues(directive.name) + ", not " +
           QuotedText(std::string(directive.value)) + ": the menu ignores the line";
  }
  const int64_t first = Repeated(directive);
  Keep(directive);
  if (first == 0) return "";
  return (directive.place == DirectivePlace::kEntry
              ? "entry " + std::to_string(directive.entry) + " has"
              : std::string("the menu has")) +
         " a second " + name + " (the first is on line " + std::to_string(first) +
         "): the last holds";
}

std::string DirectiveCheck::Misplaced(const Directive& directive) const {
  const std::string name = DirectiveSpelling(directive.written_name);
  const bool for_the_menu = IsMenuDirective(directive.name);
  switch (directive.place) {
    case DirectivePlace::kAboveTitle:
      if (for_the_menu) return "";
      return name +
             " stands above the title, where only directives for the whole menu go: it belongs "
             "to no entry, and the menu ignores it; put it right above the entry's caption";
    case DirectivePlace::kAboveEntries:
      return name + " stands above the entry list, between the title and the count: " +
             (for_the_menu ? "the menu ignores it there; directives for the whole menu go above "
                             "the title"
                           : "it belongs to no entry, and the menu ignores it; put it right "
                             "above the entry's caption");
    case DirectivePlace::kEntry:
      if (!for_the_menu) return "";
      break;
    case DirectivePlace::kAfterLastEntry:
      if (for_the_menu) break;
      return name + " stands below the last entry: no entry follows it, and the menu ignores it";
  }
  return name +
         " is for the whole menu and works only above the title: anywhere else the menu ignores "
         "it";
}

int64_t DirectiveCheck::Repeated(const Directive& directive) {
  if (directive.place != group_place_ || directive.entry != group_entry_) {
    group_place_ = directive.place;
    group_entry_ = directive.entry;
    group_names_.clear();
  }
  for (const auto& [name, line] : group_names_) {
    if (name == directive.name) return line;
  }
  group_names_.emplace_back(directive.name, directive.line);
  return 0;
}

void DirectiveCheck::Keep(const Directive& directive) {
  if (directive.place != DirectivePlace::kEntry) return;
  if (directive.entry != entry_) {
    entry_ = directive.entry;
    entry_directives_ = EntryDirectiveTexts();
  }
  EntryDirectiveTexts& entry = entry_directives_;
  Directive kept = directive;
  kept.value = entry.kept.emplace_back(directive.value);
  entry.given.Apply(kept);
  if (directive.name == DirectiveName::kDescription) entry.description_line = directive.line;
  if (directive.name == DirectiveName::kDirectory) entry.directory_line = directive.line;
  if (directive.name == DirectiveName::kRunAs) entry.run_as_line = directive.line;
}

const EntryDirectiveTexts& DirectiveCheck::ForEntry(int index) const {
  return index == entry_ ? entry_directives_ : none_;
}

}  // namespace tolvar
