// The inspector's whole-map measures on a large map, the largest a report
// takes being 2048 tiles wide.
#include <benchmark/benchmark.h>

#include "varnholt/landscape.h"
#include "varnholt/look.h"
#include "varnholt/varnholt.h"

namespace varnholt::bench {
namespace {

const model::Map& largeMap() {
  static const model::Map map = [] {
    GenerateOptions options;
    options.size = 2048;
    options.playerCount = 16;
    return generateMap(options, [](std::string_view) {});
  }();
  return map;
}

void BM_MeasureLandscape(benchmark::State& state) {
  const model::Map& map = largeMap();
  for (auto _ : state) benchmark::DoNotOptimize(inspect::measureLandscape(map).landTiles);
}
BENCHMARK(BM_MeasureLandscape)->Unit(benchmark::kMillisecond);

void BM_MeasureLook(benchmark::State& state) {
  const model::Map& map = largeMap();
  for (auto _ : state) benchmark::DoNotOptimize(inspect::measureLook(map).copyOverlap.turns.overlap);
}
BENCHMARK(BM_MeasureLook)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnholt::bench
