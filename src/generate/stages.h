#pragma once

#include <cstdint>

#include "generate/random.h"
#include "varnholt/model/console.h"
#include "varnholt/model/map.h"
#include "varnholt/model/startresourcetype.h"

// The generation stages every map goes through, in pipeline order (see
// stages() in pipeline.h). Each changes the map in place; only the listed
// ones draw random numbers.
namespace varnholt::generate {

// The deep-water frame of classic maps.
inline constexpr int64_t CLASSIC_FRAME = 20;
// Ground and access from heights, with a water frame frame tiles wide
// (draws).
void initHighmapLandscape(model::Map& map, Random& random, int64_t frame = CLASSIC_FRAME);
// Border rings, snow and moor kinds, sand shores (no draws).
void initLandscapeOutlines(model::Map& map);
// Fair maps with mud only: the same two rings around mud, MUDBORDER then MUD
// (no draws).
void initMudOutlines(model::Map& map);
// Symmetric maps, after the copy and the outline passes: closes the border
// rings the seams of the copy cut (DESERT beside ground other than
// DESERTBORDER takes the border and gets its outer ring, SNOW and MOOR
// beside other ground take their walkable border); no draws.
void closeCopiedRings(model::Map& map);
// Short rivers from sand sources across grass (draws).
void initRivers(model::Map& map, Random& random);
// Trees and stones in patches with free ground around each (draws).
void initObjects(model::Map& map, Random& random);
// Fish in water, minerals under mountains (draws).
void initResources(model::Map& map, Random& random);
// One manned tower per party and its claimed area (draws).
// Classic layout only; fair maps place theirs with placeFairTowers.
void initBuildings(model::Map& map, Random& random, int64_t playerCount);
// Start goods piles around every tower; prints progress lines (no draws).
void initStacks(model::Map& map, model::StartResourcesType startResources,
                const Console& console);
// Start settlers around every tower (no draws).
void initSettlers(model::Map& map, model::StartResourcesType startResources);
// One player record per player, starting at (150, 150) where the map holds
// that tile and at the player's tower otherwise (no draws).
void initPlayers(model::Map& map, int64_t playerCount);
// Fair maps, after the settlers: ground, water, resources, stones as hand-made maps have (no draws).
void applyGroundConventions(model::Map& map);

}  // namespace varnholt::generate
