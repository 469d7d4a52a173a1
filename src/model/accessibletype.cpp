#include "varnholt/model/accessibletype.h"

#include <string_view>

namespace varnholt::model {

std::string name(AccessibleType type) {
  static constexpr auto kNames = std::to_array<std::string_view>(
      {"EMPTY",      "BLOCKED",    "UNKNOWN_01", "UNKNOWN_02",           "UNKNOWN_03",
       "UNKNOWN_04", "UNKNOWN_05", "UNKNOWN_06", "BLOCKED_BUT_ACCESSIBLE", "BLOCKED_BUILDING"});
  static_assert(kNames.size() == static_cast<size_t>(AccessibleType::BLOCKED_BUILDING) + 1,
                "one name per access code");
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
