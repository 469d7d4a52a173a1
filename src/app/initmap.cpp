#include "app/initmap.h"

#include <cstdio>

#include "app/stages.h"
#include "grid.h"

namespace varnholt::app {

using model::Map;

Map initMap(int64_t playerCount, uint32_t size, model::StartResourcesType startResources) {
  Map map = createMap(playerCount, size);
  init(map, playerCount, size, startResources);
  return map;
}

Map createMap(int64_t playerCount, uint32_t size) {
  Map map;
  map.fileVersion = model::FileVersion::AMAZONS;
  map.gameType = model::GameType::SINGLEPLAYER;
  map.startResources = model::StartResourcesType::CUSTOM;
  // The header keeps the low 32 bits; the driver only passes counts up to 254.
  map.playerCount = static_cast<uint32_t>(playerCount);
  map.size = size;
  map.heights = generateWithBorder(size, 20).data;
  const size_t tiles = static_cast<size_t>(size) * size;
  map.landscape.assign(tiles, model::LandscapeType::WATER1);
  map.objects.assign(tiles, model::ObjectType::NO_OBJECT);
  map.party.assign(tiles, 0);
  map.accessible.assign(tiles, model::AccessibleType::EMPTY);
  map.resources.assign(tiles, model::ResourceType::FISH);
  map.resourceAmounts.assign(tiles, 0);
  return map;
}

Map& init(Map& map, int64_t playerCount, uint32_t size, model::StartResourcesType startResources) {
  map.party.assign(map.party.size(), 255);
  initHighmapLandscape(map);
  initLandscapeOutlines(map);
  initRivers(map);
  initObjects(map);
  initResources(map);
  initBuildings(map, playerCount, size, startResources);
  initStacks(map, startResources);
  initSettlers(map, startResources);
  initPlayers(map, playerCount, size, startResources);
  // The record's ordinal stands in for its address, so the dump is the same
  // on every run.
  for (size_t i = 0; i < map.stacks.size(); ++i) {
    const model::Stack& stack = map.stacks[i];
    std::printf("ref 0x%zx --> [stackType = %s,\nposX = %u,\nposY = %u,\ncount = %u]\n", i + 1,
                model::name(stack.stackType).c_str(), unsigned{stack.posX}, unsigned{stack.posY},
                unsigned{stack.count});
  }
  return map;
}

}  // namespace varnholt::app
