// Whole runs, single stages at size 320, the height field and the export.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include "app/initmap.h"
#include "app/mapexport.h"
#include "app/meta.h"
#include "app/stages.h"
#include "grid.h"
#include "quiet.h"
#include "random.h"

namespace varnholt::bench {
namespace {

using model::Map;
using model::StartResourcesType;

constexpr int64_t kSeed = 123456789;
constexpr int64_t kPlayers = 8;
constexpr auto kGoods = StartResourcesType::HIGH;

std::string tempMapPath() {
  return (std::filesystem::temp_directory_path() /
          ("varnholt_bench_" + std::to_string(::getpid()) + ".map"))
      .string();
}

using Stage = std::function<void(Map&)>;

// The stages in run order, each with the arguments init passes.
const std::vector<std::pair<const char*, Stage>>& stages() {
  static const std::vector<std::pair<const char*, Stage>> list = {
      {"landscape", [](Map& m) { app::initHighmapLandscape(m); }},
      {"outlines", [](Map& m) { app::initLandscapeOutlines(m); }},
      {"rivers", [](Map& m) { app::initRivers(m); }},
      {"objects", [](Map& m) { app::initObjects(m); }},
      {"resources", [](Map& m) { app::initResources(m); }},
      {"buildings", [](Map& m) { app::initBuildings(m, kPlayers, m.size, kGoods); }},
      {"stacks", [](Map& m) { app::initStacks(m, kGoods); }},
      {"settlers", [](Map& m) { app::initSettlers(m, kGoods); }},
      {"players", [](Map& m) { app::initPlayers(m, kPlayers, m.size, kGoods); }},
  };
  return list;
}

void BM_DefaultRun(benchmark::State& state) {
  const std::string path = tempMapPath();
  QuietStdout quiet;
  for (auto _ : state) {
    randomize(kSeed);
    Map map = app::initMap(kPlayers, 320, kGoods);
    app::exportMap(map, path);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

void BM_GenerateAtSize(benchmark::State& state) {
  const auto size = static_cast<uint32_t>(state.range(0));
  QuietStdout quiet;
  for (auto _ : state) {
    randomize(kSeed);
    Map map = app::initMap(kPlayers, size, kGoods);
    benchmark::DoNotOptimize(map.heights.data());
  }
}
BENCHMARK(BM_GenerateAtSize)->Arg(320)->Arg(2000)->Unit(benchmark::kMillisecond);

// One stage on the map exactly as the run hands it over.
void BM_Stage(benchmark::State& state, size_t stage) {
  QuietStdout quiet;
  randomize(kSeed);
  Map before = app::createMap(kPlayers, 320);
  before.party.assign(before.party.size(), 255);
  for (size_t i = 0; i < stage; ++i) stages()[i].second(before);
  const RandomState randomBefore = varnholt::state;
  for (auto _ : state) {
    state.PauseTiming();
    Map map = before;
    varnholt::state = randomBefore;
    state.ResumeTiming();
    stages()[stage].second(map);
    benchmark::DoNotOptimize(map.landscape.data());
  }
}

// The tower search on a map with no room left for the ninth of 40 players.
void BM_TowerSearchNoRoom(benchmark::State& state) {
  QuietStdout quiet;
  randomize(kSeed);
  Map before = app::createMap(40, 320);
  before.party.assign(before.party.size(), 255);
  for (size_t i = 0; i < 5; ++i) stages()[i].second(before);
  const RandomState randomBefore = varnholt::state;
  for (auto _ : state) {
    state.PauseTiming();
    Map map = before;
    varnholt::state = randomBefore;
    state.ResumeTiming();
    try {
      app::initBuildings(map, 40, 320, kGoods);
      state.SkipWithError("the map had room for 40 towers");
    } catch (const std::exception&) {
    }
  }
}
BENCHMARK(BM_TowerSearchNoRoom)->Unit(benchmark::kMillisecond);

void BM_HeightField(benchmark::State& state) {
  randomize(kSeed);
  for (auto _ : state) benchmark::DoNotOptimize(generate(320, 10, 60).data.data());
}
BENCHMARK(BM_HeightField)->Unit(benchmark::kMicrosecond);

void BM_Export(benchmark::State& state) {
  const std::string path = tempMapPath();
  QuietStdout quiet;
  randomize(kSeed);
  const Map map = app::initMap(kPlayers, static_cast<uint32_t>(state.range(0)), kGoods);
  for (auto _ : state) app::exportMap(map, path);
  std::filesystem::remove(path);
}
BENCHMARK(BM_Export)->Arg(320)->Arg(2000)->Unit(benchmark::kMillisecond);

// Start-up: every run parses the compiled-in footprint documents first.
void BM_LoadBuildingMetas(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(app::loadBuildingMetas());
}
BENCHMARK(BM_LoadBuildingMetas)->Unit(benchmark::kMillisecond);

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
