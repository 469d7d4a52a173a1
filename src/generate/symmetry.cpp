#include "generate/symmetry.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "generate/stages.h"
#include "generate/valuenoise.h"
#include "geometry/around.h"
#include "geometry/summedarea.h"
#include "varnholt/model/landscapetype.h"

namespace varnholt::generate {

using geometry::SummedArea;
using geometry::aroundIndices;

using model::Map;

namespace {

// Tiles this close to a seam lose their rivers and objects.
constexpr int64_t kSeamBand = 3;
// The detail of the height field: what differs from the mean of the
// square this many tiles around.
constexpr int64_t kDetailReach = 6;
// The ripple laid over the land: its height and the size of its bumps.
constexpr double kRipple = 1.5;
constexpr double kRippleCell = 3;

// For every tile, the element that carries its source tile onto it: the
// element of the start whose domain holds it, else of the smallest index
// in its orbit. Sources are the tiles whose element is the identity.
std::vector<uint8_t> elements(int64_t size, StartSymmetry symmetry,
                              const std::vector<FairStart>& starts) {
  const int64_t order = symmetryOrder(symmetry);
  std::vector<uint8_t> element(static_cast<size_t>(size * size), 0);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      int64_t best = x + size * y;
      for (int64_t e = 1; e < order; ++e) {
        const Tile t = image(e, size, {x, y});
        if (t.x + size * t.y < best) {
          best = t.x + size * t.y;
          element[static_cast<size_t>(x + size * y)] = static_cast<uint8_t>(e);
        }
      }
    }
  }
  // Starts come element by element, so start k is element k / firsts.
  const size_t firsts = starts.size() / static_cast<size_t>(order);
  for (size_t k = 0; k < starts.size(); ++k) {
    const FairStart& s = starts[k];
    for (int64_t y = std::max<int64_t>(0, s.y - START_DOMAIN);
         y <= std::min(size - 1, s.y + START_DOMAIN); ++y) {
      for (int64_t x = std::max<int64_t>(0, s.x - START_DOMAIN);
           x <= std::min(size - 1, s.x + START_DOMAIN); ++x) {
        if ((x - s.x) * (x - s.x) + (y - s.y) * (y - s.y) < START_DOMAIN * START_DOMAIN) {
          element[static_cast<size_t>(x + size * y)] = static_cast<uint8_t>(k / firsts);
        }
      }
    }
  }
  return element;
}

template <typename T>
void copyLayer(std::vector<T>& layer, int64_t size, const std::vector<uint8_t>& element) {
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (element[i] == 0) continue;
      // Every element is its own inverse, so it also leads back to the source.
      const Tile from = image(element[i], size, {x, y});
      layer[i] = layer[static_cast<size_t>(from.x + size * from.y)];
    }
  }
}

// Adds a fine ripple of up to kRipple to the heights of the land, from a
// noise keyed by the height field itself: the averaged, symmetric field
// lacks the small bumps of a field drawn once. The ground is laid already,
// and the copy, the slope limit and the shore levelling come after.
void roughenLand(Map& map) {
  const int64_t size = map.size;
  uint64_t key = 0;
  for (int64_t i = 0; i < size; ++i) {
    key = mixKey(key, map.heights[static_cast<size_t>(i + size * i)]);
  }
  const ValueNoise ripple(key, kRippleCell);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (model::isWater(map.landscape[i])) continue;
      const double h = map.heights[i] +
                       kRipple * ripple.at(static_cast<double>(x), static_cast<double>(y));
      map.heights[i] = static_cast<uint8_t>(std::clamp<int64_t>(std::lround(h), 0, 255));
    }
  }
}

}  // namespace

int64_t symmetryOrder(StartSymmetry symmetry) {
  switch (symmetry) {
    case StartSymmetry::NONE:
      return 1;
    case StartSymmetry::POINT:
      return 2;
    case StartSymmetry::POINT_AND_DIAGONAL:
      return 4;
  }
  return 1;
}

Tile image(int64_t element, int64_t size, Tile t) {
  switch (element) {
    case 1:
      return {size - 1 - t.x, size - 1 - t.y};
    case 2:
      return {t.y, t.x};
    case 3:
      return {size - 1 - t.y, size - 1 - t.x};
    default:
      return t;
  }
}

void symmetrizeHeights(Map& map, StartSymmetry symmetry) {
  const int64_t size = map.size;
  const int64_t order = symmetryOrder(symmetry);
  std::vector<int32_t> sums(map.heights.size());
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      int32_t sum = 0;
      for (int64_t e = 0; e < order; ++e) {
        const Tile t = image(e, size, {x, y});
        sum += map.heights[static_cast<size_t>(t.x + size * t.y)];
      }
      sums[static_cast<size_t>(x + size * y)] = sum;
    }
  }
  // The mean of order independent fields varies less than each of them by
  // the square root of order, in its hills as much as in its steps; the
  // detail above the local mean is scaled back up by that much, so the
  // symmetric field rolls as the others do.
  const SummedArea local(size, sums);
  const double gain = std::sqrt(static_cast<double>(order));
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const int64_t x0 = std::max<int64_t>(0, x - kDetailReach);
      const int64_t y0 = std::max<int64_t>(0, y - kDetailReach);
      const int64_t x1 = std::min(size - 1, x + kDetailReach);
      const int64_t y1 = std::min(size - 1, y + kDetailReach);
      const auto area = static_cast<double>((x1 - x0 + 1) * (y1 - y0 + 1));
      const double around = static_cast<double>(local.rect(x0, y0, x1, y1)) / area;
      const double mean = static_cast<double>(sums[static_cast<size_t>(x + size * y)]);
      const double h = (around + gain * (mean - around)) / static_cast<double>(order);
      map.heights[static_cast<size_t>(x + size * y)] =
          static_cast<uint8_t>(std::clamp<int64_t>(std::lround(h), 0, 255));
    }
  }
}

void mirrorMap(Map& map, StartSymmetry symmetry, const std::vector<FairStart>& starts) {
  const int64_t size = map.size;
  const std::vector<uint8_t> element = elements(size, symmetry, starts);
  roughenLand(map);
  copyLayer(map.heights, size, element);
  copyLayer(map.landscape, size, element);
  copyLayer(map.accessible, size, element);
  copyLayer(map.objects, size, element);
  copyLayer(map.resources, size, element);
  copyLayer(map.resourceAmounts, size, element);
  limitSlopes(map);
  initLandscapeOutlines(map);
  initMudOutlines(map);
  closeCopiedRings(map);
  // Seams: where a neighbour comes from another element.
  const SummedArea seams = SummedArea::of(size, [&](int64_t i) {
    for (int64_t n : aroundIndices(size, size, i)) {
      if (element[static_cast<size_t>(n)] != element[static_cast<size_t>(i)]) return true;
    }
    return false;
  });
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      if (seams.rect(x - kSeamBand, y - kSeamBand, x + kSeamBand, y + kSeamBand) == 0) continue;
      const auto i = static_cast<size_t>(x + size * y);
      model::LandscapeType& ground = map.landscape[i];
      if (std::find(model::RIVER_TYPES.begin(), model::RIVER_TYPES.end(), ground) !=
          model::RIVER_TYPES.end()) {
        ground = model::LandscapeType::GRASS;
      }
      if (map.objects[i] != model::ObjectType::NO_OBJECT) {
        map.objects[i] = model::ObjectType::NO_OBJECT;
        map.accessible[i] = model::AccessibleType::EMPTY;
      }
    }
  }
}

}  // namespace varnholt::generate
