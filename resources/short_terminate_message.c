/* The C++ runtime's demangler, left out of the small Windows build: it is only ever called to
 * print the type of an exception nothing caught, which a windowed program cannot show anyway, and
 * it costs 46 KB of a program read from disc. "Not a mangled name" makes the runtime print the
 * type's raw name instead. */
#include <stddef.h>

char *__cxa_demangle(const char *mangled_name, char *output_buffer, size_t *length, int *status) {
  (void)mangled_name;
  (void)output_buffer;
  (void)length;
  if (status != NULL) *status = -2;
  return NULL;
}
