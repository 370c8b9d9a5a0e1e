// Two functions of the C++ runtime, replaced in the small Windows build by ones that say less: the
// runtime's own bring 66 KB into a program read from disc before its window opens.
#include <cstddef>
#include <cstdlib>

// The demangler: the runtime calls it only to name the type of an exception nothing caught, as the
// program dies. The menu has no console to show that on, and the checker's raw type name says as
// much. "Not a mangled name" makes the runtime print the raw name.
extern "C" char* __cxa_demangle(const char* /*mangled_name*/, char* /*output_buffer*/,
                                std::size_t* /*length*/, int* status) {
  if (status != nullptr) *status = -2;
  return nullptr;
}

namespace std {

// A failed bounds check of the standard library (the small build turns them on): the program ends
// at once, as it would with the library's own, without the library's report.
void __glibcxx_assert_fail(const char* /*file*/, int /*line*/, const char* /*function*/,
                           const char* /*condition*/) noexcept {
  std::abort();
}

}  // namespace std
