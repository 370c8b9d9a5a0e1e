// Win32 only: the window Tolvar_Autorun (a picture area, the drop-down list Menu, the buttons
// Go_Box and Exit_Box, and the description row when the menu has one) and MenuView carried out on
// it. It draws and forwards its four events through the hooks below; what they mean is the form's
// business.
#ifndef TOLVAR_MENU_WINDOW_WIN32_MENU_WINDOW_H_
#define TOLVAR_MENU_WINDOW_WIN32_MENU_WINDOW_H_

#include <windows.h>

#include <functional>
#include <string>

#include "menu_form/form_layout.h"
#include "menu_form/menu_form.h"
#include "menu_form/menu_view.h"
#include "menu_window/win32/list_icons.h"
#include "menu_window/win32/longest_captions.h"
#include "menu_window/win32/picture_area.h"

namespace tolvar {

// The hooks of MenuEvents are connected to the form's handlers by the menu program, which guards
// them: nothing they run unwinds through the window procedure.
class MenuWindow : public MenuView, public MenuEvents {
 public:
  explicit MenuWindow(HINSTANCE instance);
  ~MenuWindow() override;
  MenuWindow(const MenuWindow&) = delete;
  MenuWindow& operator=(const MenuWindow&) = delete;

  // Creates the window hidden, in its design-time state: title "Tolvar_Autorun", buttons "Go_Box"
  // and "Exit_Box", an empty list and an empty picture area, centred on the screen. Fails with the
  // system's reason.
  Result Create();

  // Shows the window with the focus on the first control of the keyboard order, Go_Box.
  void Show();

  // Runs the window until it is closed; returns the process's exit status.
  int RunMessageLoop();

  // MenuView
  void SetTitle(const std::string& title) override;
  Result ShowSplash(const std::string& path) override;
  void ReserveListItems(int count, size_t text_bytes) override;
  void AddListItem(int position, std::string_view text) override;
  void SetListPosition(int position) override;
  int ReadListPosition() override;
  void SetButtonCaption(Button button, const std::string& caption) override;
  void Warn(const std::string& text, const std::string& title) override;
  void SetRightToLeft() override;
  void SetPictureDescription(const std::string& text) override;
  void ShowDescriptionRow() override;
  void SetDescription(const std::string& text) override;
  // A combo box's items have no description of their own for screen readers on Windows; the
  // description row, which follows the list, says the choice's.
  void DescribeListItem(int, std::string_view) override {}
  Result SetWindowIcon(const std::string& path) override;
  Expected<int> LoadListIcon(const std::string& path) override;
  void SetListItemIcon(int position, int icon) override;
  void Close() override;

 private:
  // Fixed size: no sizing border and no maximise box.
  static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void HandleCommand(int id, int code);
  // Creates the control `layout` describes; null, with the system's error set, when it fails.
  HWND CreateControl(const ControlLayout& layout);
  HWND ControlHandle(Control control) const;
  // The window's outer rectangle for `dpi`: at `suggested`'s corner, or centred on the screen.
  RECT WindowRect(UINT dpi, const RECT* suggested) const;
  static RECT MenuRect(UINT dpi);
  void ApplyFont(UINT dpi);
  void ApplyLayout(UINT dpi, const RECT* suggested_window);
  // Puts each control at its designed place for `dpi`, in client coordinates, which a
  // right-to-left window counts from its right edge.
  void PlaceControls(UINT dpi);
  void FitListHeight(int height);
  void MoveFocus(HWND target);
  void EndListFilling();
  // The open list is as wide as the longest caption, up to the screen: the few longest by length
  // are kept as they are added and measured once the list is filled.
  void WidenOpenList();
  RECT SplashRect() const;
  // The side of an entry's icon at the window's DPI.
  int ListIconSide() const;
  // Makes the list anew, owner-drawn, so that it can show icons; false, with the system's error
  // set, when it cannot be made (the list then stays as it was).
  bool MakeListOwnerDrawn();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND menu_ = nullptr;
  HWND go_box_ = nullptr;
  HWND exit_box_ = nullptr;
  HWND description_ = nullptr;  // the description row, once the form asks for it
  HFONT font_ = nullptr;
  HICON large_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  PictureArea picture_area_;
  HWND saved_focus_ = nullptr;  // the control that had the focus when the window was deactivated
  bool filling_list_ = false;   // redraw of Menu is off while the form fills it
  LongestCaptions longest_captions_;  // until the list is filled
  ListIcons list_icons_;              // once the list is owner-drawn
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_MENU_WINDOW_H_
