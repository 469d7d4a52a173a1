#include <string>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "generate/fairstages.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Length of a player name in the file. The game's own lobby maps leave the
// names empty: an empty text in a field of NUL bytes.
constexpr size_t kNameLength = 33;

constexpr uint8_t kNoParty = 255;

// Gives the tiles under the tower's footprint back: the tower search only
// stands a tower on empty tiles, so each was EMPTY before.
void clearFootprint(Map& map, const model::Building& tower) {
  const int64_t size = map.size;
  for (const model::BuildingMetaBlock& cell :
       catalogue::buildingMeta(catalogue::TOWER_META_KEY).blocks) {
    const int64_t x = tower.posX + cell.xOffset;
    const int64_t y = tower.posY + cell.yOffset;
    map.accessible[static_cast<size_t>(x + y * size)] = model::AccessibleType::EMPTY;
  }
}

}  // namespace

void makeLobbyMap(Map& map, model::StartResourcesType lobbyGoods, const model::Teams& teams) {
  map.gameType = model::GameType::MULTIPLAYER;
  map.startResources = lobbyGoods;
  for (const model::Building& building : map.buildings) clearFootprint(map, building);
  map.buildings.clear();
  map.stacks.clear();
  map.settlers.clear();
  map.party.assign(map.party.size(), kNoParty);
  // The game's lobby has no team field: on a team map the name tells the
  // players their team.
  if (teams.count > 0) return;
  for (model::Player& player : map.players) player.name.assign(kNameLength, '\0');
}

}  // namespace varnholt::generate
