#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnholt::model {

// Kind of building, codes 0 to 56.
enum class BuildingType : uint8_t {
  NOT_A_BUILDING = 0,
  STOCK = 1,
  LUMBERJACK = 2,
  STONECUTTER = 3,
  SAWMILL = 4,
  FORESTER = 5,
  LOOKOUT_TOWER = 6,
  COALMINE = 7,
  GOLDMINE = 8,
  IRONMINE = 9,
  GOLDMELT = 10,
  Eisenschmelze = 11,
  TOOLSMITH = 12,
  WEAPONSMITH = 13,
  WINEGROWER = 14,
  TOWER = 15,
  TOWER_BIG = 16,
  Muehle = 17,
  CASTLE = 18,
  BARRACK = 19,
  BAKER = 20,
  Metzger = 21,
  Destille = 22,
  PIG_FARM = 23,
  FARM = 24,
  FISHER = 25,
  LIVINGHOUSE_SMALL = 26,
  LIVINGHOUSE_MEDIUM = 27,
  LIVINGHOUSE_BIG = 28,
  Schwefelmine = 29,
  WATERWORKS = 30,
  Katapultwerk = 31,
  DOCKYARD = 32,
  HARBOR = 33,
  Marktplatz = 34,
  HOSPITAL = 35,
  Reisfarm = 36,
  Edelsteinmine = 37,
  Brauerei = 38,
  CHARCOAL_BURNER = 39,
  Pulvermacherei = 40,
  Pyramide = 41,
  Sphinx = 42,
  BIG_TEMPLE = 43,
  TEMPLE = 44,
  grosse_Pagode = 45,
  kleine_Pagode = 46,
  Ballistenwerkstatt = 47,
  Kanonenwerkstatt = 48,
  DONKEY_FARM = 49,
  grosser_Gong = 50,
  Impkerei = 51,
  Metwinzerei = 52,
  Labortorium = 53,
  kleiner_Tempel = 54,
  grosser_Tempel = 55,
  SchwefelmineAmazonen = 56,
};

inline constexpr int BUILDING_TYPE_COUNT = 57;

// The name of a code as printed in messages.
std::string name(BuildingType type);

// The garrisoned buildings a party holds its land from: tower, big tower and
// castle. The fairness table has one row per such building.
constexpr bool isTower(BuildingType t) {
  return t == BuildingType::TOWER || t == BuildingType::TOWER_BIG || t == BuildingType::CASTLE;
}

// Mines, in order; mines may stand on mountain ground.
inline constexpr std::array<BuildingType, 6> MINE_TYPES = {
    BuildingType::COALMINE,     BuildingType::GOLDMINE,      BuildingType::IRONMINE,
    BuildingType::Schwefelmine, BuildingType::Edelsteinmine, BuildingType::SchwefelmineAmazonen};

constexpr bool isMine(BuildingType t) {
  for (BuildingType mine : MINE_TYPES) {
    if (mine == t) return true;
  }
  return false;
}

}  // namespace varnholt::model
