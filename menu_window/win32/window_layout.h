// Win32 only: the fixed layout of the window Tolvar_Autorun, kept in twips as the form was designed
// and turned into pixels for the DPI the window is shown at.
#ifndef TOLVAR_MENU_WINDOW_WIN32_WINDOW_LAYOUT_H_
#define TOLVAR_MENU_WINDOW_WIN32_WINDOW_LAYOUT_H_

#include <windows.h>

namespace tolvar {

struct TwipsRect {
  int left, top, width, height;
};

// Client area and controls, in twips from the client area's top-left corner (15 twips make a pixel
// at 96 DPI).
inline constexpr SIZE kClientTwips = {7620, 2625};
inline constexpr TwipsRect kSplashTwips = {120, 120, 7335, 1815};
inline constexpr TwipsRect kMenuTwips = {240, 2160, 3255, 315};
inline constexpr TwipsRect kGoBoxTwips = {3600, 2160, 735, 375};
inline constexpr TwipsRect kExitBoxTwips = {6120, 2160, 1335, 375};

// Rounds to the nearest pixel, so that 96 DPI gives exactly the designed pixel sizes.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

inline RECT ToPixels(const TwipsRect& twips, UINT dpi) {
  const int left = TwipsToPixels(twips.left, dpi);
  const int top = TwipsToPixels(twips.top, dpi);
  return RECT{left, top, left + TwipsToPixels(twips.width, dpi),
              top + TwipsToPixels(twips.height, dpi)};
}

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_WINDOW_LAYOUT_H_
