// Names that Windows takes for devices, not files, in any folder and with any extension
// ("menu\COM1.png"). The menu must not open them and the checker warns about them, on every
// platform, since a medium is read on Windows too. Plain C++.
#ifndef TOLVAR_SHARED_ROUTINES_WINDOWS_NAMES_H_
#define TOLVAR_SHARED_ROUTINES_WINDOWS_NAMES_H_

#include <string_view>

namespace tolvar {

// The device that the file name `name` (one component, no folder) opens on Windows, as `name`
// spells it without its extension and trailing blanks ("com1" for "com1 .txt"); empty when
// `name` is no device: CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$ and CONOUT$, in any letter case.
std::string_view WindowsDeviceIn(std::string_view name);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_WINDOWS_NAMES_H_
