// DropDown: the list Menu, a drop-down list the user can only pick from. It looks like a combo box
// (a button with the chosen caption and an arrow) and opens a popup with a scrolled tree view in
// fixed-height mode, so that 32766 entries fill and open at once, which GtkComboBox cannot do.
#ifndef TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_H_
#define TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_H_

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "menu_form/text_store.h"
#include "menu_window/gtk/list_icons.h"

namespace tolvar {

class DropDown {
 public:
  DropDown();
  ~DropDown();
  DropDown(const DropDown&) = delete;
  DropDown& operator=(const DropDown&) = delete;

  // The widget to put into the window; named `name` for CSS and the accessibility tree.
  GtkWidget* widget() const { return button_; }

  // Makes room for `count` captions in all, before they are inserted.
  void Reserve(int count) { captions_.reserve(count); }

  // Inserts `caption` at `position` (0 to count()); the selection stays on the same item.
  void Insert(int position, std::string_view caption);

  // Keeps `picture` as an icon of `side` pixels square, for SetIcon; returns its number. Called
  // before the list is first opened.
  int AddIcon(cairo_surface_t* picture, int side);
  // Shows icon `icon` (from AddIcon) beside the caption at `position`, open or closed.
  void SetIcon(int position, int icon);

  // Selects `position` (-1: none) without running on_user_selection: whoever selects in code runs
  // the handler it needs itself.
  void SetSelected(int position);

  // A choice by the user (keys, the popup, the accessibility tree): selects `position` and runs
  // on_user_selection when the selection changed.
  void Pick(int position);

  // Gives the item at `position` a description, which screen readers read with it, in the closed
  // list's accessible items and in the open list as its cursor reaches the item.
  void Describe(int position, std::string_view description);
  // The item's description, "" for none; a NUL follows it, as a caption.
  std::string_view description(int position) const {
    return static_cast<size_t>(position) < descriptions_.size() ? descriptions_[position] : "";
  }

  int selected() const { return selected_; }
  int count() const { return static_cast<int>(captions_.size()); }
  // A NUL follows the caption (it is kept in a TextStore), so its data() is a C string.
  std::string_view caption(int position) const { return captions_[position]; }
  bool is_open() const { return open_; }

  void Open();
  void Close();

  // Call once the list is filled and shown: finds how wide the open list must be to show the
  // longest caption, and builds the open list when the program is next idle, so that its first
  // opening need not.
  void FinishFilling();

  // Runs after the user changed the selection; must not throw.
  std::function<void()> on_user_selection;

 private:
  static gboolean OnButtonKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static void OnButtonToggled(GtkToggleButton* button, gpointer self);
  static gboolean OnPopupKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnPopupButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnPopupGrabBroken(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void OnCursorChanged(GtkTreeView* tree, gpointer self);
  static void OnRowActivated(GtkTreeView* tree, GtkTreePath* path, GtkTreeViewColumn* column,
                             gpointer self);

  void BuildPopup();
  int RowHeight();
  void PlacePopup(int rows);
  int CursorRow() const;
  void MoveCursor(int row);
  // The position `event` leads to from `from` (drop_down_keys.h), or kNoTarget.
  int KeyTarget(const GdkEventKey* event, int from) const;
  static gboolean PrepareWhenIdle(gpointer self);
  // How wide the open list must be to show its longest caption, text and all around it.
  int WidthWanted();
  void ShowSelected();
  void SetToggle(bool active);

  GtkWidget* button_;
  GtkWidget* label_;
  GtkWidget* icon_;  // the chosen entry's icon in the closed list, shown once there are icons
  GtkWidget* popup_ = nullptr;
  GtkWidget* scrolled_ = nullptr;
  GtkWidget* tree_ = nullptr;
  GtkCellRenderer* renderer_ = nullptr;
  GtkCellRenderer* icon_renderer_ = nullptr;  // only when there are icons
  ListIcons icons_;
  int icon_side_ = 0;
  GtkTreeModel* model_;
  bool model_attached_ = false;
  // The captions, each copied once into a few large blocks: 32766 strings of their own would cost
  // an allocation each as the list fills, before the window is shown.
  TextStore caption_text_;
  std::vector<std::string_view> captions_;
  std::vector<std::string_view> descriptions_;  // by position, up to the last described item
  int selected_ = -1;
  int longest_caption_width_ = 0;  // in pixels, from FinishFilling
  int width_wanted_ = -1;          // from WidthWanted, once the popup is built
  guint prepare_source_ = 0;
  bool open_ = false;
  gulong toggled_handler_ = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_H_
