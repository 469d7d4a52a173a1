#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/regiongrow.h"
#include "varnholt/model/map.h"

// The mountain and the lake of each start area, grown from the start's own
// noise: the same number of tiles for every start, each of its own outline
// and place around its tower.
namespace varnholt::generate {

// The tiles of the mountains of every start (heights that always make
// MOUNTAIN, the inner border ring included: the tiles that hold minerals),
// and the water of its lake that the sand shore leaves.
inline constexpr int64_t START_MOUNTAIN_TILES = 300;
inline constexpr int64_t START_LAKE_WATER = 60;
// How far distances to the mountain and the lake are counted.
inline constexpr uint8_t SHAPE_REACH = 12;

// A start's window of START_LEVEL_RADIUS around its tower, and in it, per
// tile, whether the mountain or the lake takes it, the king's moves to the
// mountain and to the lake (0 on them, capped at SHAPE_REACH) and the depth
// into each (moves to the nearest tile outside).
struct StartShape {
  Window window;
  uint64_t key = 0;  // the start's noise key
  std::vector<uint8_t> mountain, lake;
  std::vector<uint8_t> toMountain, mountainDepth, toLake, lakeDepth;
  // The roll of the plain and the bumps of the mountains, -1..1 per tile
  // (filled with the distances by whoever shapes the heights).
  std::vector<double> wave, bump;
};

// A key for start index of map mixed from the heights around its tower,
// its index and variant.
uint64_t startShapeKey(const model::Map& map, const FairStart& start, size_t index,
                       uint64_t variant);

// The shape of a start from key: one or two mountains grown towards the
// start's mountain direction, turned a little by the key; the lake grown
// towards the lake direction, kept SHAPE_REACH moves from the mountains.
// Fills mountain, lake and toMountain. No draws.
StartShape planStartShape(const model::Map& map, const FairStart& start, uint64_t key);

// Fills the shape's other distances.
void measureStartShape(StartShape& shape);

// The tiles of the window the shape takes from the building land: the
// lake and the mountain with its outer border ring.
std::vector<uint8_t> shapeTaken(const StartShape& shape);

}  // namespace varnholt::generate
