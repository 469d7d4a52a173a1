#include "varnholt/model/landscapetype.h"

#include <cstdio>

namespace varnholt::model {

namespace {

std::string unknownHex(unsigned code) {
  char text[16];
  std::snprintf(text, sizeof text, "UNKNOWN_%02X", code);
  return text;
}

}  // namespace

std::string name(LandscapeType type) {
  switch (type) {
    case LandscapeType::WATER1: return "WATER1";
    case LandscapeType::WATER2: return "WATER2";
    case LandscapeType::WATER3: return "WATER3";
    case LandscapeType::WATER4: return "WATER4";
    case LandscapeType::WATER5: return "WATER5";
    case LandscapeType::WATER6: return "WATER6";
    case LandscapeType::WATER7: return "WATER7";
    case LandscapeType::WATER8: return "WATER8";
    case LandscapeType::GRASS: return "GRASS";
    case LandscapeType::MOUNTAINBORDEROUTER: return "MOUNTAINBORDEROUTER";
    case LandscapeType::DESERTBORDEROUTER: return "DESERTBORDEROUTER";
    case LandscapeType::MOORBORDER: return "MOORBORDER";
    case LandscapeType::MUDBORDER: return "MUDBORDER";
    case LandscapeType::MOUNTAIN: return "MOUNTAIN";
    case LandscapeType::MOUNTAINBORDER: return "MOUNTAINBORDER";
    case LandscapeType::SNOWBORDER: return "SNOWBORDER";
    case LandscapeType::SAND: return "SAND";
    case LandscapeType::DESERT: return "DESERT";
    case LandscapeType::DESERTBORDER: return "DESERTBORDER";
    case LandscapeType::MOORINNER: return "MOORINNER";
    case LandscapeType::MOOR: return "MOOR";
    case LandscapeType::RIVER1: return "RIVER1";
    case LandscapeType::RIVER2: return "RIVER2";
    case LandscapeType::RIVER3: return "RIVER3";
    case LandscapeType::RIVER4: return "RIVER4";
    case LandscapeType::SNOWINNER: return "SNOWINNER";
    case LandscapeType::SNOW: return "SNOW";
    case LandscapeType::MUDINNER: return "MUDINNER";
    case LandscapeType::MUD: return "MUD";
    case LandscapeType::NOT_A_TYPE: return "NOT_A_TYPE";
  }
  return unknownHex(static_cast<uint8_t>(type));
}

}  // namespace varnholt::model
