// The second floor for the start-up benchmark: the menu window's own widgets (the title, the
// picture, the closed drop-down list with its captions, Launch and Quit) at the same size and
// places, in plain GTK 3 with no menu logic: no menu file is read and no form runs. Unlike the
// empty window it draws text, so it pays for fonts as the menu does.
//
// Usage: widgets_gtk_window TITLE PICTURE CAPTION...   (the list shows the first caption)
#include <gtk/gtk.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "menu_form/form_layout.h"
#include "menu_window/gtk/window_style.h"

namespace {

using tolvar::ControlLayout;

// The menu scales its layout by the resolution text is drawn at; so does the floor, to keep the
// same size on any desktop.
int FontDpi() {
  GdkScreen* screen = gdk_screen_get_default();
  gtk_settings_get_for_screen(screen);
  const double resolution = gdk_screen_get_resolution(screen);
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : tolvar::kDesignDpi;
}

void Place(GtkWidget* fixed, GtkWidget* control, const ControlLayout& layout, int dpi) {
  const tolvar::PixelRect box = tolvar::ToPixels(layout.twips, dpi);
  gtk_widget_set_name(control, layout.name);
  gtk_widget_set_size_request(control, box.width, box.height);
  gtk_fixed_put(GTK_FIXED(fixed), control, box.left, box.top);
}

GtkWidget* LabelOf(const char* caption) {
  GtkWidget* label = gtk_label_new(caption);
  gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
  return label;
}

GtkWidget* Button(const char* caption) {
  GtkWidget* button = gtk_button_new();
  gtk_container_add(GTK_CONTAINER(button), LabelOf(caption));
  return button;
}

// The closed list as the menu makes it: a toggle button in the combo style, the first caption and
// the arrow's area (left blank: its triangle costs nothing to speak of). The captions wait in a
// list store for a popup that only opening the list would build.
GtkWidget* DropDown(GtkListStore* captions) {
  GtkTreeIter first;
  gchar* shown = nullptr;
  if (gtk_tree_model_get_iter_first(GTK_TREE_MODEL(captions), &first)) {
    gtk_tree_model_get(GTK_TREE_MODEL(captions), &first, 0, &shown, -1);
  }
  GtkWidget* label = LabelOf(shown != nullptr ? shown : "");
  g_free(shown);
  gtk_label_set_single_line_mode(GTK_LABEL(label), TRUE);
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_widget_set_hexpand(label, TRUE);
  GtkWidget* arrow = gtk_drawing_area_new();
  gtk_widget_set_size_request(arrow, 16, -1);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(box), arrow, FALSE, FALSE, 0);
  GtkWidget* button = gtk_toggle_button_new();
  gtk_style_context_add_class(gtk_widget_get_style_context(button), "combo");
  gtk_container_add(GTK_CONTAINER(button), box);
  return button;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: widgets_gtk_window TITLE PICTURE CAPTION...\n");
    return 2;
  }
  setenv("GDK_GL", "disable", 1);
  if (!gtk_init_check(nullptr, nullptr)) return 1;

  GtkCssProvider* style = gtk_css_provider_new();
  gtk_css_provider_load_from_data(style, tolvar::kWindowCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(style);

  const int dpi = FontDpi();
  const tolvar::PixelRect area = tolvar::ToPixels(tolvar::kSplashLayout.twips, dpi);
  GError* error = nullptr;
  GdkPixbuf* picture =
      gdk_pixbuf_new_from_file_at_scale(argv[2], area.width, area.height, FALSE, &error);
  if (picture == nullptr) {
    std::fprintf(stderr, "widgets_gtk_window: %s\n", error->message);
    g_error_free(error);
    return 1;
  }
  GtkListStore* captions = gtk_list_store_new(1, G_TYPE_STRING);
  for (int i = 3; i < argc; ++i)
    gtk_list_store_insert_with_values(captions, nullptr, -1, 0, argv[i], -1);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_name(window, tolvar::kFormName);
  gtk_window_set_title(GTK_WINDOW(window), argv[1]);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, tolvar::TwipsToPixels(tolvar::kClientWidthTwips, dpi),
                              tolvar::TwipsToPixels(tolvar::kClientHeightTwips, dpi));
  gtk_container_add(GTK_CONTAINER(window), fixed);

  GtkWidget* launch = Button("Launch");
  Place(fixed, gtk_image_new_from_pixbuf(picture), tolvar::kSplashLayout, dpi);
  Place(fixed, DropDown(captions), tolvar::kMenuLayout, dpi);
  Place(fixed, launch, tolvar::kGoBoxLayout, dpi);
  Place(fixed, Button("Quit"), tolvar::kExitBoxLayout, dpi);
  g_object_unref(picture);
  // Launch is the default button and has the focus, with its ring showing, as in the menu: each
  // changes how it is drawn.
  gtk_widget_set_can_default(launch, TRUE);
  gtk_window_set_default(GTK_WINDOW(window), launch);

  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_widget_grab_focus(launch);
  gtk_window_set_focus_visible(GTK_WINDOW(window), TRUE);
  gtk_main();
  g_object_unref(captions);
  return 0;
}
