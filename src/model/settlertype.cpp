#include "varnholt/model/settlertype.h"

namespace varnholt::model {

namespace {
constexpr auto kNames = std::to_array<std::string_view>({
    "BEARER",
    "DIGGER",
    "BRICKLAYER",
    "LUMBERJACK",
    "STONECUTTER",
    "SWORDSMAN_L1",
    "SAWMILLER",
    "FORESTER",
    "BOWMAN_L1",
    "MELTER",
    "MINER",
    "SMITH",
    "MILLER",
    "BAKER",
    "BUTCHER",
    "PIKEMAN_L1",
    "FARMER",
    "FISHERMAN",
    "WATERWORKER",
    "Werftarbeiter",
    "UNKNOWN_20",
    "HEALER",
    "GEOLOGIST",
    "THIEF",
    "CHARCOAL_BURNER",
    "Schnapsbrenner",
    "Brauer",
    "Pulvermacher",
    "PIG_FARMER",
    "WINEGROWER",
    "BOWMAN_L2",
    "PIKEMAN_L2",
    "SWORDSMAN_L2",
    "BOWMAN_L3",
    "PIKEMAN_L3",
    "SWORDSMAN_L3",
    "MAGE",
    "UNKNOWN_37",
    "Reisbauer",
    "DONKEY",
    "PIONEER",
    "Katapult",
    "UNKNOWN_42",
    "Handelsschiff",
    "Faehre",
    "Imker",
    "Metwinzer",
    "Alchemist",
    "NOT_A_SETTLER",
});
static_assert(kNames.size() == static_cast<size_t>(SETTLER_TYPE_COUNT) &&
                  kNames.size() == static_cast<size_t>(SettlerType::NOT_A_SETTLER) + 1,
              "one name per code");
}  // namespace

std::string name(SettlerType type) {
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
