#pragma once

#include <cstdint>
#include <vector>

namespace varnholt::model {

// One footprint cell, as an offset from the building's own tile.
struct BuildingMetaBlock {
  int64_t xOffset = 0;
  int64_t yOffset = 0;
  bool blocked = true;

  bool operator==(const BuildingMetaBlock&) const = default;
};

// The footprint of one building kind of one civilisation, cells in document order.
struct BuildingMeta {
  std::vector<BuildingMetaBlock> blocks;
};

}  // namespace varnholt::model
