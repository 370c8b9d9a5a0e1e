// Win32 only: the window's DPI and the DPI-aware variants of a few system calls. The per-monitor
// calls exist from Windows 10 on; on Windows 7 and 8 the system-wide DPI stands in for them.
#ifndef TOLVAR_MENU_WINDOW_WIN32_DPI_WIN32_H_
#define TOLVAR_MENU_WINDOW_WIN32_DPI_WIN32_H_

#include <windows.h>

#include "menu_form/form_layout.h"

namespace tolvar {

// The DPI the window is shown at (96 on a screen at 100 %).
UINT WindowDpi(HWND window);

// The outer size of a window whose client area is `client`, with the frame metrics of `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi);

// The font the system uses in message boxes, sized for `dpi`. Never null: falls back to the
// default GUI font when the system cannot make it.
HFONT CreateMessageFont(UINT dpi);

// A control's place in the client area at `dpi`, from the form's layout.
RECT ControlRect(const ControlLayout& layout, UINT dpi);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_DPI_WIN32_H_
