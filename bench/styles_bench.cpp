// Whole runs of every landscape, file bytes included: at size 320 with 8
// players and at 1024 with 16.
#include <benchmark/benchmark.h>

#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt::bench {
namespace {

const Console kStyleQuiet = [](std::string_view) {};

void BM_LandscapeRun(benchmark::State& state, model::LandscapeStyle landscape) {
  GenerateOptions options;
  options.mode = StartMode::FAIR;
  options.style.landscape = landscape;
  options.size = state.range(0);
  options.playerCount = state.range(1);
  for (auto _ : state) {
    const model::Map map = generateMap(options, kStyleQuiet);
    benchmark::DoNotOptimize(mapFileBytes(map, kStyleQuiet).data());
  }
}
BENCHMARK_CAPTURE(BM_LandscapeRun, continent, model::LandscapeStyle::CONTINENT)
    ->Args({320, 8})
    ->Args({1024, 16})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LandscapeRun, islands, model::LandscapeStyle::ISLANDS)
    ->Args({320, 8})
    ->Args({1024, 16})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LandscapeRun, highlands, model::LandscapeStyle::HIGHLANDS)
    ->Args({320, 8})
    ->Args({1024, 16})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LandscapeRun, lakes, model::LandscapeStyle::LAKES)
    ->Args({320, 8})
    ->Args({1024, 16})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnholt::bench
