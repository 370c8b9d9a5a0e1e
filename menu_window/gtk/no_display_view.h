// NoDisplayView: the menu's view when there is no display to open a window on. It only checks
// what loading asks of it (the splash picture must load) and writes warnings to stderr, so that a
// medium's author still learns what is wrong with the menu file on a machine without a desktop.
#ifndef TOLVAR_MENU_WINDOW_GTK_NO_DISPLAY_VIEW_H_
#define TOLVAR_MENU_WINDOW_GTK_NO_DISPLAY_VIEW_H_

#include <string>

#include "menu_form/menu_view.h"

namespace tolvar {

class NoDisplayView : public MenuView {
 public:
  void SetTitle(const std::string&) override {}
  Result ShowSplash(const std::string& path) override;
  void ReserveListItems(int, size_t) override {}
  void AddListItem(int, std::string_view) override {}
  void SetListPosition(int position) override { selected_ = position; }
  int ReadListPosition() override { return selected_; }
  void SetButtonCaption(Button, const std::string&) override {}
  void Warn(const std::string& text, const std::string& title) override;
  void SetRightToLeft() override {}
  void SetPictureDescription(const std::string&) override {}
  void ShowDescriptionRow() override {}
  void SetDescription(const std::string&) override {}
  void DescribeListItem(int, std::string_view) override {}
  // Icons that cannot be shown leave no trace in a window either: nothing to check here.
  Result SetWindowIcon(const std::string&) override { return Result::Ok(); }
  Expected<int> LoadListIcon(const std::string&) override { return 0; }
  void SetListItemIcon(int, int) override {}
  void Close() override {}

 private:
  int selected_ = -1;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_NO_DISPLAY_VIEW_H_
