#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varnholt::model {

// Ground type of a tile; every byte is a valid code, unnamed ones print as
// "UNKNOWN_" plus two hex digits.
enum class LandscapeType : uint8_t {
  WATER1 = 0,
  WATER2 = 1,
  WATER3 = 2,
  WATER4 = 3,
  WATER5 = 4,
  WATER6 = 5,
  WATER7 = 6,
  WATER8 = 7,
  GRASS = 16,
  MOUNTAINBORDEROUTER = 17,
  DESERTBORDEROUTER = 20,
  MOORBORDER = 21,
  MUDBORDER = 23,
  MOUNTAIN = 32,
  MOUNTAINBORDER = 33,
  SNOWBORDER = 35,
  SAND = 48,
  DESERT = 64,
  DESERTBORDER = 65,
  MOORINNER = 80,
  MOOR = 81,
  RIVER1 = 96,
  RIVER2 = 97,
  RIVER3 = 98,
  RIVER4 = 99,
  SNOWINNER = 128,
  SNOW = 129,
  MUDINNER = 144,
  MUD = 145,
  NOT_A_TYPE = 255,
};

// Ordered lists; random draws pick from them by position.
inline constexpr std::array<LandscapeType, 8> WATER_TYPES = {
    LandscapeType::WATER1, LandscapeType::WATER2, LandscapeType::WATER3, LandscapeType::WATER4,
    LandscapeType::WATER5, LandscapeType::WATER6, LandscapeType::WATER7, LandscapeType::WATER8};
inline constexpr std::array<LandscapeType, 4> RIVER_TYPES = {
    LandscapeType::RIVER1, LandscapeType::RIVER2, LandscapeType::RIVER3, LandscapeType::RIVER4};

std::string name(LandscapeType type);

constexpr bool isWater(LandscapeType t) { return static_cast<uint8_t>(t) <= 7; }
constexpr bool isMountain(LandscapeType t) {
  return t == LandscapeType::MOUNTAINBORDEROUTER || t == LandscapeType::MOUNTAIN ||
         t == LandscapeType::MOUNTAINBORDER;
}
constexpr bool isSnow(LandscapeType t) {
  return t == LandscapeType::SNOWBORDER || t == LandscapeType::SNOWINNER || t == LandscapeType::SNOW;
}
constexpr bool isDesert(LandscapeType t) {
  return t == LandscapeType::DESERTBORDEROUTER || t == LandscapeType::DESERT ||
         t == LandscapeType::DESERTBORDER;
}
constexpr bool isMoor(LandscapeType t) {
  return t == LandscapeType::MOORBORDER || t == LandscapeType::MOORINNER || t == LandscapeType::MOOR;
}

}  // namespace varnholt::model
