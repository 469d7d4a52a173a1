#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/map.h"
#include "varnholt/model/mapstyle.h"

// The landscapes of fair and symmetric maps: the shape of the land around
// the start areas, drawn into the height field before the ground stage.
// Each landscape file says what it guarantees; this header is the stage the
// pipeline runs and the choices it reads.
namespace varnholt::generate {

// Width of the deep-water frame of styled maps: the land may come close to
// the edge, so the water share can go as low as the landscape allows.
inline constexpr int64_t STYLE_FRAME = 4;
// The land rises from that frame by at most this much per tile.
inline constexpr int64_t STYLE_FRAME_RISE = 7;

// The water shares (percent of all tiles) and mountain shares (percent of
// the land, snow included) a landscape can make, and its own.
struct ShareRange {
  int32_t low = 0;
  int32_t high = 100;
  int32_t standard = 0;
};
ShareRange waterShares(model::LandscapeStyle landscape);
ShareRange mountainShares(model::LandscapeStyle landscape);

// The style with every share left at STYLE_DEFAULT_SHARE replaced by the
// landscape's own. Throws ValueError naming the option and the range it
// takes when a share lies outside the landscape's range, such as "--water
// takes 30 to 75 on islands, not 10".
model::MapStyle resolvedStyle(const model::MapStyle& style);

// The least distance between two starts of the landscape: islands keep a
// strait of open water between neighbouring start areas.
int64_t landscapeStartSpacing(model::LandscapeStyle landscape);

// How far the start areas' levelling blends into the landscape around them.
int64_t landscapeBlendWidth(model::LandscapeStyle landscape);

// Redraws the height field around the planned starts as the style's
// landscape, from the map's own height field and one finer noise field
// (draws it; made symmetric under symmetry), with the water and mountain
// shares of the resolved style as the stages after it will draw them:
// water at heights up to 9, plain land 25 to 35, mountains from 41, snow on
// the highest. Start areas stay land; shapeStartTerrain lays them out next.
// Throws ValueError as resolvedStyle does, and Exception "Map too small for
// ..." when the start areas leave no room for a share asked for (it would
// be more than 4.5 points off) or for the least mountain share of
// highlands. A landscape's own share is kept as far as the start areas
// leave room.
void shapeLandscape(model::Map& map, Random& random, const std::vector<FairStart>& starts,
                    const model::MapStyle& style, StartSymmetry symmetry);

}  // namespace varnholt::generate
