#pragma once

// varnholt: random maps for The Settlers 3, as a library.
//
// Options in, Map out; Map to the bytes of a finished map file; bytes back to
// a Map. A Map holds a whole map in memory: header values, the seven per-tile
// layers and the placed towers, goods piles, settlers and players. What a
// map holds around its starts and how it looks are in varnholt/inspect.h.
//
// Thread safety: every function here may be called from several threads at
// once. A generation draws only from its own random source, so the same
// options always give the same map, whatever else runs at the same time.
//
// Errors: failures throw varnholt::Error, which carries a kind ("Exception",
// "ValueError", "KeyError") and a one-line message.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "varnholt/file.h"
#include "varnholt/mapfile.h"
#include "varnholt/model/console.h"
#include "varnholt/model/error.h"
#include "varnholt/model/map.h"
#include "varnholt/options.h"

namespace varnholt {

// Generates the map the options describe, sending the run's progress lines
// to console. Throws Exception "Illegal map size <n>" for a size below 1 or
// above MAX_MAP_SIZE, "Illegal generate size <size - 40>" for sizes 1 to 39
// (the 20-tile frame does not fit), "Illegal player count <n>" outside 1 to
// MAX_PLAYER_COUNT, and the stage's error when the map cannot be made (for
// example "FAiled to create player start"). FAIR and SYMMETRIC maps throw
// Exception "Map too small for <n> fair starts (...)" when the starts cannot
// keep their distances, SYMMETRIC ones "Symmetric maps need an even player
// count, not <n>" for odd counts. A style share out of its landscape's range
// throws ValueError naming the option and its range ("--water takes 30 to
// 75 on islands, not 10"), an alpine style with too little mountain asked
// for ValueError "--mountains takes at least 35 with --climate=alpine, not
// <n>"; shares the start areas leave no room for throw Exception "Map too
// small for <landscape> with ...". Teams (style.teams) throw ValueError when
// they hold another number of players than playerCount, on a CLASSIC map, or
// in an odd number on a SYMMETRIC one, and Exception "Map too small for
// <teams> at size <n> (...)" when no team layout fits.
model::Map generateMap(const GenerateOptions& options, const Console& console);

// The finished map file: written, scrambled and sealed with its checksum,
// sending the writer's progress lines to console. Throws Exception for a map
// the file cannot hold (too steep a slope, a malformed player name).
std::vector<uint8_t> mapFileBytes(const model::Map& map, const Console& console);

// Puts a finished map file at path, whole or not at all: a
// mapfile::PendingFile (varnholt/file.h) worded for the map file, written and
// committed, so on failure the previous file stays as it was. Throws
// Exception with the reason and the path when it cannot be written. A caller
// that wants the path refused before generating creates the PendingFile
// itself first, as the command line does.
void writeMapFile(std::span<const uint8_t> bytes, const std::string& path);

// Reads a map file held in memory back into a Map, with what the file says
// about itself and the warnings for flaws that leave the rest readable.
// Throws Exception with a one-line reason when the bytes are no map.
mapfile::MapFile readMapFile(std::span<const uint8_t> bytes);

// Reads the regular file at path (at most 512 MiB) as the bytes form does,
// without holding the whole file in memory. Throws Exception when the file
// cannot be read or is no map.
mapfile::MapFile readMapFile(const std::string& path);

}  // namespace varnholt
