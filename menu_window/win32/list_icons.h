// Win32 only: the pictures beside the list's captions and the window's own icon, made of the
// pixels the picture loader hands out. The list turns owner-drawn once it has icons: ListIcons
// keeps one bitmap per icon file and draws an item, picture and caption, as the list would. A
// list without icons stays the system's own, drawn by the system.
#ifndef TOLVAR_MENU_WINDOW_WIN32_LIST_ICONS_H_
#define TOLVAR_MENU_WINDOW_WIN32_LIST_ICONS_H_

#include <windows.h>

#include <vector>

#include "picture/picture_pixels.h"

namespace tolvar {

// The pixels as an icon for WM_SETICON, owned by the caller; null, with the system's error set,
// when it cannot be made.
HICON IconFromPixels(const PicturePixels& pixels);

class ListIcons {
 public:
  ListIcons() = default;
  ~ListIcons();
  ListIcons(const ListIcons&) = delete;
  ListIcons& operator=(const ListIcons&) = delete;

  // Keeps the pixels as a bitmap; returns its number, or -1 when no bitmap can be made.
  int Add(const PicturePixels& pixels);
  bool any() const { return !bitmaps_.empty(); }

  // Draws the item of the owner-drawn combo box `item` tells of: its background, its icon (the
  // item's data is the icon's number plus one; 0 for none) `side` pixels square, and its caption,
  // one line with an ellipsis, in the combo box's font; the focus rectangle where the system
  // shows one.
  void DrawItem(const DRAWITEMSTRUCT& item, int side) const;

 private:
  std::vector<HBITMAP> bitmaps_;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_LIST_ICONS_H_
