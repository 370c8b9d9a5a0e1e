// Benchmark: loading the largest menu (32766 entries, about 1.5 MB) through the form with a fake
// view, from a real file. Prints the time per load; not a test.
#include <benchmark/benchmark.h>

#include <string>

#include "menu_form/menu_form.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

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
  for (auto _ : state) {
    FakeMenuView view;
    view.record_list_items = false;
    FakeProgramStart starter;
    MenuForm form(view, starter, ".");
    view.Attach(&form);
    form.OnLoad();
    benchmark::DoNotOptimize(form.MenuEntries().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * definition.size()));
  state.counters["file_bytes"] = static_cast<double>(definition.size());
}
BENCHMARK(BM_LoadLargestMenu)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvar

BENCHMARK_MAIN();
