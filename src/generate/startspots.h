#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "varnholt/model/map.h"

// Room for large buildings in one start area, counted while the area is
// laid out, so the woods can be planted to leave every start the same room.
namespace varnholt::generate {

// The footprints counted: the small, medium and big living house of the
// fairness table's building spots, and the farm, the largest building.
inline constexpr size_t ROOM_FOOTPRINTS = 4;
inline constexpr std::array<const char*, ROOM_FOOTPRINTS> ROOM_KEYS = {
    "meta/buildings/roman/small_livinghouse.xml", "meta/buildings/roman/medium_livinghouse.xml",
    "meta/buildings/roman/big_livinghouse.xml", "meta/buildings/roman/farm.xml"};

struct StartRoom {
  std::array<int64_t, ROOM_FOOTPRINTS> spots{};  // in ROOM_KEYS order
};

// Per ROOM_KEYS footprint, the tiles at distance below START_RADIUS from the
// start's tower where it fits with every cell on plain GRASS, empty and
// not blocked: the fairness table's rule, with the tower's cells taken and
// piles goods piles laid as the start goods stage lays them, before either
// is there.
StartRoom startRoom(const model::Map& map, const FairStart& start, int64_t piles);

// The window startRoom counts in: 1 on the tiles that are not free (the
// tower's cells and the piles taken), START_LEVEL_RADIUS around the tower.
std::vector<uint8_t> startTaken(const model::Map& map, const FairStart& start, int64_t piles);

// The window taken as the image under element of a symmetry (symmetry.h)
// sees it once the map is mirrored: its tile (x, y) is taken's image of
// (x, y) within the window.
std::vector<uint8_t> mirroredWindow(const std::vector<uint8_t>& taken, int64_t element);

// The same count where taken marks the tiles that are not free, over the
// window of START_LEVEL_RADIUS around a tower (side 2 * START_LEVEL_RADIUS
// + 1, row by row, the tower in the middle).
StartRoom countRoom(const std::vector<uint8_t>& taken);

}  // namespace varnholt::generate
