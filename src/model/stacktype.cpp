#include "model/stacktype.h"

namespace varnholt::model {

namespace {
constexpr std::array<std::string_view, 36> kNames = {
    "NOT_A_STACK",
    "PLANK",
    "STONE",
    "TRUNK",
    "BREAD",
    "COAL",
    "GOLDORE",
    "IRONORE",
    "FISH",
    "CROP",
    "GOLD",
    "IRON",
    "SPADE",
    "HAMMER",
    "AXE",
    "PICK",
    "SAW",
    "FISHINGROD",
    "SWORD",
    "BOW",
    "SPEAR",
    "WINE",
    "FLOUR",
    "PIG",
    "MEAT",
    "SULFUR",
    "WATER",
    "RICE",
    "GEMS",
    "KEG",
    "Schiesspulver",
    "unknown",
    "SCYTHE",
    "Reisschnaps",
    "Met",
    "HONEY",
};
}  // namespace

std::string name(StackType type) {
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
