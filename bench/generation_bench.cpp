// Whole runs (classic, fair, symmetric), single stages at size 320, the
// height field and the export.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "generate/heightfield.h"
#include "generate/pipeline.h"
#include "generate/stages.h"
#include "varnholt/varnholt.h"

namespace varnholt::bench {
namespace {

using generate::Random;
using model::Map;

constexpr int64_t kSeed = 123456789;

// Drops the console lines: the benchmark measures generation, not printing.
const Console kQuiet = [](std::string_view) {};

void BM_DefaultRun(benchmark::State& state) {
  for (auto _ : state) {
    const Map map = generateMap(GenerateOptions{}, kQuiet);
    benchmark::DoNotOptimize(mapFileBytes(map, kQuiet).data());
  }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

// Whole fair and symmetric runs of the default map, file bytes included.
void BM_StartModeRun(benchmark::State& state, StartMode mode) {
  GenerateOptions options;
  options.mode = mode;
  for (auto _ : state) {
    const Map map = generateMap(options, kQuiet);
    benchmark::DoNotOptimize(mapFileBytes(map, kQuiet).data());
  }
}
BENCHMARK_CAPTURE(BM_StartModeRun, fair, StartMode::FAIR)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartModeRun, symmetric, StartMode::SYMMETRIC)->Unit(benchmark::kMillisecond);

void BM_GenerateAtSize(benchmark::State& state) {
  GenerateOptions options;
  options.size = state.range(0);
  for (auto _ : state) benchmark::DoNotOptimize(generateMap(options, kQuiet).heights.data());
}
BENCHMARK(BM_GenerateAtSize)->Arg(320)->Arg(2000)->Unit(benchmark::kMillisecond);

// The run of plan as it stands before the stage named stage: map, random
// source and planned starts exactly as the pipeline hands them over.
generate::Run before(const std::string& stage, const generate::MapPlan& plan) {
  generate::Run run = generate::startRun(kSeed, plan, kQuiet);
  for (const generate::Stage& step : generate::stages()) {
    if (step.name == stage) return run;
    if (step.runsFor(plan)) step.run(run);
  }
  throw Error("Exception", "no stage " + stage);
}

// One stage of plan's run on the run exactly as the pipeline hands it over.
void BM_Stage(benchmark::State& state, const generate::Stage& stage,
              const generate::MapPlan& plan) {
  const generate::Run start = before(stage.name, plan);
  for (auto _ : state) {
    state.PauseTiming();
    generate::Run run = start;
    state.ResumeTiming();
    stage.run(run);
    benchmark::DoNotOptimize(run.map.landscape.data());
  }
}

// The tower search on a map with no room left for the ninth of 40 players.
void BM_TowerSearchNoRoom(benchmark::State& state) {
  generate::MapPlan plan;
  plan.playerCount = 40;
  const generate::Run start = before("buildings", plan);
  for (auto _ : state) {
    state.PauseTiming();
    generate::Run run = start;
    state.ResumeTiming();
    try {
      generate::initBuildings(run.map, run.random, plan.playerCount);
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

// Every stage of the default classic run and of the default fair run, in
// pipeline order: BM_Stage/<name> and BM_FairStage/<name>.
const bool kStagesRegistered = [] {
  generate::MapPlan fair;
  fair.layout = generate::StartLayout::FAIR;
  for (const auto& entry :
       {std::pair{"BM_Stage/", generate::MapPlan{}}, std::pair{"BM_FairStage/", fair}}) {
    const std::string prefix = entry.first;
    const generate::MapPlan plan = entry.second;
    for (const generate::Stage& stage : generate::stages()) {
      if (!stage.runsFor(plan)) continue;
      benchmark::RegisterBenchmark((prefix + stage.name).c_str(),
                                   [&stage, plan](benchmark::State& s) { BM_Stage(s, stage, plan); })
          ->Unit(benchmark::kMicrosecond);
    }
  }
  return true;
}();

}  // namespace
}  // namespace varnholt::bench

BENCHMARK_MAIN();
