#pragma once

// What a map holds around each start and how it looks: the fairness table
// and the preview picture. Both read only the Map, so they work on generated
// maps and on maps read back from any file alike. Safe to call from several
// threads at once.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "varnholt/model/map.h"

namespace varnholt::inspect {

// The counted values of one spot, in table order.
enum class Column : uint8_t {
  CLAIMED,    // tiles of the spot's party anywhere on the map
  BUILDABLE,  // free tiles within the radius on ground a tower or house may stand on
  TREES,
  STONES,
  MOUNTAIN,  // mountain ground tiles within the radius
  COAL,      // resource amounts within the radius
  IRON,
  GOLD,
  GEMS,
  SULFUR,
  WATER,     // water tiles within the radius
  FISH,      // fish amount within the radius
  PILES,     // goods piles within the radius
  GOODS,     // goods in those piles
  SETTLERS,  // settlers of the spot's party anywhere on the map
  // Building spots within the radius: tiles where the footprint of the Roman
  // small, medium or big living house fits with every cell on the map, plain
  // GRASS, empty and not blocked.
  SMALL,
  MEDIUM,
  LARGE,
  STONECUTTER,  // small spots with a stone at distance below 10
  WOODCUTTER,   // small spots with a tree at distance below 10
  RIVAL,        // truncated distance to the nearest other spot, 0 when alone
};

inline constexpr size_t COLUMN_COUNT = static_cast<size_t>(Column::RIVAL) + 1;
inline constexpr auto COLUMN_NAMES = std::to_array<std::string_view>(
    {"claimed", "buildable", "trees", "stones",   "mountain", "coal",        "iron",
     "gold",    "gems",      "sulfur", "water",   "fish",     "piles",       "goods",
     "settlers", "small",    "medium", "large",   "stonecutter", "woodcutter", "rival"});
static_assert(COLUMN_NAMES.size() == COLUMN_COUNT, "one name per column");

// A place a party starts from.
struct StartSpot {
  uint8_t party = 0;
  uint32_t x = 0;
  uint32_t y = 0;
};

struct FairnessRow {
  StartSpot spot;
  // The team the party's player name says ("... Team <n>"), 0 when none.
  int32_t team = 0;
  std::array<int64_t, COLUMN_COUNT> values{};

  int64_t operator[](Column column) const { return values[static_cast<size_t>(column)]; }
};

struct Spread {
  int64_t min = 0;
  int64_t max = 0;
};

struct Fairness {
  bool fromTowers = false;  // false: the map has no tower, the rows are the player start spots
  int64_t radius = 0;       // the columns "within the radius" count tiles at distance below this
  std::vector<FairnessRow> rows;
  std::array<Spread, COLUMN_COUNT> spread{};  // over the rows; all zero without rows
};

// One row per start spot: each tower (TOWER, TOWER_BIG, CASTLE) inside the
// map in building order, or where there is none each player start spot
// inside the map, party = player number. Safe on any map read from a file:
// entities outside the map are not counted.
Fairness fairness(const model::Map& map);

inline constexpr int64_t MAX_PREVIEW_SCALE = 16;
inline constexpr int64_t MAX_PREVIEW_EDGE = 16384;  // pixels

// 8-bit RGB pixels in row-major order, three bytes each.
struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;
};

// One pixel per tile: water in blues by depth, land in its ground colour
// shaded by height, rivers, trees and stones as darker dots, claimed land
// tinted in its party's colour (on maps whose player names give teams, in
// its team's: the colour of party team - 1), each start spot marked by a
// framed square in its party's colour.
Image renderPreview(const model::Map& map);

// The colour that marks a party's land and start spot.
std::array<uint8_t, 3> partyColour(uint8_t party);

// Throws Exception unless 1 <= scale <= MAX_PREVIEW_SCALE and an edge of
// size * scale pixels stays within MAX_PREVIEW_EDGE.
void checkPreviewSize(int64_t size, int64_t scale);

}  // namespace varnholt::inspect
