#include "generate/heightfield.h"
#include "generate/random.h"
#include "generate/stages.h"

namespace varnholt::generate {

using model::AccessibleType;
using model::LandscapeType;

namespace {

struct Ground {
  LandscapeType landscape;
  AccessibleType accessible;
};

// Ground of an inner tile from its height h and variation value v; draws
// rand(3) for h in 36..40 or above 50, rand(5) for h = 11, nothing otherwise.
Ground groundFor(Random& random, int64_t h, int64_t v) {
  if (h > 50 && random.rand(3) < h - 50) return {LandscapeType::SNOWINNER, AccessibleType::BLOCKED};
  // A tile above 50 that missed the snow draw is a mountain without a second draw.
  if (h > 40) return {LandscapeType::MOUNTAIN, AccessibleType::EMPTY};
  if (h >= 36 && random.rand(3) < h - 35) return {LandscapeType::MOUNTAIN, AccessibleType::EMPTY};
  if (h >= 16 && h <= 24 && v > 50) return {LandscapeType::DESERT, AccessibleType::EMPTY};
  if (h >= 16 && h <= 24 && v >= 31 && v <= 34) {
    return {LandscapeType::MOORINNER, AccessibleType::BLOCKED};
  }
  if (h <= 9) return {LandscapeType::WATER1, AccessibleType::BLOCKED};
  if (h == 11 && random.rand(5) == 1) return {LandscapeType::SAND, AccessibleType::EMPTY};
  return {LandscapeType::GRASS, AccessibleType::EMPTY};
}

}  // namespace

void initHighmapLandscape(model::Map& map, Random& random, int64_t frame) {
  const int64_t size = map.size;
  const Grid<uint8_t> variation = generateWithBorder(random, size, CLASSIC_FRAME);
  uint32_t i = 0;  // x + size * y, in the layers' 32-bit index arithmetic
  for (int64_t y = 0; y < size; ++y) {
    const bool frameRow = y < frame || y > size - frame - 1;
    for (int64_t x = 0; x < size; ++x, ++i) {
      if (frameRow || x < frame || x > size - frame - 1) {
        map.landscape[i] = LandscapeType::WATER8;
        map.accessible[i] = AccessibleType::BLOCKED;
        map.heights[i] = 0;
        continue;
      }
      const Ground ground = groundFor(random, map.heights[i], variation.data[i]);
      map.landscape[i] = ground.landscape;
      map.accessible[i] = ground.accessible;
    }
  }
}

}  // namespace varnholt::generate
