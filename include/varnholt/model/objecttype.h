#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varnholt::model {

// Map object standing on a tile, codes 0 to 127; unnamed codes print as
// "UNKNOWN_" plus two hex digits. The generator places only TREE_TYPES and
// STONE_TYPES; code 84 (a further tree) and codes 124 to 127 (the four
// smallest stones) are known so that maps made elsewhere count right.
enum class ObjectType : uint8_t {
  NO_OBJECT = 0,
  TREE_BIRCH_1 = 68,
  TREE_BIRCH_2 = 69,
  TREE_ELM_1 = 70,
  TREE_ELM_2 = 71,
  TREE_OAK_1 = 72,
  TREE_UNKNOWN_1 = 73,
  TREE_UNKNOWN_2 = 74,
  TREE_UNKNOWN_3 = 75,
  TREE_UNKNOWN_4 = 76,
  TREE_UNKNOWN_5 = 77,
  TREE_ARECACEAE_1 = 78,
  TREE_ARECACEAE_2 = 79,
  TREE_UNKNOWN_6 = 80,
  TREE_UNKNOWN_7 = 84,
  POST = 113,
  FOOTBRIDGE = 114,
  RES_STONE_05 = 115,
  RES_STONE_06 = 116,
  RES_STONE_07 = 117,
  RES_STONE_08 = 118,
  RES_STONE_09 = 119,
  RES_STONE_10 = 120,
  RES_STONE_11 = 121,
  RES_STONE_12 = 122,
  RES_STONE_13 = 123,
  RES_STONE_01 = 124,
  RES_STONE_02 = 125,
  RES_STONE_03 = 126,
  RES_STONE_04 = 127,
};

// Codes from this one up are no object the game knows.
inline constexpr int OBJECT_TYPE_COUNT = 128;

// Ordered lists; random draws pick from them by position.
inline constexpr std::array<ObjectType, 13> TREE_TYPES = {
    ObjectType::TREE_BIRCH_1,     ObjectType::TREE_BIRCH_2,     ObjectType::TREE_ELM_1,
    ObjectType::TREE_ELM_2,       ObjectType::TREE_OAK_1,       ObjectType::TREE_UNKNOWN_1,
    ObjectType::TREE_UNKNOWN_2,   ObjectType::TREE_UNKNOWN_3,   ObjectType::TREE_UNKNOWN_4,
    ObjectType::TREE_UNKNOWN_5,   ObjectType::TREE_ARECACEAE_1, ObjectType::TREE_ARECACEAE_2,
    ObjectType::TREE_UNKNOWN_6};
inline constexpr std::array<ObjectType, 9> STONE_TYPES = {
    ObjectType::RES_STONE_05, ObjectType::RES_STONE_06, ObjectType::RES_STONE_07,
    ObjectType::RES_STONE_08, ObjectType::RES_STONE_09, ObjectType::RES_STONE_10,
    ObjectType::RES_STONE_11, ObjectType::RES_STONE_12, ObjectType::RES_STONE_13};

std::string name(ObjectType type);

// Every tree and stone code, the ones only foreign maps hold included.
constexpr bool isTree(ObjectType t) {
  const auto code = static_cast<uint8_t>(t);
  return (code >= 68 && code <= 80) || t == ObjectType::TREE_UNKNOWN_7;
}
constexpr bool isStone(ObjectType t) {
  const auto code = static_cast<uint8_t>(t);
  return code >= 115 && code < OBJECT_TYPE_COUNT;
}

// False for codes outside the vocabulary, which files may still hold.
constexpr bool isKnown(ObjectType t) { return static_cast<uint8_t>(t) < OBJECT_TYPE_COUNT; }

}  // namespace varnholt::model
