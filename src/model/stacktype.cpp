#include "varnholt/model/stacktype.h"

namespace varnholt::model {

namespace {
constexpr auto kNames = std::to_array<std::string_view>({
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
});
static_assert(kNames.size() == static_cast<size_t>(STACK_TYPE_COUNT) &&
                  kNames.size() == static_cast<size_t>(StackType::HONEY) + 1,
              "one name per code");
}  // namespace

std::string name(StackType type) {
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
