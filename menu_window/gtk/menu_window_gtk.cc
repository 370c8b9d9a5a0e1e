// GtkMenuWindow: the fixed layout of Tolvar_Autorun on a GtkFixed, its look, and the MenuView
// operations.
#include "menu_window/gtk/menu_window_gtk.h"

#include <cmath>
#include <cstddef>

#include "menu_form/form_layout.h"
#include "menu_form/menu_entry.h"
#include "menu_window/gtk/caption_list_model.h"
#include "menu_window/gtk/list_icons.h"
#include "menu_window/gtk/message_box.h"
#include "menu_window/gtk/window_style.h"
#include "picture/icon_picture.h"
#include "picture/picture_loader.h"

namespace tolvar {
namespace {

// The resolution GTK renders text at: the desktop's Xft.dpi times GDK_DPI_SCALE, in pixels of the
// window's own scale (GDK_SCALE doubles both). The layout follows it, as a Windows form follows the
// system DPI, so that larger text never outgrows its controls.
int FontDpi() {
  GdkScreen* screen = gdk_screen_get_default();
  gtk_settings_get_for_screen(screen);  // applies gtk-xft-dpi and GDK_DPI_SCALE to the screen
  const double resolution = gdk_screen_get_resolution(screen);
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : kDesignDpi;
}

constexpr char kIcon32[] = "/org/tolvar/autorun/tolvar-32.png";
constexpr char kIcon16[] = "/org/tolvar/autorun/tolvar-16.png";

void UseWindowStyle() {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kWindowCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

// The icon is built into the program, so that it needs no file beside it on the medium. Set as
// the default, the message boxes carry it too.
void UseProgramIcon() {
  GList* icons = nullptr;
  for (const char* resource : {kIcon32, kIcon16}) {
    if (GdkPixbuf* icon = gdk_pixbuf_new_from_resource(resource, nullptr)) {
      icons = g_list_append(icons, icon);
    }
  }
  gtk_window_set_default_icon_list(icons);
  g_list_free_full(icons, g_object_unref);
}

// A caption too wide for its button is shortened with an ellipsis instead of widening the button
// over its neighbours, or the window: a label asks for its whole text as its natural width unless
// told otherwise. GtkButton makes a new label for each caption, so this follows every change.
void KeepWidth(GtkWidget* button) {
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
  if (!GTK_IS_LABEL(label)) return;
  gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
}

}  // namespace

Result GtkMenuWindow::Create() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  fixed_ = gtk_fixed_new();
  splash_ = gtk_image_new();
  go_box_ = gtk_button_new_with_label(kGoBoxLayout.design_caption);
  exit_box_ = gtk_button_new_with_label(kExitBoxLayout.design_caption);
  menu_.emplace();
  dpi_ = FontDpi();
  UseWindowStyle();
  UseProgramIcon();

  GtkWindow* window = GTK_WINDOW(window_);
  gtk_widget_set_name(window_, kFormName);
  gtk_window_set_title(window, kDesignTitle);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_widget_set_size_request(fixed_, TwipsToPixels(kClientWidthTwips, dpi_),
                              TwipsToPixels(kClientHeightTwips, dpi_));
  gtk_container_add(GTK_CONTAINER(window_), fixed_);

  for (const ControlLayout* layout : kControls) Place(ControlWidget(layout->control), *layout);
  // Until the menu file describes it, the picture is decoration, which screen readers pass over
  // rather than read out as an image without a name.
  atk_object_set_role(gtk_widget_get_accessible(splash_), ATK_ROLE_REDUNDANT_OBJECT);
  for (GtkWidget* button : {go_box_, exit_box_}) KeepWidth(button);
  // Return anywhere but on Quit presses Launch, as in a Windows dialog.
  gtk_widget_set_can_default(go_box_, TRUE);
  gtk_window_set_default(window, go_box_);

  // The layout's keyboard order (Go_Box, Exit_Box, Menu) is not the order on screen that GTK
  // would follow by itself. The focus chain is deprecated only in favour of that on-screen order.
  GList* chain = nullptr;
  for (const ControlLayout* layout : KeyboardOrder()) {
    chain = g_list_append(chain, ControlWidget(layout->control));
  }
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed_), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);

  g_signal_connect(go_box_, "clicked", G_CALLBACK(OnGoBoxClicked), this);
  g_signal_connect(exit_box_, "clicked", G_CALLBACK(OnExitBoxClicked), this);
  menu_->on_user_selection = [this] { Raise(on_menu_click); };
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
  return Result::Ok();
}

GtkMenuWindow::~GtkMenuWindow() {
  if (window_ != nullptr) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
  }
}

GtkWidget* GtkMenuWindow::ControlWidget(Control control) {
  switch (control) {
    case Control::kSplash:
      return splash_;
    case Control::kMenu:
      return menu_->widget();
    case Control::kGoBox:
      return go_box_;
    case Control::kExitBox:
      return exit_box_;
    case Control::kDescription:
      return description_;
  }
  return nullptr;
}

void GtkMenuWindow::Place(GtkWidget* control, const ControlLayout& layout) {
  const PixelRect box = ToPixels(layout.twips, dpi_);
  gtk_widget_set_name(control, layout.name);
  gtk_widget_set_size_request(control, box.width, box.height);
  gtk_fixed_put(GTK_FIXED(fixed_), control, Left(box), box.top);
}

// The layout's x, or from right to left its mirror image, as the system mirrors a dialog: the
// same distance from the right edge as the design has from the left.
int GtkMenuWindow::Left(const PixelRect& box) const {
  if (!right_to_left_) return box.left;
  return TwipsToPixels(kClientWidthTwips, dpi_) - box.left - box.width;
}

void GtkMenuWindow::Show() {
  gtk_widget_show_all(window_);
  menu_->FinishFilling();
  gtk_widget_grab_focus(ControlWidget(KeyboardOrder().front()->control));
  // Windows shows where the focus is from the start; GTK waits for the first key otherwise.
  gtk_window_set_focus_visible(GTK_WINDOW(window_), TRUE);
}

void GtkMenuWindow::OnGoBoxClicked(GtkButton*, gpointer self) {
  auto* window = static_cast<GtkMenuWindow*>(self);
  Raise(window->on_go_box_click);
}

void GtkMenuWindow::OnExitBoxClicked(GtkButton*, gpointer self) {
  auto* window = static_cast<GtkMenuWindow*>(self);
  Raise(window->on_exit_box_click);
}

// Unloading the window, by Close or by its close control, ends the program.
void GtkMenuWindow::OnDestroy(GtkWidget*, gpointer self) {
  static_cast<GtkMenuWindow*>(self)->window_ = nullptr;
  if (gtk_main_level() > 0) gtk_main_quit();
}

void GtkMenuWindow::SetTitle(const std::string& title) {
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
}

Result GtkMenuWindow::ShowSplash(const std::string& path) {
  // Stretched to the area in device pixels, proportions not kept, so that it is sharp at any scale.
  const int scale = gtk_widget_get_scale_factor(splash_);
  const PixelRect area = ToPixels(kSplashLayout.twips, dpi_);
  const Expected<PicturePixels> picture =
      LoadPicture(path, area.width * scale, area.height * scale);
  if (!picture) return picture.result();
  cairo_surface_t* surface = SurfaceFromPixels(picture.value(), scale);
  if (surface == nullptr) return Result::Failure("no memory is left for a picture of this size");
  gtk_image_set_from_surface(GTK_IMAGE(splash_), surface);
  cairo_surface_destroy(surface);
  return Result::Ok();
}

void GtkMenuWindow::ReserveListItems(int count, size_t) { menu_->Reserve(count); }

void GtkMenuWindow::AddListItem(int position, std::string_view text) {
  menu_->Insert(position, text);
}

void GtkMenuWindow::SetListPosition(int position) { menu_->SetSelected(position); }

int GtkMenuWindow::ReadListPosition() { return menu_->selected(); }

void GtkMenuWindow::SetButtonCaption(Button button, const std::string& caption) {
  GtkWidget* target = button == Button::kGoBox ? go_box_ : exit_box_;
  gtk_button_set_label(GTK_BUTTON(target), caption.c_str());
  KeepWidth(target);
}

void GtkMenuWindow::Warn(const std::string& text, const std::string& title) {
  ShowMessageBox(window_ != nullptr ? GTK_WINDOW(window_) : nullptr, text, title,
                 GTK_MESSAGE_WARNING);
}

void GtkMenuWindow::Close() {
  if (window_ != nullptr) gtk_widget_destroy(window_);
}

void GtkMenuWindow::ShowDescriptionRow() {
  if (description_ != nullptr) return;
  description_ = gtk_label_new(nullptr);
  GtkLabel* label = GTK_LABEL(description_);
  // One line, cut with an ellipsis rather than widening the window: a label otherwise asks for its
  // whole text as its natural width.
  gtk_label_set_single_line_mode(label, TRUE);
  gtk_label_set_ellipsize(label, PANGO_ELLIPSIZE_END);
  gtk_label_set_max_width_chars(label, 1);
  gtk_label_set_xalign(label, 0);
  Place(description_, kDescriptionLayout);
  gtk_widget_set_size_request(fixed_, TwipsToPixels(kClientWidthTwips, dpi_),
                              TwipsToPixels(kClientHeightTwips + kDescriptionRowTwips, dpi_));
  gtk_widget_show(description_);
}

void GtkMenuWindow::SetDescription(const std::string& text) {
  if (description_ == nullptr) return;
  // Plain text: a description is the author's words, never markup or mnemonics. Only as much is
  // drawn as a caption would be: no screen shows more, and shaping the rest could freeze the
  // window.
  const std::string shown = text.substr(0, ShownLength(text));
  gtk_label_set_text(GTK_LABEL(description_), shown.c_str());
  // A screen reader reads the list's choice with its whole description, as a sighted person sees
  // both.
  atk_object_set_description(gtk_widget_get_accessible(menu_->widget()), text.c_str());
}

void GtkMenuWindow::DescribeListItem(int position, std::string_view description) {
  menu_->Describe(position, description);
}

void GtkMenuWindow::SetRightToLeft() {
  right_to_left_ = true;
  // The default direction, not each widget's own: it also reaches the labels that GtkButton makes
  // anew for each caption, the open list and the message boxes, as a right-to-left locale would.
  // Text aligns right and the list's arrow goes to its left; a picture is never mirrored.
  gtk_widget_set_default_direction(GTK_TEXT_DIR_RTL);
  // GtkFixed places at the x it is given, whatever the direction.
  for (const ControlLayout* layout : kControls) {
    const PixelRect box = ToPixels(layout->twips, dpi_);
    gtk_fixed_move(GTK_FIXED(fixed_), ControlWidget(layout->control), Left(box), box.top);
  }
}

void GtkMenuWindow::SetPictureDescription(const std::string& text) {
  AtkObject* picture = gtk_widget_get_accessible(splash_);
  atk_object_set_role(picture, ATK_ROLE_IMAGE);
  atk_object_set_name(picture, text.c_str());
}

Result GtkMenuWindow::SetWindowIcon(const std::string& path) {
  // The sizes title bars, task bars and window switchers take, at the layout's scale; the window
  // manager picks among them.
  GList* icons = nullptr;
  std::string reason;
  for (const int twips : {240, 360, 480, 720}) {
    const Expected<PicturePixels> picture = LoadIconPicture(path, TwipsToPixels(twips, dpi_));
    if (!picture) {
      reason = picture.reason();
      break;  // the same file fails at every size
    }
    if (GdkPixbuf* icon = PixbufFromPixels(picture.value())) icons = g_list_append(icons, icon);
  }
  if (icons == nullptr) return Result::Failure(reason.empty() ? "no memory for the icon" : reason);
  gtk_window_set_icon_list(GTK_WINDOW(window_), icons);
  g_list_free_full(icons, g_object_unref);
  return Result::Ok();
}

Expected<int> GtkMenuWindow::LoadListIcon(const std::string& path) {
  // Loaded at the screen's own pixels, as the picture is.
  const int side = TwipsToPixels(kListIconTwips, dpi_);
  const int scale = gtk_widget_get_scale_factor(window_);
  const Expected<PicturePixels> picture = LoadIconPicture(path, side * scale);
  if (!picture) return Expected<int>::Failure(picture.reason());
  cairo_surface_t* icon = SurfaceFromPixels(picture.value(), scale);
  if (icon == nullptr) return Expected<int>::Failure("no memory for the icon");
  const int number = menu_->AddIcon(icon, side);
  cairo_surface_destroy(icon);
  return number;
}

void GtkMenuWindow::SetListItemIcon(int position, int icon) { menu_->SetIcon(position, icon); }

}  // namespace tolvar
