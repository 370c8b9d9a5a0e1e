// DropDown's open list: the popup window with its tree view, built when the program is first idle,
// placed below or above the button within the screen's work area, and the grab it holds while
// open.
#include <algorithm>

#include "menu_form/form_layout.h"
#include "menu_window/gtk/caption_list_model.h"
#include "menu_window/gtk/drop_down.h"
#include "menu_window/gtk/drop_down_accessible.h"

namespace tolvar {

// Building the popup and sizing a tree view of 32766 rows take tens of milliseconds: better spent
// while the person reads the window than when they open the list.
gboolean DropDown::PrepareWhenIdle(gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  drop_down->prepare_source_ = 0;
  if (drop_down->popup_ == nullptr) drop_down->BuildPopup();
  // Sized and realized as the first opening would, which then finds it all done.
  if (gtk_widget_get_realized(drop_down->button_) && !drop_down->open_) {
    drop_down->PlacePopup(std::min(drop_down->count(), kVisibleListRows));
    gtk_widget_realize(drop_down->popup_);
  }
  return G_SOURCE_REMOVE;
}

void DropDown::SetToggle(bool active) {
  if (!g_signal_handler_is_connected(button_, toggled_handler_)) return;  // destroyed
  g_signal_handler_block(button_, toggled_handler_);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button_), active);
  g_signal_handler_unblock(button_, toggled_handler_);
}

void DropDown::BuildPopup() {
  popup_ = gtk_window_new(GTK_WINDOW_POPUP);
  g_object_ref(popup_);
  gtk_window_set_type_hint(GTK_WINDOW(popup_), GDK_WINDOW_TYPE_HINT_COMBO);
  gtk_window_set_resizable(GTK_WINDOW(popup_), FALSE);
  GtkWidget* toplevel = gtk_widget_get_toplevel(button_);
  if (GTK_IS_WINDOW(toplevel)) {
    gtk_window_set_transient_for(GTK_WINDOW(popup_), GTK_WINDOW(toplevel));
    gtk_window_set_attached_to(GTK_WINDOW(popup_), button_);
  }

  tree_ = gtk_tree_view_new();
  GtkTreeView* tree = GTK_TREE_VIEW(tree_);
  gtk_tree_view_set_headers_visible(tree, FALSE);
  gtk_tree_view_set_enable_search(tree, FALSE);  // no text goes into this list
  gtk_tree_view_set_hover_selection(tree, TRUE);
  gtk_tree_view_set_activate_on_single_click(tree, TRUE);
  // Every row has the same height, so the view never measures the rows it does not show.
  gtk_tree_view_set_fixed_height_mode(tree, TRUE);
  renderer_ = gtk_cell_renderer_text_new();
  g_object_set(renderer_, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  GtkTreeViewColumn* column = gtk_tree_view_column_new();
  if (icons_.any()) icon_renderer_ = PackIconCell(column, kIconColumn, icon_side_);
  gtk_tree_view_column_pack_start(column, renderer_, TRUE);
  gtk_tree_view_column_add_attribute(column, renderer_, "text", kCaptionColumn);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_expand(column, TRUE);
  gtk_tree_view_append_column(tree, column);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree), GTK_SELECTION_BROWSE);
  // The list is complete by the time anyone opens it: attaching it now builds the view's rows
  // once, with no per-row signals.
  gtk_tree_view_set_model(tree, model_);
  model_attached_ = true;

  scrolled_ = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled_), GTK_POLICY_NEVER,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled_), tree_);
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
  gtk_container_add(GTK_CONTAINER(frame), scrolled_);
  gtk_container_add(GTK_CONTAINER(popup_), frame);
  gtk_widget_show_all(frame);

  gtk_widget_add_events(popup_, GDK_BUTTON_PRESS_MASK | GDK_KEY_PRESS_MASK);
  g_signal_connect(popup_, "key-press-event", G_CALLBACK(OnPopupKeyPress), this);
  g_signal_connect(popup_, "button-press-event", G_CALLBACK(OnPopupButtonPress), this);
  g_signal_connect(popup_, "grab-broken-event", G_CALLBACK(OnPopupGrabBroken), this);
  g_signal_connect(tree_, "row-activated", G_CALLBACK(OnRowActivated), this);
  g_signal_connect(tree_, "cursor-changed", G_CALLBACK(OnCursorChanged), this);
}

int DropDown::RowHeight() {
  int cell_height = 0;
  gtk_cell_renderer_get_preferred_height(renderer_, tree_, nullptr, &cell_height);
  if (icon_renderer_ != nullptr) {
    int icon_height = 0;
    gtk_cell_renderer_get_fixed_size(icon_renderer_, nullptr, &icon_height);
    cell_height = std::max(cell_height, icon_height);
  }
  int separator = 0;
  gtk_widget_style_get(tree_, "vertical-separator", &separator, nullptr);
  return cell_height + separator;
}

// The longest caption with the row's padding, the frame and the scroll bar around it. Measured
// once: asking a tree view of 32766 rows for its width takes a while.
int DropDown::WidthWanted() {
  if (width_wanted_ >= 0) return width_wanted_;
  int padding = 0;
  gtk_cell_renderer_get_padding(renderer_, &padding, nullptr);
  int separator = 0;
  gtk_widget_style_get(tree_, "horizontal-separator", &separator, nullptr);
  int scroll_bar = 0;
  gtk_widget_get_preferred_width(gtk_scrolled_window_get_vscrollbar(GTK_SCROLLED_WINDOW(scrolled_)),
                                 nullptr, &scroll_bar);
  int frame = 0;
  gtk_widget_set_size_request(popup_, -1, -1);  // the width it asks for without the text
  gtk_widget_get_preferred_width(popup_, &frame, nullptr);
  int icon = 0;
  if (icon_renderer_ != nullptr) gtk_cell_renderer_get_fixed_size(icon_renderer_, &icon, nullptr);
  width_wanted_ = longest_caption_width_ + 2 * padding + icon + separator + scroll_bar + frame;
  return width_wanted_;
}

void DropDown::PlacePopup(int rows) {
  GtkAllocation button;
  gtk_widget_get_allocation(button_, &button);
  GdkWindow* window = gtk_widget_get_window(button_);
  GdkRectangle area;
  gdk_monitor_get_workarea(
      gdk_display_get_monitor_at_window(gtk_widget_get_display(button_), window), &area);

  const int content_height = rows * RowHeight();
  GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(scrolled_);
  gtk_scrolled_window_set_min_content_height(scrolled, content_height);
  gtk_scrolled_window_set_max_content_height(scrolled, content_height);
  // As wide as the button, or as the longest caption, but never wider than the screen.
  const int width = std::max(button.width, std::min(WidthWanted(), area.width));
  gtk_widget_set_size_request(popup_, width, -1);
  int height = 0;
  gtk_widget_get_preferred_height(popup_, nullptr, &height);
  gtk_window_resize(GTK_WINDOW(popup_), width, height);

  int origin_x = 0;
  int origin_y = 0;
  gdk_window_get_origin(window, &origin_x, &origin_y);
  // Below the button when it fits on the screen, otherwise above it; moved left as far as it
  // must to end on the screen. A list wider than its button grows the way text runs: right to
  // left, it ends at the button's right edge.
  int x = origin_x + button.x;
  if (gtk_widget_get_direction(button_) == GTK_TEXT_DIR_RTL) x += button.width - width;
  x = std::max(area.x, std::min(x, area.x + area.width - width));
  int y = origin_y + button.y + button.height;
  if (y + height > area.y + area.height) y = std::max(area.y, origin_y + button.y - height);
  gtk_window_move(GTK_WINDOW(popup_), x, y);
}

void DropDown::Open() {
  if (open_ || captions_.empty()) {
    SetToggle(open_);
    return;
  }
  if (popup_ == nullptr) BuildPopup();
  PlacePopup(std::min(count(), kVisibleListRows));
  MoveCursor(selected_ >= 0 ? selected_ : 0);
  gtk_widget_show(popup_);

  // The popup takes every press and key until it closes, like a menu: a click outside it closes
  // it, and keys never reach the window below.
  GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(popup_));
  if (gdk_seat_grab(seat, gtk_widget_get_window(popup_), GDK_SEAT_CAPABILITY_ALL, TRUE, nullptr,
                    nullptr, nullptr, nullptr) != GDK_GRAB_SUCCESS) {
    gtk_widget_hide(popup_);
    SetToggle(false);
    return;
  }
  gtk_grab_add(popup_);
  gtk_widget_grab_focus(tree_);
  open_ = true;
  SetToggle(true);
  DropDownAccessibleChanged(button_);
}

void DropDown::Close() {
  if (!open_) return;
  open_ = false;
  gtk_grab_remove(popup_);
  gdk_seat_ungrab(gdk_display_get_default_seat(gtk_widget_get_display(popup_)));
  gtk_widget_hide(popup_);
  SetToggle(false);
  DropDownAccessibleChanged(button_);
}

gboolean DropDown::OnPopupButtonPress(GtkWidget* popup, GdkEventButton* event, gpointer self) {
  // Presses on the rows and the scroll bar are taken by those widgets; what arrives here is the
  // popup's border or, through the grab, a press anywhere else on the screen.
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gtk_widget_get_window(popup), &x, &y);
  const bool inside = event->x_root >= x && event->y_root >= y &&
                      event->x_root < x + gtk_widget_get_allocated_width(popup) &&
                      event->y_root < y + gtk_widget_get_allocated_height(popup);
  if (inside) return FALSE;
  static_cast<DropDown*>(self)->Close();
  return TRUE;
}

gboolean DropDown::OnPopupGrabBroken(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<DropDown*>(self)->Close();
  return TRUE;
}

}  // namespace tolvar
