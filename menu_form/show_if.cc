// Conditions of "'#show-if:": each read once into a Condition, then judged against SystemFacts.
#include "menu_form/show_if.h"

#include <array>
#include <cctype>

#include "shared_routines/native_path.h"

namespace tolvar {
namespace {

// The folders a path may start with, and the one system that has each. Nothing else is
// expanded: a medium's path must mean the same on every machine but for these.
struct NamedFolderRow {
  std::string_view name;
  System system;
};
constexpr std::array<NamedFolderRow, 7> kNamedFolders = {{
    {"%ProgramFiles%", System::kWindows},
    {"%ProgramFiles(x86)%", System::kWindows},
    {"%ProgramData%", System::kWindows},
    {"%SystemRoot%", System::kWindows},
    {"%APPDATA%", System::kWindows},
    {"%LOCALAPPDATA%", System::kWindows},
    {"~", System::kLinux},
}};

struct ReleaseRow {
  std::string_view text;
  WindowsRelease release;
};
constexpr std::array<ReleaseRow, 5> kReleases = {{
    {"7", WindowsRelease::k7},
    {"8", WindowsRelease::k8},
    {"8.1", WindowsRelease::k81},
    {"10", WindowsRelease::k10},
    {"11", WindowsRelease::k11},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The named folder `path` starts with, or null; the folder's name ends at the second '%', and
// "~" is followed by a separator or nothing ("~user" is a name on the medium).
const NamedFolderRow* NamedFolderOf(std::string_view path) {
  if (path.size() > 1 && path[0] == '%') {
    const size_t end = path.find('%', 1);
    if (end == std::string_view::npos) return nullptr;
    for (const NamedFolderRow& row : kNamedFolders) {
      if (EqualsIgnoringCase(path.substr(0, end + 1), row.name)) return &row;
    }
    return nullptr;
  }
  if (!path.empty() && path[0] == '~' && (path.size() == 1 || path[1] == '/' || path[1] == '\\')) {
    return &kNamedFolders.back();
  }
  return nullptr;
}

bool IsAbsolute(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() > 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

Expected<Condition> PathCondition(ConditionKind kind, std::string_view path) {
  if (path.empty()) return Expected<Condition>::Failure("names no path");
  if (path.find('\0') != std::string_view::npos) {
    return Expected<Condition>::Failure("holds a NUL character, which no path can");
  }
  if (NamesNoLocalFile(path)) {
    return Expected<Condition>::Failure(
        "names a share on another machine or a device, which the menu never asks for");
  }
  if (path[0] == '%' && NamedFolderOf(path) == nullptr) {
    return Expected<Condition>::Failure(
        "starts with a folder the menu does not know; it knows %ProgramFiles%, "
        "%ProgramFiles(x86)%, %ProgramData%, %SystemRoot%, %APPDATA%, %LOCALAPPDATA% and ~");
  }
  Condition condition;
  condition.kind = kind;
  condition.path = std::string(path);
  condition.on_medium = NamedFolderOf(path) == nullptr && !IsAbsolute(path);
  return condition;
}

Expected<Condition> KeyCondition(ConditionKind kind, std::string_view key) {
  const size_t backslash = key.find('\\');
  const std::string_view root = key.substr(0, backslash);
  Condition condition;
  condition.kind = kind;
  if (EqualsIgnoringCase(root, "HKLM") || EqualsIgnoringCase(root, "HKEY_LOCAL_MACHINE")) {
    condition.root = RegistryRoot::kLocalMachine;
  } else if (EqualsIgnoringCase(root, "HKCU") || EqualsIgnoringCase(root, "HKEY_CURRENT_USER")) {
    condition.root = RegistryRoot::kCurrentUser;
  } else {
    return Expected<Condition>::Failure("names a key outside HKLM\\ and HKCU\\");
  }
  std::string_view subkey = backslash == std::string_view::npos ? "" : key.substr(backslash + 1);
  while (!subkey.empty() && subkey.back() == '\\') subkey.remove_suffix(1);
  if (subkey.empty() || subkey.find('\0') != std::string_view::npos) {
    return Expected<Condition>::Failure("names no key below its root");
  }
  condition.path = std::string(subkey);
  return condition;
}

Expected<Condition> ReleaseCondition(std::string_view comparison) {
  Condition condition;
  condition.kind = ConditionKind::kRelease;
  struct OperatorRow {
    std::string_view text;
    Comparison comparison;
  };
  // Two-character operators first, so that ">=" is not read as ">".
  static constexpr std::array<OperatorRow, 5> kOperators = {{
      {">=", Comparison::kGreaterOrEqual},
      {"<=", Comparison::kLessOrEqual},
      {">", Comparison::kGreater},
      {"<", Comparison::kLess},
      {"=", Comparison::kEqual},
  }};
  const OperatorRow* found = nullptr;
  for (const OperatorRow& row : kOperators) {
    if (comparison.substr(0, row.text.size()) == row.text) {
      found = &row;
      break;
    }
  }
  if (found == nullptr) {
    return Expected<Condition>::Failure("compares with none of <, <=, =, >=, >");
  }
  condition.comparison = found->comparison;
  const std::string_view release = TrimBlanks(comparison.substr(found->text.size()));
  for (const ReleaseRow& row : kReleases) {
    if (row.text == release) {
      condition.release = row.release;
      return condition;
    }
  }
  return Expected<Condition>::Failure("compares with a release other than 7, 8, 8.1, 10 and 11");
}

}  // namespace

WindowsRelease ReleaseOf(uint32_t major, uint32_t minor, uint32_t build) {
  if (major > 10 || (major == 10 && build >= 22000)) return WindowsRelease::k11;
  if (major == 10) return WindowsRelease::k10;
  if (major == 6 && minor >= 3) return WindowsRelease::k81;
  if (major == 6 && minor == 2) return WindowsRelease::k8;
  if (major == 6 && minor == 1) return WindowsRelease::k7;
  return major > 6 ? WindowsRelease::k81 : WindowsRelease::kOlder;
}

Expected<Condition> ParseCondition(std::string_view text) {
  text = TrimBlanks(text);
  size_t word_end = 0;
  while (word_end < text.size() && !IsBlank(text[word_end]) && text[word_end] != '<' &&
         text[word_end] != '>' && text[word_end] != '=') {
    ++word_end;
  }
  const std::string_view word = text.substr(0, word_end);
  const std::string_view rest = TrimBlanks(text.substr(word_end));
  Condition condition;
  if (word == "windows" || word == "linux") {
    if (word == "windows" && !rest.empty()) return ReleaseCondition(rest);
    if (!rest.empty()) return Expected<Condition>::Failure("linux takes no version");
    condition.system = word == "windows" ? System::kWindows : System::kLinux;
    return condition;
  }
  for (Architecture architecture : {Architecture::kX86, Architecture::kX64, Architecture::kArm64}) {
    if (word != ArchitectureText(architecture)) continue;
    if (!rest.empty())
      return Expected<Condition>::Failure("an architecture takes nothing after it");
    condition.kind = ConditionKind::kArchitecture;
    condition.architecture = architecture;
    return condition;
  }
  if (word == "exists") return PathCondition(ConditionKind::kExists, rest);
  if (word == "missing") return PathCondition(ConditionKind::kMissing, rest);
  if (word == "key") return KeyCondition(ConditionKind::kKey, rest);
  if (word == "no-key") return KeyCondition(ConditionKind::kNoKey, rest);
  return Expected<Condition>::Failure(
      "is none of windows, linux, x86, x64, arm64, exists, missing, key and no-key");
}

bool Compares(WindowsRelease release, Comparison comparison, WindowsRelease than) {
  switch (comparison) {
    case Comparison::kLess:
      return release < than;
    case Comparison::kLessOrEqual:
      return release <= than;
    case Comparison::kEqual:
      return release == than;
    case Comparison::kGreaterOrEqual:
      return release >= than;
    case Comparison::kGreater:
      return release > than;
  }
  return false;
}

std::string PathOnMachine(const Condition& condition, const SystemFacts& facts) {
  const NamedFolderRow* named = NamedFolderOf(condition.path);
  if (named == nullptr) return condition.path;
  if (named->system != facts.OnSystem()) return "";
  const std::string folder = facts.NamedFolder(named->name);
  if (folder.empty()) return "";
  const size_t name_length = named->name == "~" ? 1 : condition.path.find('%', 1) + 1;
  const std::string path = folder + condition.path.substr(name_length);
  // A profile kept on a server gives a share as the folder: never looked up, as no path of the
  // medium's is.
  return NamesNoLocalFile(path) ? "" : path;
}

bool Holds(const Condition& condition, const SystemFacts& facts) {
  const bool on_windows = facts.OnSystem() == System::kWindows;
  switch (condition.kind) {
    case ConditionKind::kSystem:
      return facts.OnSystem() == condition.system;
    case ConditionKind::kRelease:
      return on_windows && Compares(facts.Release(), condition.comparison, condition.release);
    case ConditionKind::kArchitecture:
      return facts.Machine() == condition.architecture;
    case ConditionKind::kExists:
    case ConditionKind::kMissing: {
      const std::string path = PathOnMachine(condition, facts);
      const bool there = !path.empty() && facts.PathExists(path);
      return there == (condition.kind == ConditionKind::kExists);
    }
    case ConditionKind::kKey:
    case ConditionKind::kNoKey: {
      const bool there = on_windows && facts.KeyExists(condition.root, condition.path);
      return there == (condition.kind == ConditionKind::kKey);
    }
  }
  return true;
}

std::vector<std::string_view> ShowIfValues(std::string_view joined) {
  std::vector<std::string_view> values;
  while (!joined.empty()) {
    const size_t end = joined.find('\n');
    values.push_back(joined.substr(0, end));
    if (end == std::string_view::npos) break;
    joined.remove_prefix(end + 1);
  }
  return values;
}

bool ShowIfHolds(std::string_view joined, const SystemFacts& facts) {
  for (std::string_view value : ShowIfValues(joined)) {
    const Expected<Condition> condition = ParseCondition(value);
    if (condition && !Holds(condition.value(), facts)) return false;
  }
  return true;
}

std::string_view ReleaseText(WindowsRelease release) {
  for (const ReleaseRow& row : kReleases) {
    if (row.release == release) return row.text;
  }
  return "before 7";
}

std::string_view ArchitectureText(Architecture architecture) {
  switch (architecture) {
    case Architecture::kX86:
      return "x86";
    case Architecture::kX64:
      return "x64";
    case Architecture::kArm64:
      return "arm64";
    case Architecture::kOther:
      break;
  }
  return "another architecture";
}

std::string ConditionText(const Condition& condition) {
  static constexpr std::array<std::string_view, 5> kOperators = {"<", "<=", "=", ">=", ">"};
  switch (condition.kind) {
    case ConditionKind::kSystem:
      return condition.system == System::kWindows ? "windows" : "linux";
    case ConditionKind::kRelease:
      return "windows " + std::string(kOperators[static_cast<size_t>(condition.comparison)]) + " " +
             std::string(ReleaseText(condition.release));
    case ConditionKind::kArchitecture:
      return std::string(ArchitectureText(condition.architecture));
    case ConditionKind::kExists:
      return "exists " + condition.path;
    case ConditionKind::kMissing:
      return "missing " + condition.path;
    case ConditionKind::kKey:
    case ConditionKind::kNoKey:
      return std::string(condition.kind == ConditionKind::kKey ? "key " : "no-key ") +
             (condition.root == RegistryRoot::kLocalMachine ? "HKLM\\" : "HKCU\\") + condition.path;
  }
  return "";
}

}  // namespace tolvar
