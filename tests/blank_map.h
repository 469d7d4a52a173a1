#pragma once

#include <cstdint>

#include "varnholt/model/map.h"

namespace varnholt::testing {

// A size x size map of grass at height 0 with every layer filled, no party.
inline model::Map blankMap(uint32_t size) {
  model::Map map;
  map.size = size;
  const size_t tiles = size_t{size} * size;
  map.heights.assign(tiles, 0);
  map.landscape.assign(tiles, model::LandscapeType::GRASS);
  map.objects.assign(tiles, model::ObjectType::NO_OBJECT);
  map.party.assign(tiles, 255);
  map.accessible.assign(tiles, model::AccessibleType::EMPTY);
  map.resources.assign(tiles, model::ResourceType::FISH);
  map.resourceAmounts.assign(tiles, 0);
  return map;
}

}  // namespace varnholt::testing
