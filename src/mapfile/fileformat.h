#pragma once

#include <cstdint>

// The map file's section types and record sizes, shared by the writer, the
// scrambler and the reader.
namespace varnholt::mapfile {

// Section types the program writes, in file order.
inline constexpr uint16_t SECTION_MAP_INFO = 1;
inline constexpr uint16_t SECTION_PLAYERS = 2;
inline constexpr uint16_t SECTION_AREA = 6;
inline constexpr uint16_t SECTION_SETTLERS = 7;
inline constexpr uint16_t SECTION_BUILDINGS = 8;
inline constexpr uint16_t SECTION_STACKS = 9;

// Section bodies of types 1 up to this one are scrambled.
inline constexpr uint16_t LAST_SCRAMBLED_SECTION = 12;

// Byte sizes: a section header (type, length), the records of the sections,
// and a player name within its record.
inline constexpr uint32_t SECTION_HEADER_BYTES = 8;
inline constexpr uint32_t MAP_INFO_RECORD_BYTES = 24;
inline constexpr uint32_t MAP_INFO_READ_BYTES = 12;  // the words after these are not read
inline constexpr uint32_t PLAYER_RECORD_BYTES = 45;
inline constexpr uint32_t PLAYER_NAME_BYTES = 33;
inline constexpr uint32_t TILE_RECORD_BYTES = 6;
inline constexpr uint32_t SETTLER_RECORD_BYTES = 6;
inline constexpr uint32_t BUILDING_RECORD_BYTES = 12;
inline constexpr uint32_t STACK_RECORD_BYTES = 8;

}  // namespace varnholt::mapfile
