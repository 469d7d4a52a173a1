#include "geometry/steps.h"

#include <array>

namespace varnholt::geometry {

namespace {

struct Step {
  int64_t dx;
  int64_t dy;
};

}  // namespace

std::vector<uint8_t> stepsTo(uint32_t size, const std::vector<uint8_t>& sources, uint8_t cap) {
  const int64_t n = size;
  std::vector<uint8_t> steps(sources.size(), cap);
  for (size_t i = 0; i < sources.size(); ++i) {
    if (sources[i] != 0) steps[i] = 0;
  }
  // Two sweeps, each taking one more than the least of the neighbours it has
  // already passed; with unit steps in all 8 directions that is exact.
  auto relax = [&](int64_t x, int64_t y, const std::array<Step, 4>& from) {
    uint8_t& here = steps[static_cast<size_t>(x + n * y)];
    for (const Step& step : from) {
      const int64_t nx = x + step.dx;
      const int64_t ny = y + step.dy;
      if (nx < 0 || nx >= n || ny < 0 || ny >= n) continue;
      const uint8_t there = steps[static_cast<size_t>(nx + n * ny)];
      if (there < here - 1) here = static_cast<uint8_t>(there + 1);
    }
  };
  constexpr std::array<Step, 4> kBefore = {{{-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};
  constexpr std::array<Step, 4> kAfter = {{{1, 0}, {1, 1}, {0, 1}, {-1, 1}}};
  for (int64_t y = 0; y < n; ++y) {
    for (int64_t x = 0; x < n; ++x) relax(x, y, kBefore);
  }
  for (int64_t y = n - 1; y >= 0; --y) {
    for (int64_t x = n - 1; x >= 0; --x) relax(x, y, kAfter);
  }
  return steps;
}

std::vector<uint8_t> gradedDepths(const model::Map& map) {
  std::vector<uint8_t> land(map.landscape.size());
  for (size_t i = 0; i < land.size(); ++i) land[i] = !model::isWater(map.landscape[i]);
  return stepsTo(map.size, land, 8);
}

}  // namespace varnholt::geometry
