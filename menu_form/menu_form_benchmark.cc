// Benchmark: loading the largest menu (32766 entries, about 1.5 MB) through the form, from a real
// file, into a view that keeps what a window keeps. Prints the time per load and the rate in MB/s;
// not a test.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "menu_form/menu_form.h"
#include "menu_form/text_store.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

// A window's list holds its own copy of every caption and its title bar the title; nothing else
// of the load stays in it. Keeping less would flatter the form, keeping a record of every call
// would measure the record.
class KeepingView : public MenuView {
 public:
  void SetTitle(const std::string& title) override { title_ = title; }
  Result ShowSplash(const std::string&) override { return {}; }
  // As the Linux window's list does.
  void ReserveListItems(int count, size_t) override { captions_.reserve(count); }
  void AddListItem(int position, std::string_view text) override {
    captions_.insert(captions_.begin() + position, caption_text_.Keep(text));
  }
  void SetListPosition(int position) override { selected_ = position; }
  int ReadListPosition() override { return selected_; }
  void SetButtonCaption(Button, const std::string&) override {}
  void Warn(const std::string&, const std::string&) override {}
  void SetRightToLeft() override {}
  void SetPictureDescription(const std::string&) override {}
  void ShowDescriptionRow() override {}
  void SetDescription(const std::string&) override {}
  void DescribeListItem(int, std::string_view) override {}
  Result SetWindowIcon(const std::string&) override { return {}; }
  Expected<int> LoadListIcon(const std::string&) override { return 0; }
  void SetListItemIcon(int, int) override {}
  void Close() override {}

  size_t size() const { return captions_.size(); }

 private:
  std::string title_;
  TextStore caption_text_;
  std::vector<std::string_view> captions_;
  int selected_ = -1;
};

std::string LargestDefinition() {
  std::string text = "' The largest menu that loads\r\nA title\r\n$null$\r\n32766\r\n";
  for (int i = 1; i <= kMaxEntries; ++i) {
    const std::string n = std::to_string(i);
    text += "Entry number " + n + "\r\n";
    text += "programs\\program-" + n + ".exe\r\n";
  }
  return text;
}

void BM_LoadLargestMenu(benchmark::State& state) {
  ScratchMedium medium;
  const std::string definition = LargestDefinition();
  medium.WriteDefinition(definition);
  FakeProgramStart starter;
  for (auto _ : state) {
    auto view = std::make_unique<KeepingView>();
    auto form = std::make_unique<MenuForm>(*view, starter, ".", System::kWindows);
    form->OnLoad();
    if (view->size() != kMaxEntries + 1) state.SkipWithError("the menu did not load whole");
    benchmark::DoNotOptimize(form->MenuEntries().data());
    // Freeing it all is no part of the start: the menu does that once, when it ends.
    state.PauseTiming();
    form.reset();
    view.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * definition.size()));
  state.counters["file_bytes"] = static_cast<double>(definition.size());
}
BENCHMARK(BM_LoadLargestMenu)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvar

BENCHMARK_MAIN();
