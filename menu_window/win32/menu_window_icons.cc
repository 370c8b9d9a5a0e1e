// Win32 body of MenuWindow, its pictures from the menu file: the window's own icon, and the
// entries' icons in a list made owner-drawn for them.
#include "menu_window/win32/menu_window.h"
// After windows.h, which menu_window.h brings: commctrl.h names CB_SETMINVISIBLE.
#include <commctrl.h>

#include <algorithm>

#include "menu_form/form_layout.h"
#include "menu_window/win32/dpi_win32.h"
#include "picture/icon_picture.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

int MenuWindow::ListIconSide() const {
  return TwipsToPixels(kListIconTwips, static_cast<int>(dpi_));
}

Result MenuWindow::SetWindowIcon(const std::string& path) {
  // The title bar's and the task bar's sizes, as the program's own icon is loaded.
  HICON made[2] = {nullptr, nullptr};
  const int sides[2] = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)};
  for (int i = 0; i < 2; ++i) {
    const Expected<PicturePixels> picture = LoadIconPicture(path, sides[i]);
    if (picture) made[i] = IconFromPixels(picture.value());
    if (made[i] == nullptr) {
      const std::string reason = picture ? SystemErrorText(GetLastError()) : picture.reason();
      if (made[0] != nullptr) DestroyIcon(made[0]);
      return Result::Failure(reason);
    }
  }
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(made[0]));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(made[1]));
  // The program's own are no longer shown; the window's icons are destroyed with the window.
  for (HICON* kept : {&large_icon_, &small_icon_}) {
    if (*kept != nullptr) DestroyIcon(*kept);
  }
  large_icon_ = made[0];
  small_icon_ = made[1];
  return Result::Ok();
}

Expected<int> MenuWindow::LoadListIcon(const std::string& path) {
  const Expected<PicturePixels> picture = LoadIconPicture(path, ListIconSide());
  if (!picture) return Expected<int>::Failure(picture.reason());
  if (!list_icons_.any() && !MakeListOwnerDrawn()) {
    return Expected<int>::Failure("the list cannot show icons: " + SystemErrorText(GetLastError()));
  }
  const int icon = list_icons_.Add(picture.value());
  if (icon < 0) return Expected<int>::Failure("no memory is left for the icon");
  return icon;
}

void MenuWindow::SetListItemIcon(int position, int icon) {
  // 0 is every item's data from the start: no icon.
  SendMessageW(menu_, CB_SETITEMDATA, static_cast<WPARAM>(position), icon + 1);
}

bool MenuWindow::MakeListOwnerDrawn() {
  // A combo box is owner-drawn from its making or never: the list, still empty, is made anew at
  // its place, right after Exit_Box in the keyboard order, with its own texts kept
  // (CBS_HASSTRINGS), so that letters, screen readers and the window_controls test read them.
  const HWND old = menu_;
  const LRESULT row_height = SendMessageW(old, CB_GETITEMHEIGHT, 0, 0);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE));
  const RECT rect = MenuRect(dpi_);
  const HWND made = CreateWindowExW(
      GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, L"COMBOBOX", L"",
      style | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, rect.left, rect.top, rect.right - rect.left,
      rect.bottom - rect.top, window_, GetMenu(old), instance_, nullptr);
  if (made == nullptr) return false;
  DestroyWindow(old);
  menu_ = made;
  SetWindowPos(menu_, exit_box_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(menu_, CB_SETMINVISIBLE, kVisibleListRows, 0);
  SendMessageW(menu_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  const int side = ListIconSide();
  const int row = std::max(static_cast<int>(row_height), side + 2);
  SendMessageW(menu_, CB_SETITEMHEIGHT, 0, row);
  const RECT designed = ControlRect(kMenuLayout, dpi_);
  FitListHeight(designed.bottom - designed.top);
  if (SendMessageW(menu_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) < side) {
    SendMessageW(menu_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), side);
  }
  // The open list is a window of its own, which a right-to-left window's making does not mirror.
  COMBOBOXINFO combo = {};
  combo.cbSize = sizeof combo;
  if ((GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0 &&
      GetComboBoxInfo(menu_, &combo) && combo.hwndList != nullptr) {
    SetWindowLongW(combo.hwndList, GWL_EXSTYLE,
                   GetWindowLongW(combo.hwndList, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
  }
  return true;
}

}  // namespace tolvar
