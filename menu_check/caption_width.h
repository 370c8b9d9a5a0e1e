// An estimate of how wide a caption stands in the menu's list, so that a tool can warn about a
// caption whose end the closed list cuts off. No font is measured: the result must not depend on
// the fonts of the machine that checks the medium.
#ifndef TOLVAR_MENU_CHECK_CAPTION_WIDTH_H_
#define TOLVAR_MENU_CHECK_CAPTION_WIDTH_H_

#include <string>

#include "menu_form/form_layout.h"

namespace tolvar {

// Pixels at 96 dots per inch that the closed list shows of a caption: the list's width in the
// form's layout (217 pixels) less the drop-down button and the text's margins (25 pixels).
inline constexpr int kListTextWidth = TwipsToPixels(kMenuLayout.twips.width, kDesignDpi) - 25;
static_assert(kListTextWidth == 192, "the width the caption estimates are made for");

// The width of `caption` (UTF-8) in pixels at 96 dots per inch, in the system font of Windows
// (Segoe UI, 9 points), from the widths of classes of characters: narrow (i, l, blank), wide (m,
// W), East Asian (double), and so on. Good to a few percent for ordinary captions.
int EstimatedCaptionWidth(const std::string& caption);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CAPTION_WIDTH_H_
