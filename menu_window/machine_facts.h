// MachineFacts: what "'#show-if:" conditions ask of the machine the menu runs on, answered by the
// system itself. One body per platform; what a condition means is the core's (menu_form/show_if).
#ifndef TOLVAR_MENU_WINDOW_MACHINE_FACTS_H_
#define TOLVAR_MENU_WINDOW_MACHINE_FACTS_H_

#include <string>
#include <string_view>

#include "menu_form/show_if.h"

namespace tolvar {

class MachineFacts : public SystemFacts {
 public:
  System OnSystem() const override;
  WindowsRelease Release() const override;
  Architecture Machine() const override;
  bool PathExists(const std::string& path) const override;
  bool KeyExists(RegistryRoot root, const std::string& subkey) const override;
  std::string NamedFolder(std::string_view name) const override;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_MACHINE_FACTS_H_
