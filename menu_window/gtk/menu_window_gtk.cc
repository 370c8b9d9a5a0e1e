// GtkMenuWindow: the fixed layout of Tolvar_Autorun on a GtkFixed, its look, and the MenuView
// operations.
#include "menu_window/gtk/menu_window_gtk.h"

#include <exception>

#include "menu_form/menu_entry.h"
#include "menu_window/gtk/message_box.h"
#include "menu_window/gtk/picture_loader.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"
#include "shared_routines/run_time_error.h"

namespace tolvar {
namespace {

// The layout in pixels at 96 dots per inch; GTK's scale factor takes care of denser screens.
constexpr int kClientWidth = 508;
constexpr int kClientHeight = 175;
struct Box {
  int left, top, width, height;
};
constexpr Box kSplash = {8, 8, 489, 121};
constexpr Box kMenu = {16, 144, 217, 21};
constexpr Box kGoBox = {240, 144, 49, 25};
constexpr Box kExitBox = {408, 144, 89, 25};

// The theme's minimum sizes and paddings are made for 34-pixel buttons; the window's own controls
// are 21 and 25 pixels high. The buttons' captions take the 8 points the layout was drawn for: at
// a desktop's 10 or 11 points "Launch" is wider than its 49 pixels. Scoped to this window by
// name, so that the message boxes keep their normal look.
constexpr char kCss[] = R"(
#Tolvar_Autorun #Go_Box, #Tolvar_Autorun #Exit_Box, #Tolvar_Autorun #Menu {
  min-height: 0;
  min-width: 0;
  padding: 0 4px;
}
#Tolvar_Autorun #Go_Box, #Tolvar_Autorun #Exit_Box { padding: 0 2px; font-size: 8pt; }
#Tolvar_Autorun #Menu { padding: 0 2px 0 4px; }
)";

constexpr char kIcon32[] = "/org/tolvar/autorun/tolvar-32.png";
constexpr char kIcon16[] = "/org/tolvar/autorun/tolvar-16.png";

void UseWindowStyle() {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kCss, -1, nullptr);
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
// over its neighbours. GtkButton makes a new label for each caption, so this follows every change.
void KeepWidth(GtkWidget* button) {
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
  if (GTK_IS_LABEL(label)) gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
}

}  // namespace

GtkMenuWindow::GtkMenuWindow()
    : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      fixed_(gtk_fixed_new()),
      splash_(gtk_image_new()),
      go_box_(gtk_button_new_with_label("Go_Box")),
      exit_box_(gtk_button_new_with_label("Exit_Box")) {
  UseWindowStyle();
  UseProgramIcon();

  GtkWindow* window = GTK_WINDOW(window_);
  gtk_widget_set_name(window_, "Tolvar_Autorun");
  gtk_window_set_title(window, "Tolvar_Autorun");
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_widget_set_size_request(fixed_, kClientWidth, kClientHeight);
  gtk_container_add(GTK_CONTAINER(window_), fixed_);

  Place(splash_, "Splash", kSplash.left, kSplash.top, kSplash.width, kSplash.height);
  Place(menu_.widget(), "Menu", kMenu.left, kMenu.top, kMenu.width, kMenu.height);
  Place(go_box_, "Go_Box", kGoBox.left, kGoBox.top, kGoBox.width, kGoBox.height);
  Place(exit_box_, "Exit_Box", kExitBox.left, kExitBox.top, kExitBox.width, kExitBox.height);
  for (GtkWidget* button : {go_box_, exit_box_}) KeepWidth(button);

  // The keyboard order is Go_Box, Exit_Box, Menu, which is not the order on screen that GTK would
  // follow by itself. The focus chain is deprecated only in favour of that on-screen order.
  GList* chain = nullptr;
  for (GtkWidget* control : {go_box_, exit_box_, menu_.widget()}) {
    chain = g_list_append(chain, control);
  }
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed_), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);

  g_signal_connect(go_box_, "clicked", G_CALLBACK(OnGoBoxClicked), this);
  g_signal_connect(exit_box_, "clicked", G_CALLBACK(OnExitBoxClicked), this);
  menu_.on_user_selection = [this] { RunEvent(on_menu_click); };
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
}

GtkMenuWindow::~GtkMenuWindow() {
  if (window_ != nullptr) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
  }
}

GtkWidget* GtkMenuWindow::Place(GtkWidget* control, const char* name, int left, int top, int width,
                                int height) {
  gtk_widget_set_name(control, name);
  gtk_widget_set_size_request(control, width, height);
  gtk_fixed_put(GTK_FIXED(fixed_), control, left, top);
  return control;
}

void GtkMenuWindow::Show() {
  gtk_widget_show_all(window_);
  gtk_widget_grab_focus(go_box_);
}

void GtkMenuWindow::RunEvent(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (const RunTimeError& error) {
    Warn(error.what(), kMessageTitle);
  } catch (const std::exception& error) {
    Warn(error.what(), kMessageTitle);
  }
}

void GtkMenuWindow::OnGoBoxClicked(GtkButton*, gpointer self) {
  auto* window = static_cast<GtkMenuWindow*>(self);
  window->RunEvent(window->on_go_box_click);
}

void GtkMenuWindow::OnExitBoxClicked(GtkButton*, gpointer self) {
  auto* window = static_cast<GtkMenuWindow*>(self);
  window->RunEvent(window->on_exit_box_click);
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
  std::string reason;
  GdkPixbuf* picture = LoadStretchedPicture(MatchCase(NativePath(path)), kSplash.width * scale,
                                            kSplash.height * scale, &reason);
  if (picture == nullptr) return Result::Failure(reason);
  cairo_surface_t* surface = gdk_cairo_surface_create_from_pixbuf(picture, scale, nullptr);
  gtk_image_set_from_surface(GTK_IMAGE(splash_), surface);
  cairo_surface_destroy(surface);
  g_object_unref(picture);
  return Result::Ok();
}

void GtkMenuWindow::AddListItem(int position, const std::string& text) {
  menu_.Insert(position, text);
}

void GtkMenuWindow::SelectListPosition(int position) {
  menu_.SetSelected(position);
  if (on_menu_click) on_menu_click();
}

int GtkMenuWindow::ReadListPosition() { return menu_.selected(); }

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

}  // namespace tolvar
