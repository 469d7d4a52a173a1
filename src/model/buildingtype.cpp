#include "varnholt/model/buildingtype.h"

namespace varnholt::model {

namespace {
constexpr auto kNames = std::to_array<std::string_view>({
    "NOT_A_BUILDING",
    "STOCK",
    "LUMBERJACK",
    "STONECUTTER",
    "SAWMILL",
    "FORESTER",
    "LOOKOUT_TOWER",
    "COALMINE",
    "GOLDMINE",
    "IRONMINE",
    "GOLDMELT",
    "Eisenschmelze",
    "TOOLSMITH",
    "WEAPONSMITH",
    "WINEGROWER",
    "TOWER",
    "TOWER_BIG",
    "Muehle",
    "CASTLE",
    "BARRACK",
    "BAKER",
    "Metzger",
    "Destille",
    "PIG_FARM",
    "FARM",
    "FISHER",
    "LIVINGHOUSE_SMALL",
    "LIVINGHOUSE_MEDIUM",
    "LIVINGHOUSE_BIG",
    "Schwefelmine",
    "WATERWORKS",
    "Katapultwerk",
    "DOCKYARD",
    "HARBOR",
    "Marktplatz",
    "HOSPITAL",
    "Reisfarm",
    "Edelsteinmine",
    "Brauerei",
    "CHARCOAL_BURNER",
    "Pulvermacherei",
    "Pyramide",
    "Sphinx",
    "BIG_TEMPLE",
    "TEMPLE",
    "grosse_Pagode",
    "kleine_Pagode",
    "Ballistenwerkstatt",
    "Kanonenwerkstatt",
    "DONKEY_FARM",
    "grosser_Gong",
    "Impkerei",
    "Metwinzerei",
    "Labortorium",
    "kleiner_Tempel",
    "grosser_Tempel",
    "SchwefelmineAmazonen",
});
static_assert(kNames.size() == static_cast<size_t>(BUILDING_TYPE_COUNT) &&
                  kNames.size() == static_cast<size_t>(BuildingType::SchwefelmineAmazonen) + 1,
              "one name per code");
}  // namespace

std::string name(BuildingType type) {
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
