// NoDisplayView: the splash check through the window's picture loader, which needs no display,
// and warnings on stderr.
#include "menu_window/gtk/no_display_view.h"

#include "menu_form/menu_program.h"
#include "picture/picture_loader.h"

namespace tolvar {

// The same load as the window makes, so that a picture it could not show stops the menu here too.
Result NoDisplayView::ShowSplash(const std::string& path) { return CheckPicture(path); }

void NoDisplayView::Warn(const std::string& text, const std::string& title) {
  WriteReportLine({title.c_str(), ": ", text.c_str()});
}

}  // namespace tolvar
