#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "generate/fairstages.h"
#include "generate/landscapes.h"
#include "generate/startshapes.h"
#include "varnholt/model/landscapetype.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Heights the landscape stage makes GRASS without a draw (below lies sand,
// desert and moor, above mountain), where the landscape's plains lie.
constexpr double kPlainLow = 25;
constexpr double kPlainHigh = 35;
// Inside the fairness radius the ground rolls down to kHollow as well: the
// desert, moor and sand those heights may draw there is turned back into
// grass before the outlines are drawn.
constexpr double kHollow = 14;
// Mountains: kMountainLow on their outline (always MOUNTAIN), rising by
// kMountainRise a tile inwards up to kMountainTop, with a little noise; snow
// begins above it. Around them the plain climbs to kPlainHigh.
constexpr double kMountainLow = 41;
constexpr double kMountainRise = 2;
constexpr double kMountainTop = 50;
constexpr double kFootRise = 3;
// Lakes: kLakeShore under the water's edge, down by 2 a tile inwards to
// kLakeBottom; the land around rises from kLakeShore + 1 by kShoreRise a tile.
constexpr double kLakeShore = 9;
constexpr double kLakeBottom = 2;
constexpr double kShoreRise = 3;

// The most a height may differ from its upper-left neighbour's.
constexpr int64_t kMaxStep = 7;

// The plain at tile (x, y), d tiles from its tower, where the landscape
// has height h: inside the fairness radius the noise spread a little beyond
// the plain's heights and cut there, so hilltops and hollows flatten out;
// towards the levelled rim it gives way to the landscape's height brought
// into the plain's range, which the ring beyond blends into.
double plain(double wave, double d, double h) {
  const double rim = std::clamp((d - START_RADIUS) / (START_LEVEL_RADIUS - START_RADIUS), 0.0, 1.0);
  const double middle = (kHollow + kPlainHigh) / 2;
  const double rolled = std::clamp(middle + (kPlainHigh - middle) * 1.4 * wave, kHollow, kPlainHigh);
  return rolled + (std::clamp(h, kPlainLow, kPlainHigh) - rolled) * rim;
}

// The height a start area asks for at tile (x, y) of its shape's window.
double laidOutHeight(const StartShape& shape, int64_t x, int64_t y, double d, double landscape) {
  const size_t i = shape.window.at(x, y);
  double h = plain(shape.wave[i], d, landscape);
  if (shape.toMountain[i] == 0) {
    const double depth = kMountainRise * (shape.mountainDepth[i] - 1);
    h = std::clamp(kMountainLow + depth + 2 * shape.bump[i], kMountainLow, kMountainTop);
  } else {
    h = std::max(h, kPlainHigh - kFootRise * (shape.toMountain[i] - 1));
  }
  if (shape.toLake[i] == 0) {
    h = std::max(kLakeBottom, kLakeShore - 2.0 * (shape.lakeDepth[i] - 1));
  } else {
    h = std::min(h, kLakeShore + 1 + kShoreRise * (shape.toLake[i] - 1));
  }
  return h;
}

}  // namespace

void shapeStartTerrain(Map& map, const std::vector<FairStart>& given, int64_t blendWidth) {
  // Starts whose shapes were not chosen yet get them here, from the heights
  // as they are now.
  std::vector<FairStart> starts = given;
  if (std::any_of(starts.begin(), starts.end(), [](const FairStart& s) { return !s.shape; })) {
    chooseStartShapes(map, starts);
  }
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
      const auto k = static_cast<size_t>(owner[i]);
      const StartShape& shape = *starts[k].shape;
      const double h = map.heights[i];
      // The window covers the laid-out disc.
      const double d = std::sqrt(static_cast<double>(nearest[i]));
      const double target = shape.window.holds(x, y)
                                ? laidOutHeight(shape, x, y, d, h)
                                : std::clamp(h, kPlainLow, kPlainHigh);
      const double keep =
          std::clamp((d - START_LEVEL_RADIUS) / static_cast<double>(blendWidth), 0.0, 1.0);
      int64_t shaped = std::lround(target + (h - target) * keep);
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
