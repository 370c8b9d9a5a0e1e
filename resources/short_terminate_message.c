/* The C++ runtime's demangler, left out of the small Windows build. The runtime calls it only to
 * name the type of an exception nothing caught, as the program dies: the menu has no console to
 * show that on, and the checker's raw type name says as much. It costs 46 KB of a program read
 * from disc before its window opens. "Not a mangled name" makes the runtime print the raw name. */
#include <stddef.h>

char* __cxa_demangle(const char* mangled_name, char* output_buffer, size_t* length, int* status) {
  (void)mangled_name;
  (void)output_buffer;
  (void)length;
  if (status != NULL) *status = -2;
  return NULL;
}
