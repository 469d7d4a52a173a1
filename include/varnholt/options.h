#pragma once

// What to generate, and how each option is read from text: the grammar the
// command line, the page and any other caller share.
#include <cstdint>
#include <string_view>

#include "varnholt/model/mapstyle.h"
#include "varnholt/model/startresourcetype.h"

namespace varnholt {

// Edge lengths of a map in tiles. Below MIN_MAP_SIZE the 20-tile frame of
// deep water does not fit; above MAX_MAP_SIZE the file's 32-bit area length
// (6 * size^2 + 12) overflows.
inline constexpr int64_t MIN_MAP_SIZE = 40;
inline constexpr int64_t MAX_MAP_SIZE = 26740;
// Parties are bytes and 255 means no party.
inline constexpr int64_t MAX_PLAYER_COUNT = 254;

// How the starts are laid out: as they fall (classic), each given the same
// surroundings (fair), or exact copies by the symmetries of the tile grid
// (symmetric; even player counts only).
enum class StartMode : uint8_t { CLASSIC, FAIR, SYMMETRIC };

// What to generate. The defaults are the command line's.
struct GenerateOptions {
  int64_t seed = 123456789;
  int64_t size = 320;       // edge length in tiles, MIN_MAP_SIZE to MAX_MAP_SIZE
  int64_t playerCount = 8;  // 1 to MAX_PLAYER_COUNT
  model::StartResourcesType startGoods = model::StartResourcesType::HIGH;
  StartMode mode = StartMode::CLASSIC;
  // The landscape, climate, shares and amounts of FAIR and SYMMETRIC maps;
  // CLASSIC maps ignore it.
  model::MapStyle style = {};
};

// The grammar of every integer a user types (seed, size, players): an
// optional sign, then decimal digits, each optionally followed by any number
// of '_' ("+1_000", "-5"). Throws ValueError "invalid integer: <text>", or
// "Parsed integer outside of valid range" beyond 64 bits.
int64_t parseInteger(std::string_view text);

// Sets the option called name from its text: "seed", "size" and
// "playerCount" by parseInteger, "startGoods" HG, MG or LG (Exception
// "Illegal start goods key" otherwise), "starts" classic, fair or symmetric
// (Exception "invalid starts: <text>" otherwise); the style's "landscape",
// "climate" and "resources" by name and "water" and "mountains" as whole
// percents (ValueError naming the option and the values it takes
// otherwise, see varnholt/model/mapstyle.h), each of which also turns a
// CLASSIC mode into FAIR: a style is a fair map's; "teams" as
// model::parseTeams reads it, which also sets playerCount to the teams'
// players and turns CLASSIC into FAIR. Ranges are checked by
// generateMap, not here. Throws KeyError "unknown option: <name>" for any
// other name; options is unchanged whenever it throws.
void setOption(GenerateOptions& options, std::string_view name, std::string_view text);

}  // namespace varnholt
