// The Linux window's style sheet for its controls, in one place so that the start-up benchmark's
// floor of the same widgets looks, and measures, as the menu does.
#ifndef TOLVAR_MENU_WINDOW_GTK_WINDOW_STYLE_H_
#define TOLVAR_MENU_WINDOW_GTK_WINDOW_STYLE_H_

namespace tolvar {

// The theme's minimum sizes and paddings are made for 34-pixel buttons; the window's own controls
// are 21 and 25 pixels high. The buttons' captions and the description row take the 8 points the
// layout was drawn for: at a desktop's 10 or 11 points "Launch" is wider than its 49 pixels. Scoped
// to the window by its name (kFormName), so that the message boxes keep their normal look.
inline constexpr char kWindowCss[] = R"(
#Tolvar_Autorun #Go_Box, #Tolvar_Autorun #Exit_Box, #Tolvar_Autorun #Menu {
  min-height: 0;
  min-width: 0;
  padding: 0 4px;
}
#Tolvar_Autorun #Go_Box, #Tolvar_Autorun #Exit_Box { padding: 0 2px; font-size: 8pt; }
#Tolvar_Autorun #Menu { padding: 0 2px 0 4px; }
#Tolvar_Autorun #Description { font-size: 8pt; }
)";

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_WINDOW_STYLE_H_
