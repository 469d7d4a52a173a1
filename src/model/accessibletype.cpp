#include "model/accessibletype.h"

#include <string_view>

namespace varnholt::model {

std::string name(AccessibleType type) {
  static constexpr std::array<std::string_view, 10> kNames = {
      "EMPTY",      "BLOCKED",    "UNKNOWN_01", "UNKNOWN_02",           "UNKNOWN_03",
      "UNKNOWN_04", "UNKNOWN_05", "UNKNOWN_06", "BLOCKED_BUT_ACCESSIBLE", "BLOCKED_BUILDING"};
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
