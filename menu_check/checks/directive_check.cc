// DirectiveCheck: the interpreter's verdicts told back as warnings, a bounded number of each kind.
#include "menu_check/checks/directive_check.h"

#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

// "\"windows\" or \"linux\"", the values a directive takes.
std::string AllowedValues(DirectiveName name) {
  const std::vector<std::string_view> values = AllowedDirectiveValues(name);
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    text += (i == 0                   ? ""
             : i + 1 == values.size() ? " or "
                                      : ", ") +
            QuotedText(std::string(values[i]));
  }
  return text;
}

// The kinds of finding counted apart: each verdict, and a line that overrides another.
constexpr size_t kOverrideKind = kDirectiveFindingKinds - 1;
size_t KindOf(const DirectiveJudgement& judgement) {
  if (judgement.verdict == DirectiveVerdict::kTaken) return kOverrideKind;
  return static_cast<size_t>(judgement.verdict);
}

// At most `longest` bytes of UTF-8 `text`, cut between characters.
std::string CutBetweenCharacters(std::string_view text, size_t longest) {
  if (text.size() <= longest) return std::string(text);
  size_t end = longest;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

}  // namespace

std::string DirectiveCheck::Check(const Directive& directive) {
  if (!directive.comment) Record(directive);  // a comment to the menu is no directive to list
  const DirectiveJudgement judgement = interpreter_.Take(directive);
  // A comment is worth a finding only when a directive was plainly meant; the nearest name to
  // an unknown one is looked for only when it is named, not for millions of such lines.
  const bool comment = judgement.verdict == DirectiveVerdict::kComment;
  std::string_view nearest = comment ? NearestDirectiveName(directive.written_name) : "";
  const bool finding = comment                                         ? !nearest.empty()
                       : judgement.verdict == DirectiveVerdict::kTaken ? judgement.first_line != 0
                                                                       : true;
  if (!finding) return "";
  KindCount& count = counts_[KindOf(judgement)];
  if (++count.found <= kMostFindingsOfAKind) {
    if (judgement.verdict == DirectiveVerdict::kUnknownName) {
      nearest = NearestDirectiveName(directive.written_name);
    }
    return Words(directive, judgement, nearest);
  }
  if (count.first_unnamed_line == 0) count.first_unnamed_line = directive.line;
  return "";
}

void DirectiveCheck::Record(const Directive& directive) {
  if (records.size() < kMostDirectiveRecords) {
    records.push_back({directive.line, directive.entry, directive.place,
                       std::string(directive.written_name),
                       CutBetweenCharacters(directive.value, kLongestRecordedValue)});
  } else if (records_left_out_++ == 0) {
    first_left_out_line_ = directive.line;
  }
}

std::string DirectiveCheck::Words(const Directive& directive, const DirectiveJudgement& judgement,
                                  std::string_view nearest) const {
  const std::string name = DirectiveSpelling(directive.written_name);
  switch (judgement.verdict) {
    case DirectiveVerdict::kUnknownName:
      return "the menu knows no directive " + name + " and ignores the line" +
             (nearest.empty() ? "" : ": did you mean " + DirectiveSpelling(nearest) + "?");
    case DirectiveVerdict::kComment:
      return "the line is a comment to the menu, not a directive: a directive is \"'#\" right "
             "after the line's apostrophe, then its name in lower case and \":\"; did you mean " +
             DirectiveSpelling(nearest) + "?";
    case DirectiveVerdict::kMisplaced:
      return Misplaced(directive);
    case DirectiveVerdict::kValueNotAllowed:
      return name + " takes " + AllowedValues(directive.name) + ", not " +
             QuotedText(std::string(directive.value)) + ": the menu ignores the line";
    case DirectiveVerdict::kEmptyValue:
      return name +
             " has no text after the colon: the menu ignores the line and keeps its own "
             "text";
    case DirectiveVerdict::kCut:
      return name + " holds more than the " + std::to_string(judgement.kept_characters) +
             " characters the menu shows: it shows the first " +
             std::to_string(judgement.kept_characters) + " alone";
    case DirectiveVerdict::kBeyondLinesKept:
      return "entry " + std::to_string(directive.entry) + " has more than " +
             std::to_string(kMostLinesKept) + " " + name +
             " lines: the menu ignores this one and those after it";
    case DirectiveVerdict::kTaken:
      break;
  }
  if (judgement.first_line == 0) return "";
  return (directive.place == DirectivePlace::kEntry
              ? "entry " + std::to_string(directive.entry) + " has"
              : std::string("the menu has")) +
         " a second " + name + " (the first is on line " + std::to_string(judgement.first_line) +
         "): the last holds";
}

std::string DirectiveCheck::Misplaced(const Directive& directive) const {
  const std::string name = DirectiveSpelling(directive.written_name);
  const bool for_the_menu = IsMenuDirective(directive.name);
  switch (directive.place) {
    case DirectivePlace::kAboveTitle:
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
      break;
    case DirectivePlace::kAfterLastEntry:
      if (for_the_menu) break;
      return name + " stands below the last entry: no entry follows it, and the menu ignores it";
  }
  return name +
         " is for the whole menu and works only above the title: anywhere else the menu ignores "
         "it";
}

const EntryDirectiveTexts& DirectiveCheck::ForEntry(int index) {
  entry_.given = interpreter_.ForEntry(index);
  entry_.arguments_line = interpreter_.EntryLine(index, DirectiveName::kArguments);
  entry_.description_line = interpreter_.EntryLine(index, DirectiveName::kDescription);
  entry_.directory_line = interpreter_.EntryLine(index, DirectiveName::kDirectory);
  entry_.run_as_line = interpreter_.EntryLine(index, DirectiveName::kRunAs);
  entry_.icon_line = interpreter_.EntryLine(index, DirectiveName::kIcon);
  return entry_;
}

std::vector<Finding> DirectiveCheck::Summaries() const {
  std::vector<Finding> summaries;
  for (const KindCount& count : counts_) {
    if (count.found <= kMostFindingsOfAKind) continue;
    summaries.push_back({count.first_unnamed_line, Severity::kWarning,
                         "and " + std::to_string(count.found - kMostFindingsOfAKind) +
                             " more directive lines like the " +
                             std::to_string(kMostFindingsOfAKind) +
                             " above, from this line on: the checker names only the first"});
  }
  if (records_left_out_ > 0) {
    summaries.push_back({first_left_out_line_, Severity::kNote,
                         "the report lists the first " + std::to_string(kMostDirectiveRecords) +
                             " directive lines alone: " + std::to_string(records_left_out_) +
                             " more, from this line on, are left out of its list of directives"});
  }
  return summaries;
}

}  // namespace tolvar
