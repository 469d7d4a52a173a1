#include "varnholt/model/objecttype.h"

#include <cstdio>
#include <string_view>

namespace varnholt::model {

namespace {

std::string unknownHex(unsigned code) {
  char text[16];
  std::snprintf(text, sizeof text, "UNKNOWN_%02X", code);
  return text;
}

}  // namespace

std::string name(ObjectType type) {
  auto code = static_cast<unsigned>(type);
  static constexpr std::array<std::string_view, 13> kTrees = {
      "TREE_BIRCH_1",   "TREE_BIRCH_2",   "TREE_ELM_1",       "TREE_ELM_2",
      "TREE_OAK_1",     "TREE_UNKNOWN_1", "TREE_UNKNOWN_2",   "TREE_UNKNOWN_3",
      "TREE_UNKNOWN_4", "TREE_UNKNOWN_5", "TREE_ARECACEAE_1", "TREE_ARECACEAE_2",
      "TREE_UNKNOWN_6"};
  if (code == 0) return "NO_OBJECT";
  if (code >= 68 && code <= 80) return std::string(kTrees[code - 68]);
  if (code == 84) return "TREE_UNKNOWN_7";
  if (code == 113) return "POST";
  if (code == 114) return "FOOTBRIDGE";
  if (code >= 115 && code <= 123) {
    char text[16];
    std::snprintf(text, sizeof text, "RES_STONE_%02u", code - 110);
    return text;
  }
  if (code >= 124 && code <= 127) {
    char text[16];
    std::snprintf(text, sizeof text, "RES_STONE_%02u", code - 123);
    return text;
  }
  return unknownHex(code);
}

}  // namespace varnholt::model
