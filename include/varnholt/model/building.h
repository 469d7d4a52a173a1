#pragma once

#include <array>
#include <cstdint>

#include "varnholt/model/buildingtype.h"

namespace varnholt::model {

// One placed building with its troops per level 1, 2, 3 (each count 0 to 15).
struct Building {
  uint8_t party = 0;
  BuildingType buildingType = BuildingType::NOT_A_BUILDING;
  uint16_t posX = 0;
  uint16_t posY = 0;
  std::array<uint8_t, 3> swordCount{};
  std::array<uint8_t, 3> archerCount{};
  std::array<uint8_t, 3> spearCount{};

  bool operator==(const Building&) const = default;
};

}  // namespace varnholt::model
