// EntryCheck: one entry of the menu file as each system that lists it would show and launch it:
// its caption in the list, its command, the texts its directives give it, where its '#show-if:
// conditions let it show. A new finding about a single entry goes here; one about the menu as a
// whole goes in menu_check.cc.
#ifndef TOLVAR_MENU_CHECK_CHECKS_ENTRY_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_ENTRY_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "menu_check/checks/directive_check.h"
#include "menu_check/checks/menu_findings.h"
#include "menu_check/checks/show_if_check.h"
#include "menu_check/menu_check.h"

namespace tolvar {

class ViewProbe;

class EntryCheck {
 public:
  // For the systems in `targets`; the captions' widths and the machines an entry shows on, which
  // hang on the text alone, for those in `widths` (see CheckMenuText).
  EntryCheck(ViewProbe& probe, MenuFindings& findings, const Targets& targets,
             const Targets& widths)
      : probe_(probe), findings_(findings), targets_(targets), widths_(widths) {}

  // Entry `index` (1-based), with the directives that stand above its caption.
  void Check(int index, const std::string& caption, int64_t caption_line,
             const std::string& command, int64_t command_line,
             const EntryDirectiveTexts& directives);
  // After the last entry: the warnings for a system whose list shows none.
  void CheckEachSystemListsSomething();

  // Where an entry shows hangs on its conditions and the machines, not on one system's side.
  ShowIfCheck& show_if() { return show_if_; }

 private:
  std::optional<ShowIfRecord> CheckShowIf(int index, std::string_view joined,
                                          std::optional<System> only_on, int64_t caption_line);
  void CheckCaption(int index, const std::string& caption, int64_t line, bool does_nothing,
                    std::optional<System> only_on, const Targets& widths);
  void CheckCommand(const std::string& entry, const std::string& command, int64_t line,
                    const std::string& arguments, const Targets& targets);
  void CheckDirectiveTexts(const std::string& entry, const EntryDirectiveTexts& directives);
  void CheckNulInDirectives(const std::string& entry, const EntryDirectiveTexts& directives);
  void CheckDirectory(const std::string& entry, const EntryDirectiveTexts& directives);

  struct FirstUse {
    int index;
    int64_t line;
    bool does_nothing;
  };

  ViewProbe& probe_;
  MenuFindings& findings_;
  const Targets targets_;
  const Targets widths_;
  ShowIfCheck show_if_{probe_, widths_};
  // The captions listed so far on Windows [0] and on Linux [1].
  std::unordered_map<std::string, FirstUse> captions_[2];
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_ENTRY_CHECK_H_
