#pragma once

// varnholt: random maps for The Settlers 3, as a library.
//
// Options in, Map out; Map to the bytes of a finished map file; bytes back to
// a Map. A Map holds a whole map in memory: header values, the seven per-tile
// layers and the placed towers, goods piles, settlers and players.
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

#include "inspect/fairness.h"
#include "inspect/preview.h"
#include "mapfile/reader.h"
#include "model/console.h"
#include "model/error.h"
#include "model/map.h"
#include "model/mapstyle.h"
#include "model/startresourcetype.h"

namespace varnholt {

inline constexpr int64_t MAX_MAP_SIZE = 26740;  // 6 * size^2 + 12 must fit the 32-bit area length
inline constexpr int64_t MAX_PLAYER_COUNT = 254;  // parties are bytes and 255 means no party

// How the starts are laid out: as they fall (classic), each given the same
// surroundings (fair), or exact copies by the symmetries of the tile grid
// (symmetric; even player counts only).
enum class StartMode : uint8_t { CLASSIC, FAIR, SYMMETRIC };

// What to generate. The defaults are the command line's.
struct GenerateOptions {
  int64_t seed = 123456789;
  int64_t size = 320;  // edge length in tiles, 1 to MAX_MAP_SIZE
  int64_t playerCount = 8;  // 1 to MAX_PLAYER_COUNT
  model::StartResourcesType startGoods = model::StartResourcesType::HIGH;
  StartMode mode = StartMode::CLASSIC;
  // The landscape, climate, shares and amounts of FAIR and SYMMETRIC maps;
  // CLASSIC maps ignore it.
  model::MapStyle style = {};
};

// Generates the map the options describe, sending the run's progress lines
// to console. Throws Exception "Illegal map size <n>" or "Illegal player
// count <n>" for values out of range, and the stage's error when the map
// cannot be made (for example "FAiled to create player start"). FAIR and
// SYMMETRIC maps throw Exception "Map too small for <n> fair starts (...)"
// when the starts cannot keep their distances, SYMMETRIC ones
// "Symmetric maps need an even player count, not <n>" for odd counts. A
// style share out of its landscape's range throws ValueError naming the
// option and its range ("--water takes 30 to 75 on islands, not 10"); shares
// the map has no room for throw Exception "Map too small for <landscape>
// with ...". Teams (style.teams) throw ValueError when they hold another
// number of players than playerCount, on a CLASSIC map, or in an odd number
// on a SYMMETRIC one, and Exception "Map too small for <teams> at size <n>
// (...)" when no team layout fits.
model::Map generateMap(const GenerateOptions& options, const Console& console);

// The finished map file: written, scrambled and sealed with its checksum,
// sending the writer's progress lines to console. Throws Exception for a map
// the file cannot hold (too steep a slope, a malformed player name).
std::vector<uint8_t> mapFileBytes(const model::Map& map, const Console& console);

// Puts a finished map file at path, whole or not at all: written beside it,
// synced and renamed over it, so on failure the previous file stays as it
// was. Refuses any path that is not a regular file or a new name in an
// existing directory. Throws Exception with the reason and the path when it
// cannot be written (see mapfile/save.h).
void writeMapFile(std::span<const uint8_t> bytes, const std::string& path);

// Reads a map file held in memory back into a Map, with what the file says
// about itself and the warnings for flaws that leave the rest readable.
// Throws Exception with a one-line reason when the bytes are no map.
mapfile::MapFile readMapFile(std::span<const uint8_t> bytes);

// What lies around each start of a map, one row per tower (or per player
// start where there is no tower), with each column's spread.
inspect::Fairness fairness(const model::Map& map);

// The map as one RGB pixel per tile, in the inspector's colours.
inspect::Image renderPreview(const model::Map& map);

}  // namespace varnholt
