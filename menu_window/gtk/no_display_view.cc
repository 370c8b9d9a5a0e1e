// NoDisplayView: the splash check through GdkPixbuf, which needs no display, and warnings on
// stderr.
#include "menu_window/gtk/no_display_view.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <iostream>

#include "shared_routines/native_path.h"

namespace tolvar {

Result NoDisplayView::ShowSplash(const std::string& path) {
  GError* error = nullptr;
  GdkPixbuf* picture = gdk_pixbuf_new_from_file(NativePath(path).c_str(), &error);
  if (picture == nullptr) {
    Result failure = Result::Failure(error != nullptr ? error->message : "unknown picture format");
    g_clear_error(&error);
    return failure;
  }
  g_object_unref(picture);
  return Result::Ok();
}

void NoDisplayView::SelectListPosition(int position) {
  selected_ = position;
  if (on_menu_click) on_menu_click();
}

void NoDisplayView::Warn(const std::string& text, const std::string& title) {
  std::cerr << "tolvar-autorun: " << title << ": " << text << '\n';
}

}  // namespace tolvar
