#pragma once

#include <cstdint>

#include "varnholt/model/landscapetype.h"

// Rules about the ground that the generator keeps and the inspector checks:
// one definition each, so both sides always mean the same thing.
namespace varnholt::model {

// A start's area: the tiles at truncated distance below this from its tower.
// The tower claims it, fair maps lay it out, the fairness table counts it.
inline constexpr int64_t START_AREA_RADIUS = 40;

// The largest height difference between a water tile and any neighbour:
// water lies level and its shores climb at most this much per tile.
inline constexpr int64_t SHORE_STEP = 3;

// A stone needs its own tile and the 8 around it; nothing else may stand on
// those or next to them, so nothing within this many tiles of it in x and y.
inline constexpr int64_t STONE_CLEARANCE = 2;

// Ground that may hold coal, iron, gold, gems and sulfur.
constexpr bool isMineralGround(LandscapeType kind) {
  return kind == LandscapeType::MOUNTAIN || kind == LandscapeType::MOUNTAINBORDER;
}

// The four river kinds.
constexpr bool isRiver(LandscapeType kind) {
  return kind >= LandscapeType::RIVER1 && kind <= LandscapeType::RIVER4;
}

}  // namespace varnholt::model
