// Win32 body of LongestCaptions: a short list sorted by length, measured with GDI once.
#include "menu_window/win32/longest_captions.h"

#include <algorithm>
#include <utility>

namespace tolvar {

void LongestCaptions::Keep(std::wstring caption) {
  constexpr size_t kMeasured = 32;
  if (captions_.size() == kMeasured && caption.size() <= captions_.back().size()) return;
  const auto place = std::upper_bound(
      captions_.begin(), captions_.end(), caption,
      [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  captions_.insert(place, std::move(caption));
  if (captions_.size() > kMeasured) captions_.pop_back();
}

int LongestCaptions::MeasureWidest(HWND window, HFONT font) {
  const HDC dc = GetDC(window);
  const HGDIOBJ previous = SelectObject(dc, font);
  int widest = 0;
  for (const std::wstring& caption : captions_) {
    SIZE size = {};
    if (GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size)) {
      widest = std::max(widest, static_cast<int>(size.cx));
    }
  }
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  captions_ = {};
  return widest;
}

}  // namespace tolvar
