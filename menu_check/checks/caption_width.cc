// EstimatedCaptionWidth: widths by character class, in tenths of a pixel, from Segoe UI at 12
// pixels (9 points at 96 dots per inch) and DejaVu Sans at 13.3 pixels (10 points).
#include "menu_check/checks/caption_width.h"

#include <cstring>
#include <tuple>

#include "menu_check/menu_check.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

// The tenths of a pixel each class of characters takes in one font.
struct ClassWidths {
  int narrow;      // blank, i, l, punctuation
  int slim;        // f, r, t, brackets, slashes
  int lower_wide;  // m, w
  int upper_wide;  // M, W
  int lower;       // other lower-case letters, and other ASCII
  int upper;       // other capitals
  int digit;       // figures
  int sign;        // @ % &
  int other;       // letters beyond ASCII
  int east_asian;  // one em
};

constexpr ClassWidths kSegoeUi9 = {30, 42, 98, 112, 62, 78, 69, 100, 65, 120};
constexpr ClassWidths kDejaVuSans10 = {40, 51, 130, 130, 78, 89, 80, 121, 80, 133};

int AsciiWidth(char c, const ClassWidths& font) {
  if (c == ' ' || std::strchr("ijlI!|.,:;'`", c) != nullptr) return font.narrow;
  if (std::strchr("frt()[]{}-\"/\\", c) != nullptr) return font.slim;
  if (c == 'm' || c == 'w') return font.lower_wide;
  if (c == 'M' || c == 'W') return font.upper_wide;
  if (c >= 'a' && c <= 'z') return font.lower;
  if (c >= 'A' && c <= 'Z') return font.upper;
  if (c >= '0' && c <= '9') return font.digit;
  if (c == '@' || c == '%' || c == '&') return font.sign;
  return font.lower;
}

// Hangul, CJK ideographs and kana, full-width forms: one em.
bool IsEastAsianWide(char32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
         (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
         (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
         (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

}  // namespace

int EstimatedCaptionWidth(const std::string& caption, System system) {
  const ClassWidths& font = system == System::kWindows ? kSegoeUi9 : kDejaVuSans10;
  int tenths = 0;
  for (size_t i = 0; i < caption.size();) {
    char32_t code = 0xFFFD;
    const size_t length = Utf8SequenceAt(caption, i, &code);
    i += length > 0 ? length : 1;  // a byte that is no UTF-8 shows as U+FFFD
    if (code < 0x80) {
      tenths += AsciiWidth(static_cast<char>(code), font);
    } else if (code < 0x300 || code > 0x36F) {
      // Combining marks sit on the letter before them and add nothing.
      tenths += IsEastAsianWide(code) ? font.east_asian : font.other;
    }
  }
  return (tenths + 5) / 10;
}

int EstimatedButtonCaptionWidth(const std::string& caption, System system) {
  const int width = EstimatedCaptionWidth(caption, system);
  return system == System::kWindows ? width : (width * 8 + 5) / 10;
}

std::string CaptionCutWarning(const std::string& entry, const std::string& caption,
                              const Targets& targets) {
  std::string cut;
  std::string names;
  for (const auto& [system, wanted, name] :
       {std::tuple(System::kWindows, targets.for_windows, "Windows"),
        std::tuple(System::kLinux, targets.for_linux, "Linux")}) {
    const int width = EstimatedCaptionWidth(caption, system);
    if (!wanted || width <= ListTextWidth(system)) continue;
    cut += std::string(cut.empty() ? "" : "; ") + "on " + name + " it is about " +
           std::to_string(width) + " pixels wide and the list shows about " +
           std::to_string(ListTextWidth(system));
    names += std::string(names.empty() ? "" : " and ") + name;
  }
  if (cut.empty()) return "";
  return entry + ": the caption's end is cut off on " + names + ": " + cut;
}

std::string ButtonCaptionWarning(DirectiveName name, const std::string& caption,
                                 const Targets& targets) {
  const ControlLayout* button = name == DirectiveName::kLaunchCaption ? &kGoBoxLayout
                                : name == DirectiveName::kQuitCaption ? &kExitBoxLayout
                                                                      : nullptr;
  if (button == nullptr) return "";
  std::string cut;
  for (const auto& [system, wanted, system_name] :
       {std::tuple(System::kWindows, targets.for_windows, "Windows"),
        std::tuple(System::kLinux, targets.for_linux, "Linux")}) {
    const int width = EstimatedButtonCaptionWidth(caption, system);
    if (!wanted || width <= ButtonTextWidth(*button)) continue;
    cut += std::string(cut.empty() ? "" : "; ") + "on " + system_name + " it is about " +
           std::to_string(width) + " pixels wide";
  }
  if (cut.empty()) return "";
  return "the caption " + QuotedText(caption) + " is longer than its button shows (" +
         std::to_string(ButtonTextWidth(*button)) + " pixels at 96 DPI): " + cut +
         ", and its end is cut off";
}

}  // namespace tolvar
