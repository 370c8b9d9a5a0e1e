// The form Tolvar_Autorun as it was designed: the client area and its four controls in twips, their
// design-time captions, the keyboard order and how many rows the open list shows. Each window and
// the checker take the layout from here and turn it into pixels at their own DPI.
#ifndef TOLVAR_MENU_FORM_FORM_LAYOUT_H_
#define TOLVAR_MENU_FORM_FORM_LAYOUT_H_

#include <array>
#include <cstdint>

namespace tolvar {

// 1440 twips make an inch: 15 twips a pixel at 96 dots per inch.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;

struct TwipsRect {
  int left, top, width, height;
};

struct PixelRect {
  int left, top, width, height;
};

enum class Control { kSplash, kMenu, kGoBox, kExitBox, kDescription };

struct ControlLayout {
  Control control;
  const char* name;            // the control's name, for styling and the accessibility tree
  TwipsRect twips;             // from the client area's top-left corner
  const char* design_caption;  // what it reads before the menu file is loaded; null for none
  int tab_position;            // place in the keyboard order; -1 when it takes no focus
};

inline constexpr char kFormName[] = "Tolvar_Autorun";
inline constexpr char kDesignTitle[] = "Tolvar_Autorun";

// The client area, 508 x 175 pixels at 96 DPI.
inline constexpr int kClientWidthTwips = 7620;
inline constexpr int kClientHeightTwips = 2625;

inline constexpr ControlLayout kSplashLayout = {
    Control::kSplash, "Splash", {120, 120, 7335, 1815}, nullptr, -1};
inline constexpr ControlLayout kMenuLayout = {
    Control::kMenu, "Menu", {240, 2160, 3255, 315}, nullptr, 2};
inline constexpr ControlLayout kGoBoxLayout = {
    Control::kGoBox, "Go_Box", {3600, 2160, 735, 375}, "Go_Box", 0};
inline constexpr ControlLayout kExitBoxLayout = {
    Control::kExitBox, "Exit_Box", {6120, 2160, 1335, 375}, "Exit_Box", 1};

// The row under the list and buttons where the chosen entry's description shows: one line of
// text across the form, there only when some entry of the menu has a description. The client
// area grows by kDescriptionRowTwips then; nothing else moves.
inline constexpr ControlLayout kDescriptionLayout = {
    Control::kDescription, "Description", {240, 2595, 7215, 315}, nullptr, -1};
inline constexpr int kDescriptionRowTwips = 405;

// Every control of the form as designed; the description row is not among them.
inline constexpr const ControlLayout* kControls[] = {&kSplashLayout, &kMenuLayout, &kGoBoxLayout,
                                                     &kExitBoxLayout};

// How many controls take the focus.
constexpr int FocusableControlCount() {
  int count = 0;
  for (const ControlLayout* layout : kControls) count += layout->tab_position >= 0 ? 1 : 0;
  return count;
}

// True when the controls that take the focus hold the places 0, 1, ... once each, so that the
// keyboard order below has no gap and no control twice.
constexpr bool TabPositionsFormAnOrder() {
  for (int position = 0; position < FocusableControlCount(); ++position) {
    int holders = 0;
    for (const ControlLayout* layout : kControls) holders += layout->tab_position == position;
    if (holders != 1) return false;
  }
  return true;
}
static_assert(TabPositionsFormAnOrder(), "tab positions must be 0, 1, ... once each");

// The controls that take the focus, in the keyboard order of their tab_position, which both
// windows follow. The focus starts on the first.
constexpr std::array<const ControlLayout*, FocusableControlCount()> KeyboardOrder() {
  std::array<const ControlLayout*, FocusableControlCount()> order{};
  for (const ControlLayout* layout : kControls) {
    if (layout->tab_position >= 0) order[layout->tab_position] = layout;
  }
  return order;
}

// The side of an entry's icon in the list: 16 pixels at 96 DPI, scaled as the rest.
inline constexpr int kListIconTwips = 240;

// How many rows the open list shows before it scrolls, as a forms drop-down list does.
inline constexpr int kVisibleListRows = 8;

// Twips to pixels at `dpi`, rounded to the nearest pixel, so that 96 DPI gives exactly the
// designed sizes (489 x 121 for the picture area).
constexpr int TwipsToPixels(int twips, int dpi) {
  const int64_t scaled = static_cast<int64_t>(twips) * dpi;
  return static_cast<int>((scaled + kTwipsPerInch / 2) / kTwipsPerInch);
}

constexpr PixelRect ToPixels(const TwipsRect& twips, int dpi) {
  return PixelRect{TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
                   TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi)};
}

static_assert(TwipsToPixels(kClientWidthTwips, kDesignDpi) == 508, "client width at 96 DPI");
static_assert(kDescriptionLayout.twips.top >= kGoBoxLayout.twips.top + kGoBoxLayout.twips.height &&
                  kDescriptionLayout.twips.top + kDescriptionLayout.twips.height <=
                      kClientHeightTwips + kDescriptionRowTwips,
              "the description row lies under the buttons, inside the grown client area");
// The picture area at 96 dots per inch: the size the checker and the menu without a display load
// a picture for, as the window would, and the size the checker tells authors.
inline constexpr PixelRect kPictureAreaAtDesignDpi = ToPixels(kSplashLayout.twips, kDesignDpi);
static_assert(kPictureAreaAtDesignDpi.width == 489, "picture at 96 DPI");

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_FORM_LAYOUT_H_
