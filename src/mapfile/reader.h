#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "varnholt/mapfile.h"
#include "varnholt/model/map.h"

// Reads map files back into a Map: the files this program writes and those
// made with the game's own tools (older version, further sections, no entity
// lists, a closing type-0 section).
namespace varnholt::mapfile {

// Files above this size are refused before they are read.
inline constexpr uint64_t MAX_MAP_FILE_BYTES = uint64_t{512} << 20;

// A walk that meets more sections than this gives up: real files hold a dozen.
inline constexpr size_t MAX_SECTIONS = 1024;

// Lists longer than these are refused, far above what the game uses, so that
// reading and reporting any file stay within seconds and a bounded memory.
// Parties are bytes, so no more players can be told apart.
inline constexpr uint64_t MAX_PLAYERS = 256;
inline constexpr uint64_t MAX_BUILDINGS = 10000;
inline constexpr uint64_t MAX_SETTLERS = 1000000;
inline constexpr uint64_t MAX_STACKS = 1000000;

// Parses a whole map file held in memory. Throws Exception with a one-line
// reason when the bytes cannot be read as a map (lists above the caps
// included); flaws that leave the rest readable become warnings: checksum
// mismatch, unknown sections, odd counts, entities outside the map, object
// codes no object has, and bytes after the end of the last section beyond the
// fewer than 4 that files end with.
MapFile readMap(std::span<const uint8_t> bytes);

// Reads the regular file at path (at most MAX_MAP_FILE_BYTES) as readMap
// does, in pieces: the file is never held in memory whole, only the Map made
// of it. Throws Exception when the file cannot be read.
MapFile importMap(const std::string& path);

}  // namespace varnholt::mapfile
