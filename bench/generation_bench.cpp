// Whole runs, single stages at size 320, the height field and the export.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "generate/heightfield.h"
#include "generate/pipeline.h"
#include "generate/stages.h"
#include "varnholt.h"

namespace varnholt::bench {
namespace {

using generate::Random;
using model::Map;
using model::StartResourcesType;

constexpr int64_t kSeed = 123456789;
constexpr int64_t kPlayers = 8;
constexpr auto kGoods = StartResourcesType::HIGH;

// Drops the console lines: the benchmark measures generation, not printing.
const Console kQuiet = [](std::string_view) {};

using Stage = std::function<void(Map&, Random&)>;

// The stages in run order, each with the arguments init passes.
const std::vector<std::pair<const char*, Stage>>& stages() {
  static const std::vector<std::pair<const char*, Stage>> list = {
      {"landscape", [](Map& m, Random& r) { generate::initHighmapLandscape(m, r); }},
      {"outlines", [](Map& m, Random&) { generate::initLandscapeOutlines(m); }},
      {"rivers", [](Map& m, Random& r) { generate::initRivers(m, r); }},
      {"objects", [](Map& m, Random& r) { generate::initObjects(m, r); }},
      {"resources", [](Map& m, Random& r) { generate::initResources(m, r); }},
      {"buildings",
       [](Map& m, Random& r) { generate::initBuildings(m, r, kPlayers, m.size, kGoods); }},
      {"stacks", [](Map& m, Random&) { generate::initStacks(m, kGoods, kQuiet); }},
      {"settlers", [](Map& m, Random&) { generate::initSettlers(m, kGoods); }},
      {"players", [](Map& m, Random&) { generate::initPlayers(m, kPlayers, m.size, kGoods); }},
  };
  return list;
}

void BM_DefaultRun(benchmark::State& state) {
  for (auto _ : state) {
    const Map map = generateMap(GenerateOptions{}, kQuiet);
    benchmark::DoNotOptimize(mapFileBytes(map, kQuiet).data());
  }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

void BM_GenerateAtSize(benchmark::State& state) {
  GenerateOptions options;
  options.size = state.range(0);
  for (auto _ : state) benchmark::DoNotOptimize(generateMap(options, kQuiet).heights.data());
}
BENCHMARK(BM_GenerateAtSize)->Arg(320)->Arg(2000)->Unit(benchmark::kMillisecond);

// The map as the run hands it to stage number stage, and the random source
// as it stands then.
std::pair<Map, Random> before(size_t stage, int64_t players) {
  Random random(kSeed);
  Map map = generate::createMap(random, players, 320);
  map.party.assign(map.party.size(), 255);
  for (size_t i = 0; i < stage; ++i) stages()[i].second(map, random);
  return {map, random};
}

// One stage on the map exactly as the run hands it over.
void BM_Stage(benchmark::State& state, size_t stage) {
  const auto [start, randomStart] = before(stage, kPlayers);
  for (auto _ : state) {
    state.PauseTiming();
    Map map = start;
    Random random = randomStart;
    state.ResumeTiming();
    stages()[stage].second(map, random);
    benchmark::DoNotOptimize(map.landscape.data());
  }
}

// The tower search on a map with no room left for the ninth of 40 players.
void BM_TowerSearchNoRoom(benchmark::State& state) {
  const auto [start, randomStart] = before(5, 40);
  for (auto _ : state) {
    state.PauseTiming();
    Map map = start;
    Random random = randomStart;
    state.ResumeTiming();
    try {
      generate::initBuildings(map, random, 40, 320, kGoods);
      state.SkipWithError("the map had room for 40 towers");
    } catch (const std::exception&) {
    }
  }
}
BENCHMARK(BM_TowerSearchNoRoom)->Unit(benchmark::kMillisecond);

void BM_HeightField(benchmark::State& state) {
  Random random(kSeed);
  for (auto _ : state) benchmark::DoNotOptimize(generate::generate(random, 320, 10, 60).data.data());
}
BENCHMARK(BM_HeightField)->Unit(benchmark::kMicrosecond);

void BM_Export(benchmark::State& state) {
  GenerateOptions options;
  options.size = state.range(0);
  const Map map = generateMap(options, kQuiet);
  for (auto _ : state) benchmark::DoNotOptimize(mapFileBytes(map, kQuiet).data());
}
BENCHMARK(BM_Export)->Arg(320)->Arg(2000)->Unit(benchmark::kMillisecond);

const bool kStagesRegistered = [] {
  for (size_t i = 0; i < stages().size(); ++i) {
    benchmark::RegisterBenchmark((std::string("BM_Stage/") + stages()[i].first).c_str(),
                                 [i](benchmark::State& s) { BM_Stage(s, i); })
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
}  // namespace varnholt::bench

BENCHMARK_MAIN();
