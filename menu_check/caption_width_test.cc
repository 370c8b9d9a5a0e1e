// The caption width estimate against captions whose fit in the list is not in doubt.
#include "menu_check/caption_width.h"

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

}  // namespace
}  // namespace tolvar
