// Win32 body of PictureArea.
#include "menu_window/win32/picture_area.h"

namespace tolvar {

void PictureArea::Paint(HDC dc, const RECT& area) const {
  const DWORD layout = GetLayout(dc);
  if (layout == GDI_ERROR || (layout & LAYOUT_RTL) == 0) {
    picture_.Paint(dc, area);
    return;
  }
  // A right-to-left window's DC mirrors what it draws: a picture would show its writing
  // backwards, and one pixel left of the mirrored controls (x becomes width - 1 - x). It is
  // drawn unmirrored at the place the mirroring gives the area's controls.
  RECT client = {};
  GetClientRect(WindowFromDC(dc), &client);
  const RECT mirrored = {client.right - area.right, area.top, client.right - area.left,
                         area.bottom};
  SetLayout(dc, 0);
  picture_.Paint(dc, mirrored);
  SetLayout(dc, layout);
}

bool PictureArea::Describe(HWND parent, HINSTANCE instance, const RECT& area,
                           const std::wstring& text, int id) {
  if (description_ != nullptr) {
    SetWindowTextW(description_, text.c_str());
    return true;
  }
  // Visible, or screen readers would skip it; owner-drawn, so that it shows the picture rather
  // than its text. A group of its own without a tab stop: neither Tab nor the arrows stop on it.
  // A static lets the mouse through to the window.
  description_ = CreateWindowExW(
      0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | WS_GROUP | SS_OWNERDRAW | SS_NOPREFIX,
      area.left, area.top, area.right - area.left, area.bottom - area.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (description_ == nullptr) return false;
  SetWindowPos(description_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void PictureArea::Place(const RECT& area) const {
  if (description_ == nullptr) return;
  SetWindowPos(description_, nullptr, area.left, area.top, area.right - area.left,
               area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureArea::Invalidate(HWND parent, const RECT& area) const {
  InvalidateRect(parent, &area, TRUE);
  if (description_ != nullptr) InvalidateRect(description_, nullptr, FALSE);
}

}  // namespace tolvar
