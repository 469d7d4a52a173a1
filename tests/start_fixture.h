#pragma once

#include <cstdint>
#include <functional>

#include "catalogue/mapedit.h"
#include "varnholt/model/map.h"

// Placing and blocking on the maps of the placement stage tests, which start
// as testing::blankMap: flat grass, nothing placed, no party.
namespace varnholt::startmap {

inline int64_t tile(const model::Map& map, int64_t x, int64_t y) {
  return x + y * int64_t{map.size};
}

// A tower of party at (x, y) with the start troops.
inline void placeTower(model::Map& map, int64_t x, int64_t y, uint8_t party) {
  catalogue::setBuilding(map, tile(map, x, y), model::BuildingType::TOWER, party, {0, 0, 0},
                         {2, 0, 0}, {1, 0, 0});
}

// Blocks every tile for which keep answers false.
inline void blockAllBut(model::Map& map, const std::function<bool(int64_t)>& keep) {
  for (int64_t i = 0; i < model::length(map); ++i) {
    if (!keep(i)) map.accessible[static_cast<size_t>(i)] = model::AccessibleType::BLOCKED;
  }
}

}  // namespace varnholt::startmap
