#pragma once

#include <cstddef>
#include <cstdint>

#include "varnholt/model/map.h"

// The byte layout of each record kind the map file holds. Each layout is one
// list of fields that both directions walk, so what is written and what is
// read cannot drift apart. Encoders write exactly the record's size from
// fileformat.h at out; decoders read at most that many bytes at in. Numbers
// are little-endian; the callers scramble and unscramble.
namespace varnholt::mapfile {

// The map info body: game type, player count and start goods level as
// words, then three zero words.
void encodeMapInfo(const model::Map& map, uint8_t* out);
// Sets gameType, playerCount and startResources from the first
// MAP_INFO_READ_BYTES; the words after them are not read (files made
// elsewhere may end sooner). Throws Exception "map info section: game type
// <n> does not fit one byte" (or start goods level) for a value above 255.
void decodeMapInfo(const uint8_t* in, model::Map& map);

// Civilization, start x and y as words, then the 33-byte name. Throws
// Exception "Illegal player name length: <name>" for a name of another
// length; out then holds the first three words only.
void encodePlayer(const model::Player& player, uint8_t* out);
// Throws Exception "player <number>: civilization code <n> does not fit 16
// bits" for a larger code.
model::Player decodePlayer(const uint8_t* in, size_t number);

// Tiles first to first + count - 1 of map's seven layers, each as height,
// ground, object, party, accessibility, then resource and amount as the
// high and low nibble of one byte (an amount keeps its low nibble only).
void encodeTiles(const model::Map& map, size_t first, size_t count, uint8_t* out);
// The layers must already hold those tiles.
void decodeTiles(const uint8_t* in, size_t first, size_t count, model::Map& map);

// Party, type, x and y as 16-bit numbers.
void encodeSettler(const model::Settler& settler, uint8_t* out);
model::Settler decodeSettler(const uint8_t* in);

// Party, type, x, y, a zero byte, then the nine troop counts as nibbles in
// the order the game reads them (each count keeps its low nibble only).
void encodeBuilding(const model::Building& building, uint8_t* out);
model::Building decodeBuilding(const uint8_t* in);

// x, y, type, count, then the bytes 254 and 0.
void encodeStack(const model::Stack& stack, uint8_t* out);
model::Stack decodeStack(const uint8_t* in);

}  // namespace varnholt::mapfile
