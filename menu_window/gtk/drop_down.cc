// DropDown: the closed button and its keys, the keys of the open list, and picking from it; the
// open list's window is drop_down_popup.cc.
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

int DropDown::AddIcon(cairo_surface_t* picture, int side) {
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
  cairo_surface_t* icon = icons_.ForRow(selected_);
  if (icon != nullptr) {
    gtk_image_set_from_surface(GTK_IMAGE(icon_), icon);
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
