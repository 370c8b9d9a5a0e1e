// Win32 body of MenuWindow, its layout: where the window and its controls lie at a DPI, their
// font, and the mirrored layout of a menu that reads right to left.
#include "menu_form/form_layout.h"
#include "menu_window/win32/dpi_win32.h"
#include "menu_window/win32/menu_window.h"

namespace tolvar {

RECT MenuWindow::WindowRect(UINT dpi, const RECT* suggested) const {
  // The description row, when the menu has one, adds to the designed client area.
  const int height_twips =
      kClientHeightTwips + (description_ != nullptr ? kDescriptionRowTwips : 0);
  const SIZE client = {TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi)),
                       TwipsToPixels(height_twips, static_cast<int>(dpi))};
  const SIZE outer = WindowSizeForClient(client, kWindowStyle, 0, dpi);
  POINT origin;
  if (suggested != nullptr) {
    origin = POINT{suggested->left, suggested->top};
  } else {
    RECT work_area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
    origin = POINT{work_area.left + (work_area.right - work_area.left - outer.cx) / 2,
                   work_area.top + (work_area.bottom - work_area.top - outer.cy) / 2};
  }
  return RECT{origin.x, origin.y, origin.x + outer.cx, origin.y + outer.cy};
}

RECT MenuWindow::MenuRect(UINT dpi) {
  // A drop-down list's window includes the open list; FitListHeight sizes the closed field.
  RECT rect = ControlRect(kMenuLayout, dpi);
  rect.bottom += (rect.bottom - rect.top) * kVisibleListRows;
  return rect;
}

void MenuWindow::ApplyFont(UINT dpi) {
  const HFONT old_font = font_;
  font_ = CreateMessageFont(dpi);
  for (HWND control : {go_box_, exit_box_, menu_, description_}) {
    if (control != nullptr)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  if (old_font != nullptr) DeleteObject(old_font);
  const RECT menu = ControlRect(kMenuLayout, dpi);
  FitListHeight(menu.bottom - menu.top);
}

void MenuWindow::ApplyLayout(UINT dpi, const RECT* suggested_window) {
  dpi_ = dpi;
  const RECT frame = WindowRect(dpi, suggested_window);
  SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceControls(dpi);
  ApplyFont(dpi);
  InvalidateRect(window_, nullptr, TRUE);
}

void MenuWindow::PlaceControls(UINT dpi) {
  const auto place = [](HWND control, const RECT& rect) {
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(go_box_, ControlRect(kGoBoxLayout, dpi));
  place(exit_box_, ControlRect(kExitBoxLayout, dpi));
  place(menu_, MenuRect(dpi));
  if (description_ != nullptr) place(description_, ControlRect(kDescriptionLayout, dpi));
  picture_area_.Place(ControlRect(kSplashLayout, dpi));
}

void MenuWindow::FitListHeight(int height) {
  // The closed list's height follows its font; bring it to the designed height, but never so low
  // that the caption is cut.
  RECT closed = {};
  GetWindowRect(menu_, &closed);
  const int field = static_cast<int>(SendMessageW(menu_, CB_GETITEMHEIGHT, (WPARAM)-1, 0));
  TEXTMETRICW metrics = {};
  const HDC dc = GetDC(menu_);
  const HGDIOBJ previous = SelectObject(dc, font_);
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(menu_, dc);
  int wanted = field + height - (closed.bottom - closed.top);
  if (wanted < metrics.tmHeight) wanted = metrics.tmHeight;
  if (field > 0 && wanted != field) SendMessageW(menu_, CB_SETITEMHEIGHT, (WPARAM)-1, wanted);
}

RECT MenuWindow::SplashRect() const { return ControlRect(kSplashLayout, dpi_); }

void MenuWindow::SetRightToLeft() {
  // Controls made in a mirrored window take its layout; these were made before the menu file
  // said which way it reads, so each is mirrored here, the combo box's open list too, and put
  // back at its designed place, now counted from the right. A mirrored control draws its text
  // from its right edge: the list's and the description's texts align right by themselves. The
  // order in which a line reads is another matter: without right-to-left reading, a caption that
  // mixes Hebrew with Latin words or digits runs its parts left to right, in the wrong order.
  COMBOBOXINFO combo = {};
  combo.cbSize = sizeof combo;
  const HWND open_list = GetComboBoxInfo(menu_, &combo) ? combo.hwndList : nullptr;
  for (HWND window : {window_, menu_, go_box_, exit_box_, description_, open_list}) {
    if (window == nullptr) continue;
    SetWindowLongW(window, GWL_EXSTYLE,
                   GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
  }
  PlaceControls(dpi_);
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace tolvar
