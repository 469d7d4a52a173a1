#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "varnholt/model/building.h"
#include "varnholt/model/map.h"
#include "varnholt/model/settlertype.h"
#include "varnholt/model/stacktype.h"
#include "varnholt/model/startresourcetype.h"

// What every tower starts with, per start goods level, and where it goes.
namespace varnholt::generate {

// Goods piles and settlers take the empty tiles nearest to a tower's supply
// centre, within this radius.
inline constexpr int64_t SUPPLY_RADIUS = 30;

// The tile index of (posX + 3, posY + 3), beside the tower.
int64_t supplyCentre(const model::Map& map, const model::Building& tower);

// The soldiers manning every start tower, by level: two archers and one
// spearman of the first level.
inline constexpr std::array<uint8_t, 3> START_SWORDSMEN = {0, 0, 0};
inline constexpr std::array<uint8_t, 3> START_ARCHERS = {2, 0, 0};
inline constexpr std::array<uint8_t, 3> START_SPEARMEN = {1, 0, 0};

// One goods pile of a start list.
struct StartStack {
  model::StackType stackType;
  uint8_t count;
};

// The goods piles of a level, in laying order; CUSTOM has none.
std::span<const StartStack> startStacks(model::StartResourcesType level);

// The settlers of a level, one entry per settler, in placing order; CUSTOM has none.
std::vector<model::SettlerType> startSettlers(model::StartResourcesType level);

}  // namespace varnholt::generate
