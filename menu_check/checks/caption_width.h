// An estimate of how wide a caption stands in the menu's list, so that a tool can warn about a
// caption whose end the closed list cuts off. No font is measured: the result must not depend on
// the fonts of the machine that checks the medium.
#ifndef TOLVAR_MENU_CHECK_CHECKS_CAPTION_WIDTH_H_
#define TOLVAR_MENU_CHECK_CHECKS_CAPTION_WIDTH_H_

#include <string>

#include "menu_form/directive.h"
#include "menu_form/form_layout.h"

namespace tolvar {

// Pixels at 96 dots per inch that the closed list shows of a caption on Windows: the list's width
// in the form's layout (217 pixels) less the drop-down button and the text's margins (25 pixels).
inline constexpr int kListTextWidth = TwipsToPixels(kMenuLayout.twips.width, kDesignDpi) - 25;
static_assert(kListTextWidth == 192, "the width the caption estimates are made for");

// The same on Linux, where the layout is scaled with the text: the list's width less the drawn
// arrow (16 pixels), the button's padding (4 and 2) and its frame (1 on each side).
inline constexpr int kLinuxListTextWidth =
    TwipsToPixels(kMenuLayout.twips.width, kDesignDpi) - 16 - 6 - 2;

// The width the closed list shows of a caption on `system`.
constexpr int ListTextWidth(System system) {
  return system == System::kWindows ? kListTextWidth : kLinuxListTextWidth;
}

// The width of `caption` (UTF-8) in pixels at 96 dots per inch, in the list's font on `system`,
// from the widths of classes of characters: narrow (i, l, blank), wide (m, W), East Asian
// (double), and so on. On Windows that is the system font, Segoe UI at 9 points; on Linux the
// desktop's, which GTK makes Sans (DejaVu Sans) at 10 points unless the desktop says otherwise,
// and GNOME's Cantarell at 11 points is about as wide. Good to a few percent for ordinary
// captions.
int EstimatedCaptionWidth(const std::string& caption, System system = System::kWindows);

// Pixels at 96 dots per inch that a button of `layout` shows of its caption: its width less its
// frame and the margins around the text (8 pixels).
constexpr int ButtonTextWidth(const ControlLayout& layout) {
  return TwipsToPixels(layout.twips.width, kDesignDpi) - 8;
}

// The width of a button's caption on `system`, as EstimatedCaptionWidth: the list's font on
// Windows, and on Linux 8 points of it, the size the window gives its buttons.
int EstimatedButtonCaptionWidth(const std::string& caption, System system);

struct Targets;

// For a caption the closed list cuts off in each system's own font on the systems in `targets`
// that list it: the warning for `entry` ("entry 3"); empty when it fits.
std::string CaptionCutWarning(const std::string& entry, const std::string& caption,
                              const Targets& targets);

// For the author's caption of a button (`name` '#launch-caption: or '#quit-caption:), longer than
// the button's designed width shows on a system in `targets`: the warning; empty when it fits or
// `name` is no button's.
std::string ButtonCaptionWarning(DirectiveName name, const std::string& caption,
                                 const Targets& targets);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_CAPTION_WIDTH_H_
