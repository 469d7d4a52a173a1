#include "generate/pipeline.h"

#include <cstdio>
#include <string>
#include <vector>

#include "generate/amounts.h"
#include "generate/climate.h"
#include "generate/stages.h"
#include "generate/startgoods.h"
#include "generate/heightfield.h"
#include "generate/landscapes.h"

namespace varnholt::generate {

using model::Map;

Map initMap(Random& random, int64_t playerCount, uint32_t size,
            model::StartResourcesType startResources, const Console& console) {
  Map map = createMap(random, playerCount, size);
  init(map, random, playerCount, size, startResources, console);
  return map;
}

Map createMap(Random& random, int64_t playerCount, uint32_t size) {
  Map map;
  map.fileVersion = model::FileVersion::AMAZONS;
  map.gameType = model::GameType::SINGLEPLAYER;
  map.startResources = model::StartResourcesType::CUSTOM;
  // The header keeps the low 32 bits; the driver only passes counts up to 254.
  map.playerCount = static_cast<uint32_t>(playerCount);
  map.size = size;
  map.heights = generateWithBorder(random, size, 20).data;
  const size_t tiles = static_cast<size_t>(size) * size;
  map.landscape.assign(tiles, model::LandscapeType::WATER1);
  map.objects.assign(tiles, model::ObjectType::NO_OBJECT);
  map.party.assign(tiles, 0);
  map.accessible.assign(tiles, model::AccessibleType::EMPTY);
  map.resources.assign(tiles, model::ResourceType::FISH);
  map.resourceAmounts.assign(tiles, 0);
  return map;
}

namespace {

// Prints the goods piles, one record per pile in creation order.
void printStacks(const Map& map, const Console& console) {
  // The record's ordinal stands in for its address, so the dump is the same
  // on every run.
  std::string dump;
  for (size_t i = 0; i < map.stacks.size(); ++i) {
    const model::Stack& stack = map.stacks[i];
    char ref[32];
    std::snprintf(ref, sizeof ref, "ref 0x%zx", i + 1);
    dump += std::string(ref) + " --> [stackType = " + model::name(stack.stackType) +
            ",\nposX = " + std::to_string(stack.posX) + ",\nposY = " + std::to_string(stack.posY) +
            ",\ncount = " + std::to_string(stack.count) + "]\n";
  }
  console(dump);
}

}  // namespace

Map& init(Map& map, Random& random, int64_t playerCount, uint32_t size,
          model::StartResourcesType startResources, const Console& console) {
  map.party.assign(map.party.size(), 255);
  initHighmapLandscape(map, random);
  initLandscapeOutlines(map);
  initRivers(map, random);
  initObjects(map, random);
  initResources(map, random);
  initBuildings(map, random, playerCount, size, startResources);
  initStacks(map, startResources, console);
  initSettlers(map, startResources);
  initPlayers(map, playerCount, size, startResources);
  printStacks(map, console);
  return map;
}

Map initFairMap(Random& random, int64_t playerCount, uint32_t size,
                model::StartResourcesType startResources, StartSymmetry symmetry,
                const model::MapStyle& style, const Console& console) {
  validateStyle(style);
  Map map = createMap(random, playerCount, size);
  map.party.assign(map.party.size(), 255);
  if (symmetry != StartSymmetry::NONE) symmetrizeHeights(map, symmetry);
  std::vector<FairStart> starts =
      planFairStarts(map, playerCount, symmetry, landscapeStartSpacing(style.landscape));
  chooseStartShapes(map, starts);
  shapeLandscape(map, random, starts, style, symmetry);
  shapeStartTerrain(map, starts, landscapeBlendWidth(style.landscape));
  raiseClimateMountains(map, random, starts, style, symmetry);
  initHighmapLandscape(map, random, STYLE_FRAME);
  levelStartGround(map, starts);
  layClimateGround(map, random, starts, style.climate, symmetry);
  initLandscapeOutlines(map);
  initRivers(map, random);
  openStartGround(map, starts);
  initObjects(map, random);
  initResources(map, random);
  scaleMapAmounts(map, random, starts, style.resources);
  growPalms(map, random, starts, style.climate);
  plantStartObjects(map, random, starts, startObjects(style),
                    static_cast<int64_t>(startStacks(startResources).size()));
  balanceStartMinerals(map, starts, style.resources);
  if (symmetry != StartSymmetry::NONE) mirrorMap(map, symmetry, starts);
  placeFairTowers(map, starts);
  initStacks(map, startResources, console);
  initSettlers(map, startResources);
  initPlayers(map, playerCount, size, startResources);
  setPlayerStartsToTowers(map);
  // Last, the ground brought in line with the game's conventions.
  applyGroundConventions(map);
  printStacks(map, console);
  return map;
}

}  // namespace varnholt::generate
