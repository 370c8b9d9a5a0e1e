// The outcome of a platform call that can fail, with the system's own reason when it does.
#ifndef TOLVAR_MENU_FORM_RESULT_H_
#define TOLVAR_MENU_FORM_RESULT_H_

#include <string>
#include <utility>

namespace tolvar {

struct Result {
  bool ok = true;
  std::string reason;  // empty when ok; otherwise the system's words, e.g. "Permission denied"
  // With ok: the person said no where the system asked them (the elevation prompt). Nothing was
  // done, and there is nothing to warn about either.
  bool declined = false;

  static Result Ok() { return Result(); }
  static Result Declined() { return Result{true, std::string(), true}; }
  static Result Failure(std::string why) { return Result{false, std::move(why)}; }
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_RESULT_H_
