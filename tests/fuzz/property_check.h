// What every fuzz target does with a property that does not hold: report it, with what it was
// about, and abort, so that libFuzzer keeps the input as a finding.
#ifndef TOLVAR_TESTS_FUZZ_PROPERTY_CHECK_H_
#define TOLVAR_TESTS_FUZZ_PROPERTY_CHECK_H_

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tolvar {

inline void Check(bool holds, const char* property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n%.*s\n", property, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

}  // namespace tolvar

#endif  // TOLVAR_TESTS_FUZZ_PROPERTY_CHECK_H_
