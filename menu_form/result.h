// The outcome of a platform call that can fail, with the system's own reason when it does.
#ifndef TOLVAR_MENU_FORM_RESULT_H_
#define TOLVAR_MENU_FORM_RESULT_H_

#include <string>
#include <utility>

namespace tolvar {

struct Result {
  bool ok = true;
  std::string reason;  // empty when ok; otherwise the system's words, e.g. "Permission denied"

  static Result Ok() { return Result(); }
  static Result Failure(std::string why) { return Result{false, std::move(why)}; }
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_RESULT_H_
