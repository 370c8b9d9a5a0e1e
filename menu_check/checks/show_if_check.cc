// ShowIfCheck: each entry's conditions tried on every machine and Windows release the checker
// names; what only the machine itself can answer (a registry key, a path off the medium) is told
// as such, never guessed.
#include "menu_check/checks/show_if_check.h"

#include <algorithm>

#include "menu_check/model/view_probe.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

bool SystemWanted(const Targets& targets, System system) {
  return system == System::kWindows ? targets.for_windows : targets.for_linux;
}

// Whether a path condition is decided by the machine's system alone: a named folder of the
// other system is never there.
bool NamedFolderOfOtherSystem(const Condition& condition, System system) {
  const bool home = !condition.path.empty() && condition.path[0] == '~';
  const bool percent = !condition.path.empty() && condition.path[0] == '%';
  return system == System::kWindows ? home : percent;
}

bool AsksTheMachine(const Condition& condition) {
  switch (condition.kind) {
    case ConditionKind::kExists:
    case ConditionKind::kMissing:
      return !condition.on_medium;
    case ConditionKind::kKey:
    case ConditionKind::kNoKey:
      return true;
    default:
      return false;
  }
}

// Two conditions that contradict each other whatever the machine answers: "exists X" with
// "missing X", "key K" with "no-key K".
bool Contradict(const Condition& a, const Condition& b) {
  const auto opposite = [](ConditionKind x, ConditionKind y) {
    return (x == ConditionKind::kExists && y == ConditionKind::kMissing) ||
           (x == ConditionKind::kKey && y == ConditionKind::kNoKey);
  };
  return (opposite(a.kind, b.kind) || opposite(b.kind, a.kind)) && a.path == b.path &&
         a.root == b.root;
}

std::string Joined(const std::vector<std::string>& texts, std::string_view last_separator) {
  std::string joined;
  for (size_t i = 0; i < texts.size(); ++i) {
    joined += (i == 0 ? "" : i + 1 == texts.size() ? std::string(last_separator) : ", ") + texts[i];
  }
  return joined;
}

}  // namespace

const std::vector<CheckedMachine>& CheckedMachines() {
  static const std::vector<CheckedMachine> machines = {
      {"windows-x86", System::kWindows, Architecture::kX86},
      {"windows-x64", System::kWindows, Architecture::kX64},
      {"windows-arm64", System::kWindows, Architecture::kArm64},
      {"linux-x64", System::kLinux, Architecture::kX64},
      {"linux-arm64", System::kLinux, Architecture::kArm64},
  };
  return machines;
}

const CheckedMachine* FindCheckedMachine(std::string_view name) {
  for (const CheckedMachine& machine : CheckedMachines()) {
    if (machine.name == name) return &machine;
  }
  return nullptr;
}

std::vector<WindowsRelease> ReleasesOn(Architecture architecture) {
  switch (architecture) {
    case Architecture::kArm64:
      return {WindowsRelease::k10, WindowsRelease::k11};
    case Architecture::kX86:  // Windows 11 is 64-bit alone
      return {WindowsRelease::k7, WindowsRelease::k8, WindowsRelease::k81, WindowsRelease::k10};
    default:
      return {WindowsRelease::k7, WindowsRelease::k8, WindowsRelease::k81, WindowsRelease::k10,
              WindowsRelease::k11};
  }
}

std::string DescribePlaces(const ShowIfRecord& record) {
  return "entry " + std::to_string(record.entry) + " is listed " + PlacesOf(record);
}

std::string PlacesOf(const ShowIfRecord& record) {
  if (record.places.empty()) return "on none of the machines checked";
  std::vector<std::string> places;
  for (const ShowIfPlace& place : record.places) {
    places.push_back(place.machine +
                     (place.releases.empty() ? "" : " (" + Joined(place.releases, ", ") + ")"));
  }
  return "on " + Joined(places, " and ") +
         (record.when.empty() ? std::string()
                              : ", where " + Joined(record.when, " and ") + " on the machine");
}

std::vector<const CheckedMachine*> ShowIfCheck::Machines() const {
  std::vector<const CheckedMachine*> machines;
  for (const CheckedMachine& machine : CheckedMachines()) {
    if (!SystemWanted(targets_, machine.system)) continue;
    if (targets_.architecture && *targets_.architecture != machine.architecture) continue;
    machines.push_back(&machine);
  }
  return machines;
}

bool ShowIfCheck::OnMedium(const std::string& path) {
  return probe_.Exists(path) || probe_.IsFolder(path);
}

std::string ShowIfCheck::CheckLine(const Directive& directive) {
  const Expected<Condition> condition = ParseCondition(directive.value);
  const std::string spelled = DirectiveSpelling(DirectiveName::kShowIf);
  if (!condition) {
    return spelled + " " + QuotedText(std::string(directive.value)) + " " + condition.reason() +
           ": the menu does not know the condition, and it hides nothing";
  }
  if (!condition->on_medium || OnMedium(condition->path)) return "";
  return spelled + " " + QuotedText(ConditionText(condition.value())) + " names " +
         QuotedText(condition->path) + ", which is not on the medium: the condition " +
         (condition->kind == ConditionKind::kExists ? "never holds" : "always holds");
}

bool ShowIfCheck::CanHold(const std::vector<Condition>& conditions, const CheckedMachine& machine,
                          WindowsRelease release) const {
  for (const Condition& condition : conditions) {
    switch (condition.kind) {
      case ConditionKind::kSystem:
        if (condition.system != machine.system) return false;
        break;
      case ConditionKind::kRelease:
        if (machine.system != System::kWindows ||
            !Compares(release, condition.comparison, condition.release)) {
          return false;
        }
        break;
      case ConditionKind::kArchitecture:
        if (condition.architecture != machine.architecture) return false;
        break;
      case ConditionKind::kExists:
        if (!condition.on_medium && NamedFolderOfOtherSystem(condition, machine.system)) {
          return false;
        }
        break;
      case ConditionKind::kKey:
        if (machine.system != System::kWindows) return false;
        break;
      case ConditionKind::kMissing:
      case ConditionKind::kNoKey:
        break;
    }
  }
  return true;
}

ShowIfRecord ShowIfCheck::CheckEntry(int index, std::string_view joined,
                                     std::optional<System> only_on, std::string* warning) {
  const std::vector<CheckedMachine>& all = CheckedMachines();
  if (shown_.empty()) {
    for (const CheckedMachine& machine : all) {
      shown_.emplace_back(
          machine.system == System::kWindows ? ReleasesOn(machine.architecture).size() : 1, false);
    }
  }
  std::vector<Condition> conditions;
  ShowIfRecord record;
  record.entry = index;
  bool holds_on_medium = true;
  for (std::string_view value : ShowIfValues(joined)) {
    Expected<Condition> condition = ParseCondition(value);
    if (!condition) continue;  // hides nothing; CheckLine told it
    if (condition->on_medium) {
      const bool there = OnMedium(condition->path);
      if (there != (condition->kind == ConditionKind::kExists)) holds_on_medium = false;
    }
    conditions.push_back(std::move(condition).value());
  }
  bool contradiction = false;
  for (size_t i = 0; i < conditions.size() && !contradiction; ++i) {
    for (size_t j = i + 1; j < conditions.size(); ++j) {
      if (Contradict(conditions[i], conditions[j])) contradiction = true;
    }
  }
  for (System system : {System::kWindows, System::kLinux}) {
    if (!only_on || *only_on == system) any_entry_[system == System::kLinux] = true;
  }

  bool anywhere = false;
  const std::vector<const CheckedMachine*> wanted = Machines();
  for (size_t m = 0; m < all.size(); ++m) {
    const CheckedMachine& machine = all[m];
    if (only_on && *only_on != machine.system) continue;
    const std::vector<WindowsRelease> releases = machine.system == System::kWindows
                                                     ? ReleasesOn(machine.architecture)
                                                     : std::vector<WindowsRelease>{};
    ShowIfPlace place{std::string(machine.name), {}};
    bool somewhere = false;
    bool everywhere = true;
    for (size_t r = 0; r < shown_[m].size(); ++r) {
      const WindowsRelease release = releases.empty() ? WindowsRelease::kOlder : releases[r];
      const bool can = !contradiction && holds_on_medium && CanHold(conditions, machine, release);
      if (!can) {
        everywhere = false;
        continue;
      }
      somewhere = true;
      shown_[m][r] = true;
      if (!releases.empty()) place.releases.emplace_back(ReleaseText(release));
    }
    anywhere = anywhere || somewhere;
    if (everywhere) place.releases.clear();
    if (somewhere && std::find(wanted.begin(), wanted.end(), &machine) != wanted.end()) {
      record.places.push_back(std::move(place));
    }
  }
  // What only the machines it is listed on answer: their system decides the rest.
  for (const Condition& condition : conditions) {
    const std::string text = ConditionText(condition);
    const bool asked =
        std::any_of(record.places.begin(), record.places.end(), [&](const ShowIfPlace& place) {
          const System system = FindCheckedMachine(place.machine)->system;
          return AsksTheMachine(condition) &&
                 (condition.kind == ConditionKind::kKey || condition.kind == ConditionKind::kNoKey
                      ? system == System::kWindows
                      : !NamedFolderOfOtherSystem(condition, system));
        });
    if (asked && std::find(record.when.begin(), record.when.end(), text) == record.when.end()) {
      record.when.push_back(text);
    }
  }
  // A path of the medium that is not on it is told on its own line already.
  if (!anywhere && holds_on_medium && !joined.empty()) {
    std::vector<std::string> texts;
    for (const Condition& condition : conditions) texts.push_back(ConditionText(condition));
    if (only_on) {
      texts.insert(texts.begin(), DirectiveSpelling(DirectiveName::kSystem) + " " +
                                      (*only_on == System::kWindows ? "windows" : "linux"));
    }
    *warning = "entry " + std::to_string(index) +
               " is never listed: its conditions cannot all hold on one machine (" +
               Joined(texts, " and ") + ")";
  }
  return record;
}

std::vector<std::string> ShowIfCheck::EmptyLists() const {
  std::vector<std::string> warnings;
  if (shown_.empty()) return warnings;
  const std::vector<CheckedMachine>& all = CheckedMachines();
  for (const CheckedMachine* machine : Machines()) {
    const size_t m = static_cast<size_t>(machine - all.data());
    if (!any_entry_[machine->system == System::kLinux]) continue;  // '#system: says it already
    std::vector<std::string> empty;
    for (size_t r = 0; r < shown_[m].size(); ++r) {
      if (!shown_[m][r] && machine->system == System::kWindows) {
        empty.push_back("Windows " +
                        std::string(ReleaseText(ReleasesOn(machine->architecture)[r])));
      }
    }
    const bool none = std::none_of(shown_[m].begin(), shown_[m].end(), [](bool b) { return b; });
    if (!none && empty.empty()) continue;
    warnings.push_back("the list on " + std::string(machine->name) +
                       (none ? "" : " with " + Joined(empty, " or ")) + " shows no entry: the " +
                       DirectiveSpelling(DirectiveName::kShowIf) + " and " +
                       DirectiveSpelling(DirectiveName::kSystem) + " lines hide every entry there");
  }
  return warnings;
}

}  // namespace tolvar
