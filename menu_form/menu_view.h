// MenuView: the window operations the menu's logic needs, and nothing more. The real windows (GTK,
// Win32) provide them; tests provide a recording fake.
#ifndef TOLVAR_MENU_FORM_MENU_VIEW_H_
#define TOLVAR_MENU_FORM_MENU_VIEW_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "menu_form/result.h"

namespace tolvar {

enum class Button { kGoBox, kExitBox };

class MenuView {
 public:
  virtual ~MenuView() = default;

  // Replaces the text of the window's title bar.
  virtual void SetTitle(const std::string& title) = 0;

  // Lays the window out from right to left, as the system mirrors a right-to-left dialog: the list
  // and the buttons change sides and text aligns right; the picture is drawn as it is. Called at
  // most once, before anything else of the file is shown, only when the menu file asks for it.
  virtual void SetRightToLeft() = 0;

  // What a screen reader says for Splash. Called at most once, before the picture is shown, only
  // when the menu file gives a description; without one the picture is decoration, which screen
  // readers pass over.
  virtual void SetPictureDescription(const std::string& text) = 0;

  // Switches Splash to stretch mode (the picture fills the area, proportions not kept), then loads
  // the picture file at `path` and shows it. A failure leaves Splash empty and returns the reason.
  virtual Result ShowSplash(const std::string& path) = 0;

  // Shows the picture file at `path` as the window's icon in the title bar and the task bar, in
  // place of the program's own, at each size the system asks for. A failure leaves the program's
  // own icon and returns the reason. Called at most once, before the title is set.
  virtual Result SetWindowIcon(const std::string& path) = 0;

  // Loads the picture file at `path` as an icon for the list's items, square, at the size the
  // list's rows show one (kListIconTwips at the layout's DPI), and returns the number
  // SetListItemIcon takes for it, or why it cannot be shown. Called only before the list is filled,
  // and only when some listed entry names an icon: a list without any stays as it always was.
  virtual Expected<int> LoadListIcon(const std::string& path) = 0;

  // Shows icon `icon` (a number LoadListIcon gave) left of the caption of the item at `position`,
  // in the open and the closed list. Called once the list is filled.
  virtual void SetListItemIcon(int position, int icon) = 0;

  // Says, before the list Menu is filled, how many items it will hold and how many bytes of UTF-8
  // text they have together, so that it can take its storage at once rather than grow it item by
  // item. A hint only: the items still come through AddListItem.
  virtual void ReserveListItems(int count, size_t text_bytes) = 0;

  // Inserts `text` into the list Menu at `position` (0-based). The list keeps its own copy.
  virtual void AddListItem(int position, std::string_view text) = 0;

  // Sets the selected position of Menu (-1: none) without raising Menu's click event: the form
  // runs its selection handler itself, so that it runs exactly once whichever window is behind.
  virtual void SetListPosition(int position) = 0;

  // The selected position of Menu: 0 or more, or -1 when nothing is selected.
  virtual int ReadListPosition() = 0;

  // Replaces the caption of Go_Box or Exit_Box.
  virtual void SetButtonCaption(Button button, const std::string& caption) = 0;

  // Gives the window the row under the list where the chosen entry's description shows; the window
  // grows by that row. Called once, before the list is filled, and only when some listed entry has
  // a description: a menu without any keeps the window as it always was.
  virtual void ShowDescriptionRow() = 0;

  // Shows `text` in the description row, and gives it to screen readers as the description of
  // the list's choice; "" empties the row. Called only after ShowDescriptionRow.
  virtual void SetDescription(const std::string& text) = 0;

  // Gives the list item at `position` its entry's description, which screen readers read with
  // the item as someone moves through the open list. Called once the list is filled, only after
  // ShowDescriptionRow, for each item that has one. A window whose list items carry no
  // descriptions of their own may ignore it: the description row still says it for the choice.
  virtual void DescribeListItem(int position, std::string_view description) = 0;

  // Shows a modal box with `text`, `title`, the warning icon and OK alone; returns when dismissed.
  virtual void Warn(const std::string& text, const std::string& title) = 0;

  // Unloads the window; the program ends once control returns to the platform's event loop.
  virtual void Close() = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_MENU_VIEW_H_
