#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "mapfile/input.h"
#include "varnholt/mapfile.h"
#include "varnholt/model/map.h"

// Reads map files back into a Map: the files this program writes and those
// made with the game's own tools (older version, further sections, no entity
// lists, a closing type-0 section).
namespace varnholt::mapfile {

// A walk that meets more sections than this gives up: real files hold a dozen.
inline constexpr size_t MAX_SECTIONS = 1024;

// Lists longer than these are refused, far above what the game uses, so that
// reading and reporting any file stay within seconds and a bounded memory.
// Parties are bytes, so no more players can be told apart.
inline constexpr uint64_t MAX_PLAYERS = 256;
inline constexpr uint64_t MAX_BUILDINGS = 10000;
inline constexpr uint64_t MAX_SETTLERS = 1000000;
inline constexpr uint64_t MAX_STACKS = 1000000;

// Caps a caller adds to the reader's own, each applied as soon as the file
// shows it crossed, so a map too large for the caller costs no more than its
// first bytes. The defaults add none.
struct ReadLimits {
  // Wider maps are refused at the area section's size word, before any tile
  // is decoded.
  uint32_t maxMapSize = std::numeric_limits<uint32_t>::max();
  // Maps with more towers (model::isTower, standing on the map) are refused
  // as soon as both the buildings and the area are read.
  uint64_t maxTowers = MAX_BUILDINGS;
};

// Reads the map file input holds, each byte once, from the first to the
// last. Throws Exception with a one-line reason when the bytes cannot be read
// as a map (lists above the caps and maps beyond limits included); flaws
// that leave the rest readable become warnings: checksum mismatch, unknown
// sections, odd counts, entities outside the map, object codes no object
// has, and bytes after the end of the last section beyond the fewer than 4
// that files end with.
MapFile readMap(Input& input, const ReadLimits& limits = {});

// readMap over bytes held in memory.
MapFile readMap(std::span<const uint8_t> bytes, const ReadLimits& limits = {});

// readMap over the regular file at path (see openMapFile), read in pieces:
// the file is never held in memory whole, only the Map made of it.
MapFile importMap(const std::string& path, const ReadLimits& limits = {});

}  // namespace varnholt::mapfile
