// Win32 body of ListIcons and IconFromPixels: 32-bit DIB sections of the loader's premultiplied
// pixels, drawn with their alpha, and the caption drawn as the system's list draws it.
#include "menu_window/win32/list_icons.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace tolvar {
namespace {

// A top-down 32-bit DIB section of `pixels`, each pixel through `convert`.
template <typename Convert>
HBITMAP DibOf(const PicturePixels& pixels, Convert convert) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  std::transform(pixels.pixels.begin(), pixels.pixels.end(), static_cast<uint32_t*>(bits), convert);
  return bitmap;
}

}  // namespace

HICON IconFromPixels(const PicturePixels& pixels) {
  // An icon's colour bitmap carries its alpha straight, not premultiplied.
  const HBITMAP color = DibOf(pixels, [](uint32_t pixel) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 0 || alpha == 255) return alpha == 0 ? 0u : pixel;
    const auto channel = [alpha](uint32_t value) { return (value * 255 + alpha / 2) / alpha; };
    return (alpha << 24) | (channel((pixel >> 16) & 0xFF) << 16) |
           (channel((pixel >> 8) & 0xFF) << 8) | channel(pixel & 0xFF);
  });
  if (color == nullptr) return nullptr;
  // The alpha decides what shows; the mask, all clear, is only what the structure asks for.
  const std::vector<uint8_t> clear(static_cast<size_t>((pixels.width + 15) / 16 * 2) *
                                   pixels.height);
  const HBITMAP mask = CreateBitmap(pixels.width, pixels.height, 1, 1, clear.data());
  ICONINFO info = {TRUE, 0, 0, mask, color};
  const HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
  if (mask != nullptr) DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

ListIcons::~ListIcons() {
  for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
}

int ListIcons::Add(const PicturePixels& pixels) {
  const HBITMAP bitmap = DibOf(pixels, [](uint32_t pixel) { return pixel; });
  if (bitmap == nullptr) return -1;
  bitmaps_.push_back(bitmap);
  return static_cast<int>(bitmaps_.size()) - 1;
}

void ListIcons::DrawItem(const DRAWITEMSTRUCT& item, int side) const {
  const HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;  // no choice: an empty field
  const int margin = std::max(1, side / 8);
  RECT text = item.rcItem;
  text.left += margin;

  const LRESULT data = SendMessageW(item.hwndItem, CB_GETITEMDATA, item.itemID, 0);
  const size_t icon = data == CB_ERR ? 0 : static_cast<size_t>(data);
  if (icon > 0 && icon <= bitmaps_.size()) {
    const HDC source = CreateCompatibleDC(dc);
    if (source != nullptr) {
      const HGDIOBJ previous = SelectObject(source, bitmaps_[icon - 1]);
      BITMAP size = {};
      GetObjectW(bitmaps_[icon - 1], sizeof size, &size);
      const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - side) / 2;
      const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      GdiAlphaBlend(dc, text.left, top, side, side, source, 0, 0, size.bmWidth, size.bmHeight,
                    blend);
      SelectObject(source, previous);
      DeleteDC(source);
    }
  }
  // Every item keeps the icon's room, so that the captions line up.
  text.left += side + 2 * margin;

  const LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
  if (length > 0) {
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID,
                                        reinterpret_cast<LPARAM>(&caption[0]));
    caption.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                 : selected ? COLOR_HIGHLIGHTTEXT
                                            : COLOR_WINDOWTEXT));
    const bool right_to_left = (GetWindowLongW(item.hwndItem, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                  (right_to_left ? DT_RTLREADING : 0));
  }
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(dc, &item.rcItem);
  }
}

}  // namespace tolvar
