// Linux body of CheckPicture: GdkPixbuf, the loader behind the GTK window, without GTK itself.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "menu_check/picture_check.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

Result CheckPicture(const std::string& path) {
  GError* error = nullptr;
  GdkPixbuf* picture = gdk_pixbuf_new_from_file(MatchCase(NativePath(path)).c_str(), &error);
  if (picture != nullptr) {
    g_object_unref(picture);
    return Result::Ok();
  }
  const std::string reason = error != nullptr ? error->message : "the picture cannot be loaded";
  g_clear_error(&error);
  return Result::Failure(reason);
}

}  // namespace tolvar
