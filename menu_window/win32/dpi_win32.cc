// Win32 body of the DPI helpers. The Windows 10 calls are looked up at run time: importing them
// would stop the program from starting at all on Windows 7 and 8.
#include "menu_window/win32/dpi_win32.h"

#include "shared_routines/system_dlls_win32.h"

namespace tolvar {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto get_dpi_for_window =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi_for_window != nullptr && window != nullptr) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi) {
  static const auto adjust_for_dpi =
      SystemFunction<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect = {0, 0, client.cx, client.cy};
  if (adjust_for_dpi == nullptr || !adjust_for_dpi(&rect, style, FALSE, ex_style, dpi)) {
    rect = RECT{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HFONT CreateMessageFont(UINT dpi) {
  static const auto parameters_for_dpi = SystemFunction<SystemParametersInfoForDpiFunction>(
      L"user32.dll", "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  HFONT font = nullptr;
  if (parameters_for_dpi != nullptr &&
      parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // The metrics come at the system DPI; a window on another monitor needs them rescaled.
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                            static_cast<int>(SystemDpi()));
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT ControlRect(const ControlLayout& layout, UINT dpi) {
  const PixelRect pixels = ToPixels(layout.twips, static_cast<int>(dpi));
  return RECT{pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

}  // namespace tolvar
