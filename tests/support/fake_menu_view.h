// Test support: a MenuView that records every call in order, and a ProgramStart that records every
// start, both with answers the test can set.
#ifndef TOLVAR_TESTS_SUPPORT_FAKE_MENU_VIEW_H_
#define TOLVAR_TESTS_SUPPORT_FAKE_MENU_VIEW_H_

#include <optional>
#include <string>
#include <vector>

#include "menu_form/menu_form.h"
#include "menu_form/menu_view.h"
#include "menu_form/program_start.h"
#include "shared_routines/run_time_error.h"

namespace tolvar {

class FakeMenuView : public MenuView {
 public:
  // The form whose selection handler UserSelects raises.
  void Attach(MenuForm* form) { form_ = form; }

  void SetTitle(const std::string& title) override { calls.push_back("SetTitle " + title); }
  Result ShowSplash(const std::string& path) override {
    calls.push_back("ShowSplash " + path);
    return splash_result;
  }
  void ReserveListItems(int, size_t) override {}
  void AddListItem(int position, std::string_view text) override {
    // Filling a 32766-entry list is the common case in benchmarks; keep the record small there.
    if (record_list_items) {
      calls.push_back("AddListItem " + std::to_string(position) + " " + std::string(text));
    }
    items.emplace(items.begin() + position, text);
  }
  void SetListPosition(int position) override {
    calls.push_back("SetListPosition " + std::to_string(position));
    selected = position;
  }
  int ReadListPosition() override { return selected; }
  void SetButtonCaption(Button button, const std::string& caption) override {
    calls.push_back(std::string(button == Button::kGoBox ? "Go_Box " : "Exit_Box ") + caption);
  }
  void Warn(const std::string& text, const std::string& title) override {
    calls.push_back("Warn " + title + ": " + text);
  }
  void SetRightToLeft() override { calls.push_back("SetRightToLeft"); }
  void SetPictureDescription(const std::string& text) override {
    calls.push_back("SetPictureDescription " + text);
  }
  void ShowDescriptionRow() override { calls.push_back("ShowDescriptionRow"); }
  void SetDescription(const std::string& text) override {
    calls.push_back("SetDescription " + text);
  }
  void DescribeListItem(int position, std::string_view description) override {
    calls.push_back("DescribeListItem " + std::to_string(position) + " " +
                    std::string(description));
  }
  Result SetWindowIcon(const std::string& path) override {
    calls.push_back("SetWindowIcon " + path);
    return Result::Ok();
  }
  // Each path loaded gets the next number, unless the test names it among `broken_icons`.
  Expected<int> LoadListIcon(const std::string& path) override {
    calls.push_back("LoadListIcon " + path);
    for (const std::string& broken : broken_icons) {
      if (path == broken) return Expected<int>::Failure("broken");
    }
    return loaded_icons++;
  }
  void SetListItemIcon(int position, int icon) override {
    calls.push_back("SetListItemIcon " + std::to_string(position) + " " + std::to_string(icon));
  }
  void Close() override { calls.push_back("Close"); }

  // What the user does: picks a position in the list, which raises the click event.
  void UserSelects(int position) {
    selected = position;
    form_->OnMenuClick();
  }

  std::vector<std::string> calls;
  std::vector<std::string> items;
  int selected = -1;
  Result splash_result;
  bool record_list_items = true;
  std::vector<std::string> broken_icons;
  int loaded_icons = 0;

 private:
  MenuForm* form_ = nullptr;
};

class FakeProgramStart : public ProgramStart {
 public:
  std::vector<std::string> started;     // each path started
  std::vector<LaunchRequest> requests;  // each start's whole request
  std::vector<std::string> links;       // each link opened
  std::vector<std::string> folders;     // each folder opened
  Result result;

 protected:
  Result StartFile(const LaunchRequest& request) override {
    started.push_back(request.path);
    requests.push_back(request);
    return result;
  }
  Result OpenUri(const std::string& link) override {
    links.push_back(link);
    return result;
  }
  Result BrowseFolder(const std::string& path) override {
    folders.push_back(path);
    return result;
  }
};

// A form over a recording view and program start, attached as the real windows attach it.
struct FakeMenu {
  explicit FakeMenu(const std::string& decimal_separator = ".", System system = System::kWindows)
      : form(view, starter, decimal_separator, system) {
    view.Attach(&form);
  }
  FakeMenu(const FakeMenu&) = delete;
  FakeMenu& operator=(const FakeMenu&) = delete;

  // Loads menu/config.mnu below the current directory; the fault that would end the menu, if any.
  std::optional<RunTimeError> Load() {
    try {
      form.OnLoad();
      return std::nullopt;
    } catch (const RunTimeError& error) {
      return error;
    }
  }

  FakeMenuView view;
  FakeProgramStart starter;
  MenuForm form;
};

}  // namespace tolvar

#endif  // TOLVAR_TESTS_SUPPORT_FAKE_MENU_VIEW_H_
