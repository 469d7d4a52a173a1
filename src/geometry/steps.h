#pragma once

#include <cstdint>
#include <vector>

#include "varnholt/model/map.h"

// Distances in whole steps to marked tiles, with all 8 neighbours one step
// away: how far water lies from land decides how deep it is graded.
namespace varnholt::geometry {

// For every tile of a size x size map, the tiles in x or y to the nearest
// tile marked nonzero in sources, at most cap (also where none is marked).
std::vector<uint8_t> stepsTo(uint32_t size, const std::vector<uint8_t>& sources, uint8_t cap);

// The depth (1 to 8) every tile's water should have: its steps to the
// nearest land tile, at most 8; 8 throughout a map without land.
std::vector<uint8_t> gradedDepths(const model::Map& map);

}  // namespace varnholt::geometry
