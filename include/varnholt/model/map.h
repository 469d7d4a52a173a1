#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "varnholt/model/accessibletype.h"
#include "varnholt/model/building.h"
#include "varnholt/model/fileversion.h"
#include "varnholt/model/gametype.h"
#include "varnholt/model/grid.h"
#include "varnholt/model/landscapetype.h"
#include "varnholt/model/objecttype.h"
#include "varnholt/model/player.h"
#include "varnholt/model/resourcetype.h"
#include "varnholt/model/settler.h"
#include "varnholt/model/stack.h"
#include "varnholt/model/startresourcetype.h"

namespace varnholt::model {

// The map being generated: header values, placed entities in creation order,
// and seven per-tile layers of size * size entries, indexed x + size * y.
struct Map {
  FileVersion fileVersion = FileVersion::AMAZONS;
  std::array<std::vector<uint8_t>, 12> parts;
  GameType gameType = GameType::SINGLEPLAYER;
  StartResourcesType startResources = StartResourcesType::CUSTOM;
  uint32_t playerCount = 0;
  uint32_t size = 0;

  std::vector<Player> players;
  std::vector<Building> buildings;
  std::vector<Stack> stacks;
  std::vector<Settler> settlers;

  std::vector<uint8_t> heights;
  std::vector<LandscapeType> landscape;
  std::vector<ObjectType> objects;
  std::vector<uint8_t> party;
  std::vector<AccessibleType> accessible;
  std::vector<ResourceType> resources;
  std::vector<uint8_t> resourceAmounts;

  bool operator==(const Map&) const = default;
};

// Number of tiles, taken from the heights layer.
int64_t length(const Map& map);

// Independent copies of a layer as a size x size grid.
Grid<LandscapeType> landscapeGrid(const Map& map);
Grid<ObjectType> objectsGrid(const Map& map);
Grid<uint8_t> partyGrid(const Map& map);

// True when a goods pile stands on the tile.
bool isStack(const Map& map, int64_t index);

// True when the tile has no object, is not blocked and holds no goods pile.
// Throws Exception "Tile <index> is outside the map" for an index off the map.
bool isEmpty(const Map& map, int64_t index);

// isEmpty for a tile known to be on the map, inlined and without range checks,
// for loops that ask about every tile or every footprint cell.
inline bool isEmptyOnMap(const Map& map, size_t tile) {
  return map.objects[tile] == ObjectType::NO_OBJECT && !isBlocked(map.accessible[tile]) &&
         (map.stacks.empty() || !isStack(map, static_cast<int64_t>(tile)));
}

// Slope check: throws Exception "Illegal slope at <x>x<y>" for the first tile
// whose height has bit 3 set and differs by more than 7 from its upper-left
// neighbour. The parentheses keep the name clear of the standard assert
// macro; call it as (model::assert)(map).
void(assert)(const Map& map);

}  // namespace varnholt::model
