#include "generate/startspots.h"

#include <array>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "generate/circle.h"
#include "generate/startgoods.h"
#include "generate/summedarea.h"
#include "model/landscapetype.h"
#include "model/objecttype.h"

namespace varnholt::generate {

StartRoom startRoom(const model::Map& map, const FairStart& s, int64_t piles) {
  // A window around the tower wide enough for every footprint of a spot in
  // the area; tiles off the map count as taken.
  const int64_t reach = START_LEVEL_RADIUS;
  const int64_t side = 2 * reach + 1;
  const int64_t size = map.size;
  // The tower's cells, which it blocks when it is placed.
  static const model::BuildingMeta& tower = catalogue::buildingMeta(catalogue::TOWER_META_KEY);
  std::vector<uint8_t> taken(static_cast<size_t>(side * side), 0);
  const auto inWindow = [&](int64_t tile) {
    return static_cast<size_t>(tile % size - s.x + reach + side * (tile / size - s.y + reach));
  };
  for (const model::BuildingMetaBlock& cell : tower.blocks) {
    taken[inWindow(s.x + cell.xOffset + size * (s.y + cell.yOffset))] = 1;
  }
  // The piles: the empty tiles nearest the supply centre, one each.
  model::Building building;
  building.posX = static_cast<uint16_t>(s.x);
  building.posY = static_cast<uint16_t>(s.y);
  int64_t laid = 0;
  for (int64_t tile : Circle(size, size, supplyCentre(map, building), SUPPLY_RADIUS)) {
    if (laid == piles) break;
    if (taken[inWindow(tile)] != 0 || !model::isEmpty(map, tile)) continue;
    taken[inWindow(tile)] = 1;
    ++laid;
  }
  const SummedArea bad = SummedArea::of(side, [&](int64_t i) {
    if (taken[static_cast<size_t>(i)] != 0) return true;
    const int64_t x = s.x - reach + i % side;
    const int64_t y = s.y - reach + i / side;
    if (x < 0 || y < 0 || x >= size || y >= size) return true;
    const auto tile = static_cast<size_t>(x + size * y);
    return map.landscape[tile] != model::LandscapeType::GRASS ||
           map.objects[tile] != model::ObjectType::NO_OBJECT ||
           model::isBlocked(map.accessible[tile]);
  });
  static const std::array<FootprintRows, ROOM_FOOTPRINTS> footprints = {
      FootprintRows(catalogue::buildingMeta(ROOM_KEYS[0])),
      FootprintRows(catalogue::buildingMeta(ROOM_KEYS[1])),
      FootprintRows(catalogue::buildingMeta(ROOM_KEYS[2])),
      FootprintRows(catalogue::buildingMeta(ROOM_KEYS[3]))};
  StartRoom room;
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    const SummedArea fits(side,
                          footprintFits(bad, footprints[f], {{reach, reach}}, START_RADIUS));
    room.spots[f] = fits.circle(reach, reach, START_RADIUS);
  }
  return room;
}

}  // namespace varnholt::generate
