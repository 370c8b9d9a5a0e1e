// How a call that can fail says so, written once for every layer above shared_routines/: `Result`
// for a call that gives nothing back, `Expected<T>` for one that gives a value. Either holds the
// reason when it failed, in the system's or the format's own words, and a value cannot be read
// without asking first.
#ifndef TOLVAR_MENU_FORM_RESULT_H_
#define TOLVAR_MENU_FORM_RESULT_H_

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace tolvar {

struct Result {
  bool ok = true;
  std::string reason;  // empty when ok; otherwise the system's words, e.g. "Permission denied"
  // With ok: the person said no where the system asked them (the elevation prompt). Nothing was
  // done, and there is nothing to warn about either.
  bool declined = false;
  // Without ok: the file is there and is no program, and the system has no program set to open
  // files of its kind. That is the person's desktop, not a fault of the medium, and is said so.
  bool no_application = false;

  static Result Ok() { return Result(); }
  static Result Declined() { return Result{true, std::string(), true}; }
  static Result Failure(std::string why) { return Result{false, std::move(why)}; }
  static Result NoApplication(std::string why) {
    return Result{false, std::move(why), false, true};
  }
};

// A value, or the reason there is none. Reading the value of a failure is a programming error.
template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : value_(std::move(value)) {}  // NOLINT: a value converts, as a result would
  static Expected Failure(std::string reason) { return Expected(std::move(reason), 0); }
  // The failure of another result, carried up unchanged.
  static Expected Failure(const Result& failed) { return Failure(failed.reason); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const& {
    assert(ok());
    return *value_;
  }
  T& value() & {
    assert(ok());
    return *value_;
  }
  T&& value() && {
    assert(ok());
    return std::move(*value_);
  }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }
  // Empty when ok.
  const std::string& reason() const { return reason_; }
  // The outcome without the value, for a caller that only passes the reason on.
  Result result() const { return ok() ? Result::Ok() : Result::Failure(reason_); }

 private:
  Expected(std::string reason, int) : reason_(std::move(reason)) {}
  std::optional<T> value_;
  std::string reason_;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_RESULT_H_
