// ShowIfCheck: what an entry's "'#show-if:" conditions mean on each machine the menu runs on, in
// the core's grammar (menu_form/show_if): where each entry shows, conditions the menu does not
// know, conditions that can never hold together, paths of the medium that are not on it, and a
// machine whose list shows no entry.
#ifndef TOLVAR_MENU_CHECK_CHECKS_SHOW_IF_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_SHOW_IF_CHECK_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu_check/menu_check.h"
#include "menu_form/show_if.h"

namespace tolvar {

class ViewProbe;

// A machine the checker names, as --target names it ("windows-x64").
struct CheckedMachine {
  std::string_view name;
  System system;
  Architecture architecture;
};
const std::vector<CheckedMachine>& CheckedMachines();
// The machine `name` names; null for none.
const CheckedMachine* FindCheckedMachine(std::string_view name);

class ShowIfCheck {
 public:
  ShowIfCheck(ViewProbe& probe, const Targets& targets) : probe_(probe), targets_(targets) {}

  // The warning about one "'#show-if:" line the menu takes: a condition it does not know, or a
  // path of the medium that is not on it; empty when there is none.
  std::string CheckLine(const Directive& directive);

  // Entry `index`, with its "'#show-if:" values `joined` (as the interpreter keeps them) and its
  // "'#system:": where it shows, and the warning when it shows nowhere. Every entry is told, in
  // order, so that EmptyLists can tell where the list is empty.
  ShowIfRecord CheckEntry(int index, std::string_view joined, std::optional<System> only_on,
                          std::string* warning);

  // After the last entry: a warning for each machine of the targets (and each Windows release on
  // it) where no entry shows; none where every entry is for the other system, which the menu
  // file's check tells already.
  std::vector<std::string> EmptyLists() const;

 private:
  // The machines the targets cover.
  std::vector<const CheckedMachine*> Machines() const;
  // Whether the conditions that need no machine to answer them can hold on `machine` with
  // `release`; `conditions` are the entry's known ones.
  bool CanHold(const std::vector<Condition>& conditions, const CheckedMachine& machine,
               WindowsRelease release) const;
  bool OnMedium(const std::string& path);

  ViewProbe& probe_;
  const Targets targets_;
  // Per machine of CheckedMachines() and release (index of the release), whether some entry
  // may show there; and whether some entry is listed on each system at all.
  std::vector<std::vector<bool>> shown_;
  bool any_entry_[2] = {false, false};
};

// The releases a Windows machine with `architecture` can run, oldest first: ARM64 Windows begins
// with 10.
std::vector<WindowsRelease> ReleasesOn(Architecture architecture);

// "entry 3 is listed on windows-x64 (10, 11) and linux-x64, where exists X on the machine", for
// a record with places.
std::string DescribePlaces(const ShowIfRecord& record);
// Where it says that the entry is listed: "on windows-x64 (10, 11) and linux-x64, where exists
// %ProgramFiles%\X on the machine".
std::string PlacesOf(const ShowIfRecord& record);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_SHOW_IF_CHECK_H_
