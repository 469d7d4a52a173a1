#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "generate/fairstages.h"
#include "generate/landscapes.h"
#include "varnholt/model/landscapetype.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Grass heights: the landscape stage makes every height in this range GRASS
// without a draw (below lies sand, desert and moor, above mountain).
constexpr int64_t kPlainLow = 25;
constexpr int64_t kPlainHigh = 35;
// The mountain: a flat top of kPeak out to kTopRadius, then a slope that
// reaches the lowest plain height at kMountainFoot and goes on falling, so
// the plain's own height takes over without a step and the mountain ground
// is the same for every start. The lake is the same upside down: kLakeBottom
// out to kDeepRadius, rising to the highest plain height at kLakeRim.
constexpr double kPeak = 47;
constexpr double kTopRadius = 7;
constexpr double kMountainFoot = 13;
constexpr double kLakeBottom = 3;
constexpr double kDeepRadius = 4;
constexpr double kLakeRim = 12;

// The most a height may differ from its upper-left neighbour's.
constexpr int64_t kMaxStep = 7;

double between(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  const int64_t dx = x1 - x2;
  const int64_t dy = y1 - y2;
  return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

// The height the start area asks for at a tile whose own height is h.
int64_t laidOutHeight(const FairStart& s, int64_t x, int64_t y, int64_t h) {
  auto target = static_cast<double>(std::clamp(h, kPlainLow, kPlainHigh));
  const double dm = between(x, y, s.mountainX, s.mountainY);
  const double mountainFall = (kPeak - kPlainLow) / (kMountainFoot - kTopRadius);
  target = std::max(target, kPeak - mountainFall * std::max(0.0, dm - kTopRadius));
  const double dl = between(x, y, s.lakeX, s.lakeY);
  const double lakeRise = (kPlainHigh - kLakeBottom) / (kLakeRim - kDeepRadius);
  target = std::min(target, kLakeBottom + lakeRise * std::max(0.0, dl - kDeepRadius));
  return std::lround(target);
}

}  // namespace

void shapeStartTerrain(Map& map, const std::vector<FairStart>& starts, int64_t blendWidth) {
  const int64_t size = map.size;
  const int64_t reach = START_LEVEL_RADIUS + blendWidth;
  // Each tile follows the nearest start only.
  std::vector<int64_t> nearest(map.heights.size(), std::numeric_limits<int64_t>::max());
  std::vector<int32_t> owner(map.heights.size(), -1);
  for (size_t k = 0; k < starts.size(); ++k) {
    const FairStart& s = starts[k];
    for (int64_t y = std::max<int64_t>(0, s.y - reach); y <= std::min(size - 1, s.y + reach); ++y) {
      for (int64_t x = std::max<int64_t>(0, s.x - reach); x <= std::min(size - 1, s.x + reach);
           ++x) {
        const int64_t d2 = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
        const auto i = static_cast<size_t>(x + size * y);
        if (d2 < reach * reach && d2 < nearest[i]) {
          nearest[i] = d2;
          owner[i] = static_cast<int32_t>(k);
        }
      }
    }
  }
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (owner[i] < 0) continue;
      const FairStart& s = starts[static_cast<size_t>(owner[i])];
      const int64_t h = map.heights[i];
      const int64_t target = laidOutHeight(s, x, y, h);
      const double d = std::sqrt(static_cast<double>(nearest[i]));
      const double keep =
          std::clamp((d - START_LEVEL_RADIUS) / static_cast<double>(blendWidth), 0.0, 1.0);
      int64_t shaped =
          std::lround(static_cast<double>(target) + static_cast<double>(h - target) * keep);
      const int64_t edge = std::min({x, y, size - 1 - x, size - 1 - y});
      shaped = std::min(shaped, std::max<int64_t>(0, STYLE_FRAME_RISE * (edge - STYLE_FRAME)));
      map.heights[i] = static_cast<uint8_t>(std::clamp<int64_t>(shaped, 0, 255));
    }
  }
  limitSlopes(map);
}

void limitSlopes(Map& map) {
  const int64_t size = map.size;
  for (int64_t y = 1; y < size; ++y) {
    for (int64_t x = 1; x < size; ++x) {
      const int64_t upperLeft = map.heights[static_cast<size_t>(x - 1 + size * (y - 1))];
      uint8_t& h = map.heights[static_cast<size_t>(x + size * y)];
      h = static_cast<uint8_t>(std::clamp<int64_t>(h, upperLeft - kMaxStep, upperLeft + kMaxStep));
    }
  }
}

namespace {

// Turns the tiles of every start area whose ground passes test into GRASS,
// free to walk.
template <typename Test>
void turnToGrass(Map& map, const std::vector<FairStart>& starts, Test test) {
  const int64_t size = map.size;
  for (const FairStart& s : starts) {
    for (int64_t dy = 1 - START_LEVEL_RADIUS; dy < START_LEVEL_RADIUS; ++dy) {
      for (int64_t dx = 1 - START_LEVEL_RADIUS; dx < START_LEVEL_RADIUS; ++dx) {
        const int64_t x = s.x + dx;
        const int64_t y = s.y + dy;
        if (x < 0 || y < 0 || x >= size || y >= size) continue;
        if (dx * dx + dy * dy >= START_LEVEL_RADIUS * START_LEVEL_RADIUS) continue;
        const auto i = static_cast<size_t>(x + size * y);
        if (!test(map.landscape[i])) continue;
        map.landscape[i] = model::LandscapeType::GRASS;
        map.accessible[i] = model::AccessibleType::EMPTY;
      }
    }
  }
}

}  // namespace

void levelStartGround(Map& map, const std::vector<FairStart>& starts) {
  turnToGrass(map, starts, [](model::LandscapeType t) {
    return t == model::LandscapeType::SAND || model::isDesert(t) || model::isMoor(t);
  });
}

void openStartGround(Map& map, const std::vector<FairStart>& starts) {
  turnToGrass(map, starts, [](model::LandscapeType t) {
    return std::find(model::RIVER_TYPES.begin(), model::RIVER_TYPES.end(), t) !=
           model::RIVER_TYPES.end();
  });
}

}  // namespace varnholt::generate
