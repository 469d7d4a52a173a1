#include "generate/startgoods.h"

#include <array>

#include "geometry/tiles.h"

namespace varnholt::generate {

using model::SettlerType;
using model::StackType;
using model::StartResourcesType;

namespace {

constexpr std::array<StartStack, 9> kLowStacks = {{
    {StackType::PLANK, 8},
    {StackType::PLANK, 4},
    {StackType::STONE, 8},
    {StackType::STONE, 4},
    {StackType::HAMMER, 6},
    {StackType::SPADE, 5},
    {StackType::AXE, 3},
    {StackType::SAW, 1},
    {StackType::PICK, 2},
}};

// The game's own medium level: 25 planks and 25 stones, enough for a first
// stonecutter and woodcutter, tools and food between low and high, piles of
// 8 first per kind.
constexpr std::array<StartStack, 20> kMediumStacks = {{
    {StackType::PLANK, 8},
    {StackType::PLANK, 8},
    {StackType::PLANK, 8},
    {StackType::PLANK, 1},
    {StackType::STONE, 8},
    {StackType::STONE, 8},
    {StackType::STONE, 8},
    {StackType::STONE, 1},
    {StackType::HAMMER, 8},
    {StackType::HAMMER, 7},
    {StackType::SPADE, 8},
    {StackType::SPADE, 2},
    {StackType::AXE, 6},
    {StackType::SAW, 2},
    {StackType::PICK, 4},
    {StackType::FISHINGROD, 1},
    {StackType::SCYTHE, 1},
    {StackType::FISH, 3},
    {StackType::MEAT, 5},
    {StackType::BREAD, 7},
}};

constexpr std::array<StartStack, 23> kHighStacks = {{
    {StackType::PLANK, 8},
    {StackType::PLANK, 8},
    {StackType::PLANK, 8},
    {StackType::PLANK, 6},
    {StackType::STONE, 8},
    {StackType::STONE, 8},
    {StackType::STONE, 8},
    {StackType::STONE, 7},
    {StackType::HAMMER, 8},
    {StackType::HAMMER, 8},
    {StackType::HAMMER, 8},
    {StackType::HAMMER, 1},
    {StackType::SPADE, 8},
    {StackType::SPADE, 7},
    {StackType::AXE, 8},
    {StackType::SAW, 3},
    {StackType::PICK, 5},
    {StackType::FISHINGROD, 2},
    {StackType::SCYTHE, 3},
    {StackType::FISH, 7},
    {StackType::MEAT, 8},
    {StackType::BREAD, 8},
    {StackType::BREAD, 7},
}};

// A run of settlers of one profession.
struct SettlerRun {
  SettlerType settlerType;
  int number;
};

constexpr std::array<SettlerRun, 5> kLowSettlers = {{
    {SettlerType::BEARER, 16},
    {SettlerType::MINER, 3},
    {SettlerType::SWORDSMAN_L2, 7},
    {SettlerType::BOWMAN_L1, 1},
    {SettlerType::PIKEMAN_L1, 1},
}};

constexpr std::array<SettlerRun, 7> kMediumSettlers = {{
    {SettlerType::BEARER, 32},
    {SettlerType::MINER, 4},
    {SettlerType::SMITH, 2},
    {SettlerType::SWORDSMAN_L1, 10},
    {SettlerType::BOWMAN_L1, 2},
    {SettlerType::PIKEMAN_L1, 2},
    {SettlerType::DONKEY, 4},
}};

constexpr std::array<SettlerRun, 7> kHighSettlers = {{
    {SettlerType::BEARER, 50},
    {SettlerType::MINER, 7},
    {SettlerType::SMITH, 2},
    {SettlerType::SWORDSMAN_L1, 13},
    {SettlerType::BOWMAN_L1, 4},
    {SettlerType::PIKEMAN_L1, 4},
    {SettlerType::DONKEY, 6},
}};

std::span<const SettlerRun> settlerRuns(StartResourcesType level) {
  switch (level) {
    case StartResourcesType::LOW:
      return kLowSettlers;
    case StartResourcesType::MEDIUM:
      return kMediumSettlers;
    case StartResourcesType::HIGH:
      return kHighSettlers;
    case StartResourcesType::CUSTOM:
      break;
  }
  return {};
}

}  // namespace

int64_t supplyCentre(const model::Map& map, const model::Building& tower) {
  return index(int64_t{map.size}, int64_t{tower.posX} + 3, int64_t{tower.posY} + 3);
}

std::span<const StartStack> startStacks(StartResourcesType level) {
  switch (level) {
    case StartResourcesType::LOW:
      return kLowStacks;
    case StartResourcesType::MEDIUM:
      return kMediumStacks;
    case StartResourcesType::HIGH:
      return kHighStacks;
    case StartResourcesType::CUSTOM:
      break;
  }
  return {};
}

std::vector<SettlerType> startSettlers(StartResourcesType level) {
  std::vector<SettlerType> settlers;
  for (const SettlerRun& run : settlerRuns(level)) {
    settlers.insert(settlers.end(), static_cast<size_t>(run.number), run.settlerType);
  }
  return settlers;
}

}  // namespace varnholt::generate
