#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnholt::model {

// Kind of goods in a pile, codes 0 to 35.
enum class StackType : uint8_t {
  NOT_A_STACK = 0,
  PLANK = 1,
  STONE = 2,
  TRUNK = 3,
  BREAD = 4,
  COAL = 5,
  GOLDORE = 6,
  IRONORE = 7,
  FISH = 8,
  CROP = 9,
  GOLD = 10,
  IRON = 11,
  SPADE = 12,
  HAMMER = 13,
  AXE = 14,
  PICK = 15,
  SAW = 16,
  FISHINGROD = 17,
  SWORD = 18,
  BOW = 19,
  SPEAR = 20,
  WINE = 21,
  FLOUR = 22,
  PIG = 23,
  MEAT = 24,
  SULFUR = 25,
  WATER = 26,
  RICE = 27,
  GEMS = 28,
  KEG = 29,
  Schiesspulver = 30,
  unknown = 31,
  SCYTHE = 32,
  Reisschnaps = 33,
  Met = 34,
  HONEY = 35,
};

inline constexpr int STACK_TYPE_COUNT = 36;

// The name of a code as printed in messages.
std::string name(StackType type);

}  // namespace varnholt::model
