#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/landscapefields.h"

// Landscape scores turned into heights.
namespace varnholt::generate {

// Heights for a size x size map: the waterFraction of all tiles with the
// lowest land scores are water (height 0); where oneLandMass is set, land
// not joined to a start (8-neighbours) is water too. Of the land, the
// mountainFraction with the highest relief gets mountain heights 41 to
// highest by squared rank (none within 5 tiles of water), the rest plain
// heights 25 to 35 by rank. Land rises from the water by at most 7 a tile,
// from 10 on the shore.
std::vector<uint8_t> landscapeHeights(const LandscapeScores& scores, int64_t size,
                                      const std::vector<FairStart>& starts, double waterFraction,
                                      double mountainFraction, int64_t highest);


}  // namespace varnholt::generate
