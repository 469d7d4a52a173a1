#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/map.h"
#include "varnholt/model/mapstyle.h"

// Climates: the ground of the land between the start areas of a fair or
// symmetric map. Each start area (START_LEVEL_RADIUS around its tower) keeps
// the grass, mountain and lake the fair stages lay out, so every start's
// counts stay equal; the climate's ground keeps CLIMATE_CLEARANCE from every
// tower, so its border rings, drawn by the outline passes as on classic
// maps, keep off the start areas too.
// Shapes come from the map's own heights, a noise field and the distance to
// the starts; amounts are measured and corrected to the share.
//
// Shares of the land (tiles that are not water) each climate reaches where
// the land beyond the start areas holds them:
//   temperate: GRASS at least 55 % (the ground as the landscape leaves it);
//   desert:    desert kinds and SAND at least 30 % (the start areas are the
//              grass oases; palms among the trees, growPalms);
//   swamp:     moor and mud kinds at least 15 %;
//   alpine:    mountain and snow kinds at least 35 %, snow at least 4 %.
// Where the start areas leave less land than that beyond them (8 players on
// 320 tiles leave about a fifth), the climate takes all of the land beyond
// them it may use, and the share is what that gives.
//
// Blocking ground (inner moor, mud and snow) never cuts the starts apart:
// when it would, it is kept off the shortest walks between the starts.
namespace varnholt::generate {

// The shares the stages aim for, in percent of the land: a little above the
// guarantees, since rings, shores and the landscape stage's draws move the
// measured share by a point or two.
inline constexpr int32_t DESERT_PERCENT = 33;
inline constexpr int32_t SWAMP_PERCENT = 24;
inline constexpr int32_t ALPINE_MOUNTAIN_PERCENT = 36;
inline constexpr int32_t ALPINE_SNOW_PERCENT = 6;
// The least --mountains share an alpine map may be asked for.
inline constexpr int32_t ALPINE_LEAST_MOUNTAIN_PERCENT = 35;

// Throws ValueError "--mountains takes at least 35 with --climate=alpine,
// not <n>" for an alpine climate with a mountain share given below
// ALPINE_LEAST_MOUNTAIN_PERCENT. Other combinations are left to the
// landscape's own checks.
void validateStyle(const model::MapStyle& style);

// The share of the land an alpine map's mountain and snow should cover:
// the share the style asks for (validateStyle keeps it at least
// ALPINE_LEAST_MOUNTAIN_PERCENT), ALPINE_MOUNTAIN_PERCENT where it is left
// to the climate. A landscape that aims its mountain at this share leaves
// the alpine stage only the snow to add.
int32_t alpineMountainPercent(const model::MapStyle& style);

// alpine.cpp: on alpine maps, after shapeStartTerrain and before
// initHighmapLandscape, raises the heights of the land beyond the start
// areas into ranges and peaks (mountain above 40, snow from 51) until they
// cover alpineMountainPercent of the land, snow ALPINE_SNOW_PERCENT. From
// CLIMATE_CLEARANCE on, the rise climbs at most 7 per tile from the top of
// the start areas' plain and from the water, the file's steepest slope, so
// no start area or water tile is lifted. Ends with limitSlopes. Other
// climates: nothing (no draws).
// Alpine draws two noise fields.
void raiseClimateMountains(model::Map& map, Random& random, const std::vector<FairStart>& starts,
                           const model::MapStyle& style, StartSymmetry symmetry);

// climate.cpp: after levelStartGround and before initLandscapeOutlines,
// lays the desert (DESERT) or swamp (MOORINNER and MUDINNER, apart by a
// strip of grass) of the climate over the GRASS beyond CLIMATE_CLEARANCE,
// the best-scored tiles up to the climate's share, and draws the mud's rings
// (initMudOutlines). Desert favours land far from the starts and keeps two
// tiles from mountain, snow and moor and one from water; swamp favours low
// land and keeps one tile from mountain, snow and desert.
// Temperate and alpine: nothing (no draws). Desert and swamp draw noise
// fields.
void layClimateGround(model::Map& map, Random& random, const std::vector<FairStart>& starts,
                      model::ClimateStyle climate, StartSymmetry symmetry);

// climate.cpp: on desert maps, after the object scatter, makes two in three
// trees beyond START_LEVEL_RADIUS of every start palms (picked by a hash of
// the tile salted with the random source's state, which it leaves as it
// is). Other climates: nothing.
void growPalms(model::Map& map, const Random& random, const std::vector<FairStart>& starts,
               model::ClimateStyle climate);

}  // namespace varnholt::generate
