#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varnholt::model {

// Whether a tile can be walked on or built on. The UNKNOWN_ names do not
// follow their codes.
enum class AccessibleType : uint8_t {
  EMPTY = 0,
  BLOCKED = 1,
  UNKNOWN_01 = 2,
  UNKNOWN_02 = 3,
  UNKNOWN_03 = 4,
  UNKNOWN_04 = 5,
  UNKNOWN_05 = 6,
  UNKNOWN_06 = 7,
  BLOCKED_BUT_ACCESSIBLE = 8,
  BLOCKED_BUILDING = 9,
};

inline constexpr std::array<AccessibleType, 3> BLOCKED_TYPES = {
    AccessibleType::BLOCKED, AccessibleType::BLOCKED_BUT_ACCESSIBLE,
    AccessibleType::BLOCKED_BUILDING};

std::string name(AccessibleType type);

constexpr bool isBlocked(AccessibleType t) {
  return t == AccessibleType::BLOCKED || t == AccessibleType::BLOCKED_BUT_ACCESSIBLE ||
         t == AccessibleType::BLOCKED_BUILDING;
}

}  // namespace varnholt::model
