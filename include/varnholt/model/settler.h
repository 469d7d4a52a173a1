#pragma once

#include <cstdint>

#include "varnholt/model/settlertype.h"

namespace varnholt::model {

// One settler standing on a tile.
struct Settler {
  uint8_t party = 0;
  SettlerType settlerType = SettlerType::BEARER;
  uint16_t posX = 0;
  uint16_t posY = 0;

  bool operator==(const Settler&) const = default;
};

}  // namespace varnholt::model
