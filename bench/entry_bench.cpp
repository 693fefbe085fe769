// The cost of applying one entry (key handling, formatting, appending with scrolling) with
// a short and with a long tape: the tape must not slow down as it grows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

#include "support/fake_window.h"

namespace tapecount {
namespace {

std::unique_ptr<testing::FakeWindow> WindowWithHistory(long lines) {
  auto window = std::make_unique<testing::FakeWindow>();
  for (long i = 0; i < lines; ++i) {
    window->display.entry = IntToText(i % 1000) + u".25";
    window->model.EntryBoxKey(kVkReturn);
  }
  return window;
}

void ApplyEntry(benchmark::State& state) {
  const long history = state.range(0);
  // The tape is rebuilt (untimed) before it has grown by more than 10%.
  const long allowedGrowth = history / 10 > 100 ? history / 10 : 100;
  auto window = WindowWithHistory(history);
  long applied = 0;
  int n = 0;
  for (auto _ : state) {
    if (applied == allowedGrowth) {
      state.PauseTiming();
      window = WindowWithHistory(history);
      applied = 0;
      state.ResumeTiming();
    }
    window->display.entry = IntToText(++n % 100000) + u".5";
    window->model.EntryBoxKey(kVkAdd);
    ++applied;
  }
  benchmark::DoNotOptimize(window->display.totalText);
}
BENCHMARK(ApplyEntry)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Keeps the time per entry of each run, to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace
}  // namespace tapecount

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  tapecount::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& t = reporter.times;
  const auto shortTape = t.find("ApplyEntry/100");
  const auto longTape = t.find("ApplyEntry/100000");
  if (shortTape != t.end() && longTape != t.end()) {
    std::printf(
        "apply one entry: %.3f us with 100 lines, %.3f us with 100,000: ratio %.2f "
        "(target at most 1.5)\n",
        shortTape->second, longTape->second, longTape->second / shortTape->second);
  }
  benchmark::Shutdown();
  return 0;
}
