// DirectiveInterpreter: the table's rules applied line by line, keeping one value per name.
#include "menu_form/directive_interpreter.h"

#include <algorithm>
#include <cctype>

namespace tolvar {
namespace {

size_t EditDistance(std::string_view a, std::string_view b) {
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

// The length in bytes of the first `characters` characters of UTF-8 `text`, all of it when it
// has no more.
size_t CharactersLength(std::string_view text, size_t characters) {
  size_t seen = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    // Each character begins with a byte that is not a continuation byte (10xxxxxx).
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == characters) return at;
  }
  return text.size();
}

}  // namespace

std::string_view NearestDirectiveName(std::string_view written) {
  std::string lower(written);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view nearest;
  size_t best = lower.size();
  for (const DirectiveRow& row : DirectiveRows()) {
    const size_t distance = EditDistance(lower, row.text);
    // A slip changes a letter or two; a long name takes a few more.
    if (distance < best && distance <= std::max<size_t>(2, row.text.size() / 3)) {
      best = distance;
      nearest = row.text;
    }
  }
  return nearest;
}

void DirectiveInterpreter::Reset(Group& group) {
  const size_t rows = DirectiveRows().size();
  group.values.assign(rows, std::string());
  group.lines.assign(rows, 0);
  group.first_lines.assign(rows, 0);
}

DirectiveJudgement DirectiveInterpreter::Take(const Directive& directive) {
  DirectiveJudgement judgement;
  if (directive.comment) {
    judgement.verdict = DirectiveVerdict::kComment;
    return judgement;
  }
  const DirectiveRow* row = FindDirectiveRow(directive.name);
  if (row == nullptr) {
    judgement.verdict = DirectiveVerdict::kUnknownName;
    return judgement;
  }
  Group* group = nullptr;
  if (directive.place == DirectivePlace::kAboveTitle && row->for_menu) {
    group = &menu_;
  } else if (directive.place == DirectivePlace::kEntry && !row->for_menu) {
    if (directive.entry != entry_index_) {
      entry_index_ = directive.entry;
      Reset(entry_);
    }
    group = &entry_;
  } else {
    judgement.verdict = DirectiveVerdict::kMisplaced;
    return judgement;
  }
  if (!DirectiveValueAllowed(row->name, directive.value)) {
    judgement.verdict = DirectiveVerdict::kValueNotAllowed;
    return judgement;
  }
  if (row->empty_ignored && directive.value.empty()) {
    judgement.verdict = DirectiveVerdict::kEmptyValue;
    return judgement;
  }
  if (group->values.empty()) Reset(*group);
  return Keep(*group, *row, static_cast<size_t>(row - DirectiveRows().data()), directive);
}

DirectiveJudgement DirectiveInterpreter::Keep(Group& group, const DirectiveRow& row, size_t index,
                                              const Directive& directive) {
  DirectiveJudgement judgement;
  std::string_view value = directive.value;
  if (row.longest_shown != 0) {
    const size_t kept = CharactersLength(value, row.longest_shown);
    if (kept < value.size()) {
      judgement.verdict = DirectiveVerdict::kCut;
      judgement.kept_characters = row.longest_shown;
      value = value.substr(0, kept);
    }
  }
  if (row.every_line_counts && group.lines[index] != 0) {
    std::string& kept = group.values[index];
    if (static_cast<size_t>(std::count(kept.begin(), kept.end(), '\n')) + 1 >= kMostLinesKept) {
      judgement.verdict = DirectiveVerdict::kBeyondLinesKept;
      return judgement;
    }
    kept.append(1, '\n').append(value);
    group.lines[index] = directive.line;
    return judgement;
  }
  if (group.first_lines[index] == 0) {
    group.first_lines[index] = directive.line;
  } else {
    judgement.first_line = group.first_lines[index];
  }
  // Only the last of a name is kept: a thousand overridden values cost no more than one.
  group.values[index].assign(value);
  group.lines[index] = directive.line;
  return judgement;
}

MenuTexts DirectiveInterpreter::Menu() const {
  MenuTexts texts;
  const std::vector<DirectiveRow>& rows = DirectiveRows();
  for (size_t i = 0; i < menu_.lines.size(); ++i) {
    if (menu_.lines[i] != 0) rows[i].set_menu(texts, menu_.values[i]);
  }
  return texts;
}

EntryDirectives DirectiveInterpreter::ForEntry(int index) const {
  EntryDirectives entry;
  if (index != entry_index_) return entry;
  const std::vector<DirectiveRow>& rows = DirectiveRows();
  for (size_t i = 0; i < entry_.lines.size(); ++i) {
    if (entry_.lines[i] != 0) rows[i].set_entry(entry, entry_.values[i]);
  }
  return entry;
}

int64_t DirectiveInterpreter::EntryLine(int index, DirectiveName name) const {
  const DirectiveRow* row = FindDirectiveRow(name);
  if (index != entry_index_ || row == nullptr || entry_.lines.empty()) return 0;
  return entry_.lines[static_cast<size_t>(row - DirectiveRows().data())];
}

size_t DirectiveInterpreter::KeptBytes() const {
  size_t bytes = 0;
  for (const Group* group : {&menu_, &entry_}) {
    for (const std::string& value : group->values) bytes += value.size();
  }
  return bytes;
}

}  // namespace tolvar
