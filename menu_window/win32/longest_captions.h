// Win32 only: the few longest captions of the list Menu, kept as the form adds them, so that the
// open list can be made as wide as its widest caption without measuring thousands of them or
// asking the list for them, either of which slows the start.
#ifndef TOLVAR_MENU_WINDOW_WIN32_LONGEST_CAPTIONS_H_
#define TOLVAR_MENU_WINDOW_WIN32_LONGEST_CAPTIONS_H_

#include <windows.h>

#include <string>
#include <vector>

namespace tolvar {

class LongestCaptions {
 public:
  // Keeps `caption` when it is among the longest by length so far. The widest caption in pixels
  // is always among the longest few by length.
  void Keep(std::wstring caption);

  // The width in pixels of the widest caption kept, in `font` on `window`'s screen; 0 for none.
  // Forgets the captions.
  int MeasureWidest(HWND window, HFONT font);

 private:
  std::vector<std::wstring> captions_;  // the longest first
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_LONGEST_CAPTIONS_H_
