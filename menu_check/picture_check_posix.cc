// Linux body of CheckPicture: the window's own picture loader, at the picture area's size.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "menu_check/picture_check.h"
#include "menu_form/form_layout.h"
#include "menu_window/gtk/picture_loader.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

Result CheckPicture(const std::string& path) {
  // The picture area at 96 dots per inch, as the window asks for it.
  const PixelRect area = ToPixels(kSplashLayout.twips, kDesignDpi);
  std::string reason;
  GdkPixbuf* picture =
      LoadStretchedPicture(MatchCase(NativePath(path)), area.width, area.height, &reason);
  if (picture == nullptr) return Result::Failure(reason);
  g_object_unref(picture);
  return Result::Ok();
}

}  // namespace tolvar
