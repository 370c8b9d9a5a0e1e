// WindowsDeviceIn: the part before the first dot, without trailing blanks, against the device list.
#include "shared_routines/windows_names.h"

#include "shared_routines/ascii_text.h"

namespace tolvar {

std::string_view WindowsDeviceIn(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
    if (EqualIgnoringAsciiCase(name, device)) return name;
  }
  const bool numbered = name.size() == 4 &&
                        (EqualIgnoringAsciiCase(name.substr(0, 3), "com") ||
                         EqualIgnoringAsciiCase(name.substr(0, 3), "lpt")) &&
                        name[3] >= '1' && name[3] <= '9';
  return numbered ? name : std::string_view();
}

}  // namespace tolvar
