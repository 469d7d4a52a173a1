// Whole runs of team maps, file bytes included: two teams and four at size
// 320 with 8 players and at 1024 with 16, next to the fair map without teams.
#include <benchmark/benchmark.h>

#include "varnholt/varnholt.h"

namespace varnholt::bench {
namespace {

const Console kTeamQuiet = [](std::string_view) {};

void BM_TeamRun(benchmark::State& state) {
  GenerateOptions options;
  options.mode = StartMode::FAIR;
  options.size = state.range(0);
  options.playerCount = state.range(1);
  const auto teams = static_cast<int32_t>(state.range(2));
  if (teams > 0) options.style.teams = {teams, static_cast<int32_t>(options.playerCount / teams)};
  for (auto _ : state) {
    const model::Map map = generateMap(options, kTeamQuiet);
    benchmark::DoNotOptimize(mapFileBytes(map, kTeamQuiet).data());
  }
}
BENCHMARK(BM_TeamRun)
    ->ArgNames({"size", "players", "teams"})
    ->Args({320, 8, 0})
    ->Args({320, 8, 2})
    ->Args({320, 8, 4})
    ->Args({1024, 16, 0})
    ->Args({1024, 16, 2})
    ->Args({1024, 16, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnholt::bench
