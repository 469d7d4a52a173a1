#pragma once

#include <cstdint>
#include <string>

#include "varnholt/model/civilizationtype.h"

namespace varnholt::model {

// One player start spot. The file requires a name of exactly 33 bytes.
struct Player {
  std::string name;
  uint32_t startX = 0;
  uint32_t startY = 0;
  CivilizationType civilization = CivilizationType::FREE_CHOICE;

  bool operator==(const Player&) const = default;
};

}  // namespace varnholt::model
