#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnholt::model {

// Profession of a settler, codes 0 to 48.
enum class SettlerType : uint8_t {
  BEARER = 0,
  DIGGER = 1,
  BRICKLAYER = 2,
  LUMBERJACK = 3,
  STONECUTTER = 4,
  SWORDSMAN_L1 = 5,
  SAWMILLER = 6,
  FORESTER = 7,
  BOWMAN_L1 = 8,
  MELTER = 9,
  MINER = 10,
  SMITH = 11,
  MILLER = 12,
  BAKER = 13,
  BUTCHER = 14,
  PIKEMAN_L1 = 15,
  FARMER = 16,
  FISHERMAN = 17,
  WATERWORKER = 18,
  Werftarbeiter = 19,
  UNKNOWN_20 = 20,
  HEALER = 21,
  GEOLOGIST = 22,
  THIEF = 23,
  CHARCOAL_BURNER = 24,
  Schnapsbrenner = 25,
  Brauer = 26,
  Pulvermacher = 27,
  PIG_FARMER = 28,
  WINEGROWER = 29,
  BOWMAN_L2 = 30,
  PIKEMAN_L2 = 31,
  SWORDSMAN_L2 = 32,
  BOWMAN_L3 = 33,
  PIKEMAN_L3 = 34,
  SWORDSMAN_L3 = 35,
  MAGE = 36,
  UNKNOWN_37 = 37,
  Reisbauer = 38,
  DONKEY = 39,
  PIONEER = 40,
  Katapult = 41,
  UNKNOWN_42 = 42,
  Handelsschiff = 43,
  Faehre = 44,
  Imker = 45,
  Metwinzer = 46,
  Alchemist = 47,
  NOT_A_SETTLER = 48,
};

inline constexpr int SETTLER_TYPE_COUNT = 49;

// The name of a code as printed in messages.
std::string name(SettlerType type);

}  // namespace varnholt::model
