#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/map.h"

// The fields the climate stages lay their ground by: how far each tile lies
// from the starts, a smooth noise field of the map's own, the footpaths that
// keep the starts joined, and a pick of the best-scored tiles. Fields are
// one entry per tile, indexed x + size * y.
namespace varnholt::generate {

// Climate ground keeps at least this far from every tower: the start area's
// ground and the border ring drawn just outside the climate's own tiles
// stay as the fair stages leave them.
inline constexpr int64_t CLIMATE_CLEARANCE = START_LEVEL_RADIUS + 2;

// Per tile the distance to the nearest start, rounded down, at most reach.
std::vector<int32_t> startDistances(const model::Map& map, const std::vector<FairStart>& starts,
                                    int32_t reach);

// A smooth field of values 0 to 120: broad swells with a finer ripple, from
// two height fields drawn from random. Under a symmetry every value is the
// mean over its images, so the field is symmetric too.
std::vector<int32_t> climateNoise(const model::Map& map, Random& random, StartSymmetry symmetry);

// Sets every entry of the field to the mean over its images (integers,
// rounded down), so the field is symmetric.
void symmetrizeField(std::vector<int32_t>& field, int64_t size, StartSymmetry symmetry);

// True when some two starts that can reach each other over the tiles marked
// in before (stepping to any of the eight neighbours) cannot over the tiles
// marked in after.
bool splitsStarts(int64_t size, const std::vector<uint8_t>& before,
                  const std::vector<uint8_t>& after, const std::vector<FairStart>& starts);

// Marks the tiles of shortest walks over walkable tiles between the starts
// that can reach each other (from the first start of each group to the
// others), widened by one tile on each side, and their images under the
// symmetry.
std::vector<uint8_t> footpaths(int64_t size, const std::vector<uint8_t>& walkable,
                               const std::vector<FairStart>& starts, StartSymmetry symmetry);

// The candidate tiles (index list) best score first, ties going to the
// lower index.
std::vector<size_t> byScore(const std::vector<size_t>& candidates,
                            const std::vector<int32_t>& score);

// The count candidate tiles (index list) with the highest score, ties going
// to the lower index; all of them when there are fewer.
std::vector<size_t> bestScored(const std::vector<size_t>& candidates,
                               const std::vector<int32_t>& score, size_t count);

// A well-mixed 64-bit hash of a tile index and a salt, for picks that must
// look random without drawing from the random source.
uint64_t tileHash(uint64_t salt, size_t tile);

}  // namespace varnholt::generate
