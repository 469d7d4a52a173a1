#pragma once

#include <array>
#include <cstdint>

#include "model/buildingmeta.h"
#include "varnholt/model/buildingtype.h"
#include "varnholt/model/map.h"
#include "varnholt/model/objecttype.h"

// Checked placement of objects and buildings, keeping objects, accessible and
// buildings consistent. Positions are tile indices inside the map.
namespace varnholt::catalogue {

// Footprint key of the one building kind the generator places.
inline constexpr const char* TOWER_META_KEY = "meta/buildings/roman/tower.xml";

// True when the tile is empty (no object, not blocked, no goods pile).
bool canSetObject(const model::Map& map, int64_t pos);

// Places an object and blocks its tile; throws Exception
// "Can not set object <name> at <pos>" when the tile is not empty.
void setObject(model::Map& map, int64_t pos, model::ObjectType object);

// The single-tile rule: empty, and a mine or not on mountain ground.
bool canSetBuilding0(const model::Map& map, int64_t pos, model::BuildingType buildingType);

// For a tower every footprint cell must be empty and not mountain (cells
// outside the map answer no); then the single-tile rule.
bool canSetBuilding(const model::Map& map, int64_t pos, model::BuildingType buildingType);

// Appends the building and blocks its footprint (9 blocked, 8 free cells);
// throws Exception "Can not set building <name> at <pos>" when not allowed.
void setBuilding(model::Map& map, int64_t pos, model::BuildingType buildingType, uint8_t party,
                 const std::array<uint8_t, 3>& swordCount, const std::array<uint8_t, 3>& archerCount,
                 const std::array<uint8_t, 3>& spearCount);

}  // namespace varnholt::catalogue
