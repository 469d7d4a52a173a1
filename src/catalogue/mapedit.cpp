#include "catalogue/mapedit.h"

#include "catalogue/footprints.h"
#include "varnholt/model/error.h"

namespace varnholt::catalogue {

namespace {

// The tower footprint, looked up once: the tower search asks about millions
// of candidate tiles.
const model::BuildingMeta& towerMeta() {
  static const model::BuildingMeta& meta = buildingMeta(TOWER_META_KEY);
  return meta;
}

}  // namespace

bool canSetObject(const model::Map& map, int64_t pos) { return model::isEmpty(map, pos); }

void setObject(model::Map& map, int64_t pos, model::ObjectType object) {
  if (!model::isEmpty(map, pos)) {
    throw exception("Can not set object " + model::name(object) + " at " + std::to_string(pos));
  }
  map.objects[static_cast<size_t>(pos)] = object;
  map.accessible[static_cast<size_t>(pos)] = model::AccessibleType::BLOCKED;
}

bool canSetBuilding0(const model::Map& map, int64_t pos, model::BuildingType buildingType) {
  if (!model::isEmpty(map, pos)) return false;
  return model::isMine(buildingType) ||
         !model::isMountain(map.landscape[static_cast<size_t>(pos)]);
}

bool canSetBuilding(const model::Map& map, int64_t pos, model::BuildingType buildingType) {
  if (buildingType == model::BuildingType::TOWER) {
    const int64_t size = map.size;
    const int64_t x = pos % size;
    const int64_t y = pos / size;
    // Cells past the left or right edge land in the neighbouring row; cells
    // above or below the map make the answer no. The tower search asks about
    // millions of tiles, hence the unchecked emptiness test.
    for (const model::BuildingMetaBlock& cell : towerMeta().blocks) {
      const int64_t c = (x + cell.xOffset) + (y + cell.yOffset) * size;
      if (c < 0 || c >= size * size) return false;
      const auto tile = static_cast<size_t>(c);
      if (!model::isEmptyOnMap(map, tile) || model::isMountain(map.landscape[tile])) return false;
    }
  }
  return canSetBuilding0(map, pos, buildingType);
}

void setBuilding(model::Map& map, int64_t pos, model::BuildingType buildingType, uint8_t party,
                 const std::array<uint8_t, 3>& swordCount, const std::array<uint8_t, 3>& archerCount,
                 const std::array<uint8_t, 3>& spearCount) {
  if (!canSetBuilding(map, pos, buildingType)) {
    throw exception("Can not set building " + model::name(buildingType) + " at " +
                    std::to_string(pos));
  }
  const int64_t size = map.size;
  const int64_t x = pos % size;
  const int64_t y = pos / size;
  // The map is at most 26740 tiles wide, so both coordinates fit 16 bits.
  map.buildings.push_back(model::Building{party, buildingType, static_cast<uint16_t>(x),
                                          static_cast<uint16_t>(y), swordCount, archerCount,
                                          spearCount});
  if (buildingType != model::BuildingType::TOWER) {
    map.accessible[static_cast<size_t>(pos)] = model::AccessibleType::BLOCKED_BUILDING;
    return;
  }
  for (const model::BuildingMetaBlock& cell : towerMeta().blocks) {
    const int64_t c = (x + cell.xOffset) + (y + cell.yOffset) * size;
    map.accessible[static_cast<size_t>(c)] = cell.blocked
                                                 ? model::AccessibleType::BLOCKED_BUILDING
                                                 : model::AccessibleType::BLOCKED_BUT_ACCESSIBLE;
  }
}

}  // namespace varnholt::catalogue
