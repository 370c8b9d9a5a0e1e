// The caption width estimate against captions whose fit in the list is not in doubt.
#include "menu_check/checks/caption_width.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvar {
namespace {

TEST(CaptionWidthTest, OrdinaryCaptionsFitLongOnesDoNot) {
  for (const char* fits : {"Install My Product", "Browse the CD-ROM", "Quit", "Please Select...",
                           "Install Adobe Acrobat Reader 5"}) {
    EXPECT_LE(EstimatedCaptionWidth(fits), kListTextWidth) << fits;
  }
  std::string product_names;  // East Asian characters are twice as wide as Latin letters
  for (int i = 0; i < 17; ++i) product_names += "\xE8\xA3\xBD";
  for (const std::string& too_long : {std::string("Install the complete product with every option"),
                                      std::string("WWWWWWWWWWWWWWWWWWWW"), product_names}) {
    EXPECT_GT(EstimatedCaptionWidth(too_long), kListTextWidth) << too_long;
  }
  // A narrow caption of many letters fits where as many wide ones do not.
  EXPECT_LT(EstimatedCaptionWidth("iiiiiiiiiiiiiiiiiiii"), EstimatedCaptionWidth("mmmmmmmmmm"));
  // "e" with a combining acute accent is as wide as "e".
  EXPECT_EQ(EstimatedCaptionWidth("e\xCC\x81"), EstimatedCaptionWidth("e"));
}

// The Linux list's font is wider than Windows' (DejaVu Sans at 10 points against Segoe UI at 9):
// a caption that Windows shows whole may be cut there. Pango's widths for these captions at 96 DPI
// are 201 and 170 pixels; the list shows 193.
TEST(CaptionWidthTest, TheLinuxListCutsSoonerThanTheWindowsOne) {
  const std::string product = "Install Adobe Acrobat Reader 5";
  EXPECT_LE(EstimatedCaptionWidth(product, System::kWindows), ListTextWidth(System::kWindows));
  EXPECT_GT(EstimatedCaptionWidth(product, System::kLinux), ListTextWidth(System::kLinux));
  EXPECT_LE(EstimatedCaptionWidth("Install the demo (pretend)", System::kLinux),
            ListTextWidth(System::kLinux));
}

}  // namespace
}  // namespace tolvar
