// Win32 body of PictureArea: the picture's DIB section, painting it, and the child that names it.
#include "menu_window/win32/picture_area.h"

#include <algorithm>
#include <cstdint>

#include "picture/picture_loader.h"
#include "picture/pixel_stretch.h"

namespace tolvar {

void PictureArea::Clear() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  size_ = SIZE{0, 0};
}

Result PictureArea::Load(const std::string& path, SIZE size) {
  Clear();
  const Expected<PicturePixels> picture = LoadPicture(path, size.cx, size.cy);
  if (!picture) return picture.result();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture->width;
  info.bmiHeader.biHeight = -picture->height;  // top row first, as the pixels come
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  // 32 bits a pixel: no device context is needed to make it.
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) return Result::Failure("no memory is left for a picture of this size");
  // Laid over the face colour once, here, so that painting is a plain copy.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t background = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  std::transform(picture->pixels.begin(), picture->pixels.end(), static_cast<uint32_t*>(bits),
                 [background](uint32_t pixel) { return OverBackground(pixel, background); });
  size_ = SIZE{picture->width, picture->height};
  return Result::Ok();
}

void PictureArea::PaintUnmirrored(HDC dc, const RECT& target) const {
  if (bitmap_ == nullptr) return;
  const HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  const HGDIOBJ previous = SelectObject(source, bitmap_);
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  if (width == size_.cx && height == size_.cy) {
    BitBlt(dc, target.left, target.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, target.left, target.top, width, height, source, 0, 0, size_.cx, size_.cy,
               SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

void PictureArea::Paint(HDC dc, const RECT& area) const {
  const DWORD layout = GetLayout(dc);
  if (layout == GDI_ERROR || (layout & LAYOUT_RTL) == 0) {
    PaintUnmirrored(dc, area);
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
  PaintUnmirrored(dc, mirrored);
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
