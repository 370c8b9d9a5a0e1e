// Conditions of "'#show-if:": the grammar of one condition, and whether a list of them holds on a
// machine, asked through SystemFacts. The menu hides an entry whose conditions do not all hold;
// the checker asks the same grammar what each condition means on the machines it can name.
#ifndef TOLVAR_MENU_FORM_SHOW_IF_H_
#define TOLVAR_MENU_FORM_SHOW_IF_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menu_form/directive.h"
#include "menu_form/result.h"

namespace tolvar {

// The machine's own architecture, not the one the menu was built for.
enum class Architecture { kX86, kX64, kArm64, kOther };

// The Windows releases a condition can name, oldest first; kOlder is anything before 7.
enum class WindowsRelease { kOlder, k7, k8, k81, k10, k11 };

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// What a condition can ask of the machine the menu runs on. The platform's body answers from the
// system itself; the checker and the tests answer for machines they name.
class SystemFacts {
 public:
  virtual ~SystemFacts() = default;
  virtual System OnSystem() const = 0;
  // Windows' own version (major, minor, build); asked only on Windows.
  virtual WindowsRelease Release() const = 0;
  virtual Architecture Machine() const = 0;
  // Whether a file or folder is at `path`: a path as the menu file writes it, absolute or relative
  // to the medium's root (the working folder), with any named folder already put in. False when
  // it cannot be asked.
  virtual bool PathExists(const std::string& path) const = 0;
  // Whether the registry key `subkey` of `root` is there (the 64-bit view on 64-bit Windows).
  // Asked only on Windows; false when it cannot be opened.
  virtual bool KeyExists(RegistryRoot root, const std::string& subkey) const = 0;
  // The folder a named folder of the grammar ("%ProgramFiles%", "~") is on this machine; empty
  // when this system has none, or it is not set.
  virtual std::string NamedFolder(std::string_view name) const = 0;
};

// The release a Windows version number is: 10.0 from build 22000 on is 11.
WindowsRelease ReleaseOf(uint32_t major, uint32_t minor, uint32_t build);

enum class ConditionKind { kSystem, kRelease, kArchitecture, kExists, kMissing, kKey, kNoKey };
enum class Comparison { kLess, kLessOrEqual, kEqual, kGreaterOrEqual, kGreater };

// One condition as its line says it.
struct Condition {
  ConditionKind kind = ConditionKind::kSystem;
  System system = System::kWindows;  // kSystem; kRelease is always Windows
  Comparison comparison = Comparison::kEqual;
  WindowsRelease release = WindowsRelease::k10;
  Architecture architecture = Architecture::kX86;
  // kExists, kMissing: the path as written ("%ProgramFiles%\Tool", "~/.tool", "setup\x.exe");
  // kKey, kNoKey: the key below its root, as written.
  std::string path;
  RegistryRoot root = RegistryRoot::kLocalMachine;
  // kExists, kMissing: the path is relative to the medium's root.
  bool on_medium = false;
};

// The condition `text` (a "'#show-if:" value) says, or why it is none: a condition the menu does
// not know hides nothing.
Expected<Condition> ParseCondition(std::string_view text);

// Whether `release` compares to `than` as `comparison` says.
bool Compares(WindowsRelease release, Comparison comparison, WindowsRelease than);

// Whether `condition` holds on the machine `facts` describes. A path under a named folder the
// machine does not have, or that turns out to name another machine's share, is not there.
bool Holds(const Condition& condition, const SystemFacts& facts);

// The path a kExists or kMissing condition asks about on `facts`' machine: the named folder put
// in; empty when the machine has no such folder.
std::string PathOnMachine(const Condition& condition, const SystemFacts& facts);

// The values of an entry's "'#show-if:" lines, as the directive interpreter keeps them: one per
// line, joined by '\n' (no line holds one).
std::vector<std::string_view> ShowIfValues(std::string_view joined);

// Whether an entry whose "'#show-if:" lines are `joined` is listed: every condition the menu
// knows holds. No lines, or only unknown conditions: it is listed.
bool ShowIfHolds(std::string_view joined, const SystemFacts& facts);

// The condition as it is written best, for messages: "windows >= 10", "exists setup\x.exe".
std::string ConditionText(const Condition& condition);
std::string_view ReleaseText(WindowsRelease release);
std::string_view ArchitectureText(Architecture architecture);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_SHOW_IF_H_
