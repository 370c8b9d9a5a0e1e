// The pictures a menu file adds to the window: each entry's icon beside its caption, and the
// window's own icon. The form decides which files are shown and asks the view to load them, each
// file once; the view only turns pixels into its toolkit's pictures.
#ifndef TOLVAR_MENU_FORM_ENTRY_ICONS_H_
#define TOLVAR_MENU_FORM_ENTRY_ICONS_H_

#include <string_view>
#include <vector>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_view.h"

namespace tolvar {

// At most this many different icon files are loaded for one list; entries that name others show
// none. Each file is read and decoded once, so a hostile file of 32766 entries with an icon each
// cannot make the menu read thousands of pictures before it shows.
inline constexpr size_t kMostListIconFiles = 256;

// An entry's icon and where it shows: list position and the view's number for the picture.
struct ShownIcon {
  int position;
  int icon;
};

// Whether a picture file named by the menu file is one the menu reads at all: it exists as an
// ordinary file, and it names no share on another machine or device (NamesNoLocalFile).
bool PictureFileUsable(std::string_view path);

// Loads through `view` the icons that `entries` (the listed entries, entry i at list position
// i + 1) name, each file once, before the list is filled. An icon that cannot be shown leaves its
// entry without one. Returns where each loaded icon shows, for SetListItemIcon once the list is
// filled; empty when no entry names an icon that loads.
std::vector<ShownIcon> LoadEntryIcons(MenuView& view, const std::vector<MenuEntry>& entries);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_ENTRY_ICONS_H_
