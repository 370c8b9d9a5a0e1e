// CheckMedium: the menu file's check and the checks of the medium around it, in one report.
#include "menu_check/medium_check.h"

#include <vector>

#include "menu_check/medium_checks.h"
#include "menu_check/medium_view.h"

namespace tolvar {

CheckReport CheckMedium(const std::string& decimal_separator, const Targets& targets) {
  CheckReport report = CheckMenu(decimal_separator, targets);
  const MediumView view = MediumView::FromFolder(".");
  if (targets.for_windows) CheckAutorunInf(view, &report.findings);
  if (targets.for_linux) CheckLinuxAutostart(view, &report.findings);
  CheckNames(view, targets, &report.findings);
  return report;
}

}  // namespace tolvar
