// NoDisplayView: the splash check through the window's picture loader, which needs no display,
// and warnings on stderr.
#include "menu_window/gtk/no_display_view.h"

#include <cstdio>

#include "menu_form/form_layout.h"
#include "menu_window/gtk/picture_loader.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

Result NoDisplayView::ShowSplash(const std::string& path) {
  // The window's picture area at the design's 96 dots per inch: the same check as the window makes.
  constexpr PixelRect kArea = ToPixels(kSplashLayout.twips, kDesignDpi);
  std::string reason;
  GdkPixbuf* picture =
      LoadStretchedPicture(MatchCase(NativePath(path)), kArea.width, kArea.height, &reason);
  if (picture == nullptr) return Result::Failure(reason);
  g_object_unref(picture);
  return Result::Ok();
}

void NoDisplayView::Warn(const std::string& text, const std::string& title) {
  std::fprintf(stderr, "tolvar-autorun: %s: %s\n", title.c_str(), text.c_str());
}

}  // namespace tolvar
