// DropDown: the closed button's keys, the popup with its grab, and picking from it.
#include "menu_window/gtk/drop_down.h"

#include <algorithm>
#include <numeric>

#include "menu_form/form_layout.h"
#include "menu_window/gtk/caption_list_model.h"
#include "menu_window/gtk/drop_down_accessible.h"
#include "menu_window/gtk/drop_down_keys.h"

namespace tolvar {
namespace {

// Only the longest captions by length are measured: measuring all of 32766 would cost a third of
// a second, and these always hold the widest.
constexpr size_t kCaptionsMeasured = 32;

bool IsReturn(guint keyval) {
  return keyval == GDK_KEY_Return || keyval == GDK_KEY_KP_Enter || keyval == GDK_KEY_ISO_Enter;
}

bool IsAltArrow(const GdkEventKey* event) {
  return (event->state & GDK_MOD1_MASK) != 0 &&
         (event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down ||
          event->keyval == GDK_KEY_Up || event->keyval == GDK_KEY_KP_Up);
}

// A downward triangle in the text's colour, the width of the theme's own arrow.
constexpr int kArrowWidth = 16;
gboolean DrawArrow(GtkWidget* arrow, cairo_t* cairo, gpointer) {
  GtkStyleContext* style = gtk_widget_get_style_context(arrow);
  GdkRGBA color;
  gtk_style_context_get_color(style, gtk_style_context_get_state(style), &color);
  const double middle_x = gtk_widget_get_allocated_width(arrow) / 2.0;
  const double middle_y = gtk_widget_get_allocated_height(arrow) / 2.0;
  cairo_move_to(cairo, middle_x - 4, middle_y - 2);
  cairo_line_to(cairo, middle_x + 4, middle_y - 2);
  cairo_line_to(cairo, middle_x, middle_y + 2);
  cairo_close_path(cairo);
  gdk_cairo_set_source_rgba(cairo, &color);
  cairo_fill(cairo);
  return FALSE;
}

}  // namespace

DropDown::DropDown()
    : button_(DropDownButtonNew(this)), label_(gtk_label_new("")), icon_(gtk_image_new()) {
  // All are kept past the window's end, when GTK destroys the widgets inside it.
  g_object_ref_sink(button_);
  g_object_ref_sink(label_);
  g_object_ref_sink(icon_);
  gtk_style_context_add_class(gtk_widget_get_style_context(button_), "combo");

  gtk_label_set_ellipsize(GTK_LABEL(label_), PANGO_ELLIPSIZE_END);
  // Otherwise the label asks for its whole caption as its natural width, and the window, which
  // takes its controls' natural sizes, grows with the selected caption.
  gtk_label_set_max_width_chars(GTK_LABEL(label_), 1);
  gtk_label_set_single_line_mode(GTK_LABEL(label_), TRUE);
  gtk_label_set_xalign(GTK_LABEL(label_), 0.0f);
  gtk_widget_set_hexpand(label_, TRUE);
  // Drawn rather than taken from the icon theme: looking the theme up costs a tenth of the
  // window's start-up.
  GtkWidget* arrow = gtk_drawing_area_new();
  gtk_widget_set_size_request(arrow, kArrowWidth, -1);
  g_signal_connect(arrow, "draw", G_CALLBACK(DrawArrow), nullptr);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(box), icon_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), label_, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(box), arrow, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(button_), box);
  gtk_widget_show_all(box);
  gtk_widget_hide(icon_);  // until the list has icons
  gtk_widget_set_no_show_all(icon_, TRUE);

  model_ = CaptionListModelNew(&captions_, &icons_);
  g_signal_connect(button_, "key-press-event", G_CALLBACK(OnButtonKeyPress), this);
  toggled_handler_ = g_signal_connect(button_, "toggled", G_CALLBACK(OnButtonToggled), this);
}

DropDown::~DropDown() {
  if (prepare_source_ != 0) g_source_remove(prepare_source_);
  Close();
  if (popup_ != nullptr) {
    gtk_widget_destroy(popup_);
    g_object_unref(popup_);
  }
  CaptionListModelRelease(model_);
  g_object_unref(model_);
  // The window's end has usually destroyed the button, and its handlers with it, by now.
  g_signal_handlers_disconnect_by_data(button_, this);
  DropDownButtonDetach(button_);
  g_object_unref(label_);
  g_object_unref(icon_);
  g_object_unref(button_);
}

void DropDown::Insert(int position, std::string_view caption) {
  position = std::clamp(position, 0, count());
  captions_.insert(captions_.begin() + position, caption_text_.Keep(caption));
  if (static_cast<size_t>(position) < descriptions_.size()) {
    descriptions_.insert(descriptions_.begin() + position, "");
  }
  icons_.RowInserted(position);
  if (model_attached_) CaptionListModelRowInserted(model_, position);
  if (selected_ >= position) {
    ++selected_;
    ShowSelected();
  }
}

void DropDown::Describe(int position, std::string_view description) {
  if (position < 0 || position >= count()) return;
  if (static_cast<size_t>(position) >= descriptions_.size()) descriptions_.resize(position + 1, "");
  descriptions_[position] = caption_text_.Keep(description);
}

void DropDown::SetSelected(int position) {
  selected_ = (position >= 0 && position < count()) ? position : -1;
  ShowSelected();
}

void DropDown::Pick(int position) {
  if (position == selected_ || position < -1 || position >= count()) return;
  SetSelected(position);
  if (on_user_selection) on_user_selection();
}

int DropDown::AddIcon(GdkPixbuf* picture, int side) {
  icon_side_ = side;
  // Every row keeps the icon's room, with or without one, so that the captions line up.
  gtk_widget_set_size_request(icon_, side, side);
  gtk_widget_set_margin_end(icon_, side / 4);
  gtk_widget_show(icon_);
  return icons_.Add(picture);
}

void DropDown::SetIcon(int position, int icon) {
  icons_.Set(position, icon);
  if (position == selected_) ShowSelected();
}

void DropDown::ShowSelected() {
  GdkPixbuf* icon = icons_.ForRow(selected_);
  if (icon != nullptr) {
    gtk_image_set_from_pixbuf(GTK_IMAGE(icon_), icon);
  } else {
    gtk_image_clear(GTK_IMAGE(icon_));
  }
  if (selected_ >= 0) {
    const std::string_view caption = captions_[selected_];
    const std::string shown(caption.substr(0, ShownLength(caption)));
    gtk_label_set_text(GTK_LABEL(label_), shown.c_str());
  } else {
    gtk_label_set_text(GTK_LABEL(label_), "");
  }
  DropDownAccessibleChanged(button_);
}

void DropDown::FinishFilling() {
  std::vector<int> order(captions_.size());
  std::iota(order.begin(), order.end(), 0);
  const size_t measured = std::min(order.size(), kCaptionsMeasured);
  std::partial_sort(order.begin(), order.begin() + measured, order.end(),
                    [this](int a, int b) { return captions_[a].size() > captions_[b].size(); });
  PangoLayout* layout = gtk_widget_create_pango_layout(label_, nullptr);
  longest_caption_width_ = 0;
  for (size_t i = 0; i < measured; ++i) {
    const std::string_view caption = captions_[order[i]];
    pango_layout_set_text(layout, caption.data(), static_cast<int>(ShownLength(caption)));
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    longest_caption_width_ = std::max(longest_caption_width_, width);
  }
  g_object_unref(layout);
  if (!captions_.empty() && prepare_source_ == 0) {
    prepare_source_ = g_idle_add_full(G_PRIORITY_LOW, PrepareWhenIdle, this, nullptr);
  }
}

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

int DropDown::CursorRow() const {
  GtkTreePath* path = nullptr;
  gtk_tree_view_get_cursor(GTK_TREE_VIEW(tree_), &path, nullptr);
  if (path == nullptr) return 0;
  const int row = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  return row;
}

void DropDown::MoveCursor(int row) {
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(tree_), path, nullptr, FALSE);
  gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(tree_), path, nullptr, FALSE, 0, 0);
  gtk_tree_path_free(path);
}

int DropDown::KeyTarget(const GdkEventKey* event, int from) const {
  const int target = NavigationTarget(event->keyval, event->state, from, count(), kVisibleListRows);
  return target != kNoTarget ? target : LetterTarget(event->keyval, event->state, from, captions_);
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

gboolean DropDown::OnButtonKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  if (IsAltArrow(event) || event->keyval == GDK_KEY_F4) {
    drop_down->Open();
    return TRUE;
  }
  // Return presses the window's default button, as in a Windows dialog, rather than opening the
  // list as a toggle button would.
  if (IsReturn(event->keyval)) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(drop_down->button_);
    GtkWidget* default_button =
        GTK_IS_WINDOW(toplevel) ? gtk_window_get_default_widget(GTK_WINDOW(toplevel)) : nullptr;
    if (default_button != nullptr) gtk_widget_activate(default_button);
    return TRUE;
  }
  const int target = drop_down->KeyTarget(event, drop_down->selected_);
  if (target == kNoTarget) return FALSE;
  drop_down->Pick(target);
  return TRUE;
}

void DropDown::OnButtonToggled(GtkToggleButton* button, gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  if (gtk_toggle_button_get_active(button)) {
    drop_down->Open();
  } else {
    drop_down->Close();
  }
}

gboolean DropDown::OnPopupKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  switch (event->keyval) {
    case GDK_KEY_Escape:
      drop_down->Close();
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
    case GDK_KEY_F4: {
      const int row = drop_down->CursorRow();
      drop_down->Close();
      drop_down->Pick(row);
      return TRUE;
    }
    default:
      break;
  }
  if (IsAltArrow(event)) {
    const int row = drop_down->CursorRow();
    drop_down->Close();
    drop_down->Pick(row);
    return TRUE;
  }
  const int row = drop_down->CursorRow();
  const int target =
      NavigationTarget(event->keyval, event->state, row, drop_down->count(), kVisibleListRows);
  if (target != kNoTarget) {
    drop_down->MoveCursor(target);
    return TRUE;
  }
  // A letter selects at once, open or closed, so that the closed list and the selection handler
  // follow it as they do on Windows.
  const int letter_target = LetterTarget(event->keyval, event->state, row, drop_down->captions_);
  if (letter_target != kNoTarget) {
    drop_down->MoveCursor(letter_target);
    drop_down->Pick(letter_target);
  }
  return TRUE;  // any other key would start the tree view's search or reach nothing useful
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

void DropDown::OnCursorChanged(GtkTreeView*, gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  const int row = drop_down->CursorRow();
  const std::string_view description = drop_down->description(row);
  if (!description.empty()) DescribeTreeCell(drop_down->tree_, row, description.data());
}

void DropDown::OnRowActivated(GtkTreeView*, GtkTreePath* path, GtkTreeViewColumn*, gpointer self) {
  auto* drop_down = static_cast<DropDown*>(self);
  const int row = gtk_tree_path_get_indices(path)[0];
  drop_down->Close();
  drop_down->Pick(row);
}

}  // namespace tolvar
