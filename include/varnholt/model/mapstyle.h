#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "varnholt/model/teams.h"

// The style of a fair or symmetric map: the shape of its land, the ground
// between the building land, and the amounts of what grows and lies in it.
// Classic maps have no style.
namespace varnholt::model {

enum class LandscapeStyle : uint8_t { CONTINENT, ISLANDS, HIGHLANDS, LAKES };
enum class ClimateStyle : uint8_t { TEMPERATE, DESERT, SWAMP, ALPINE };
enum class ResourceAmount : uint8_t { LOW, NORMAL, HIGH };

// The landscape's own share is used where a percentage is left at
// STYLE_DEFAULT_SHARE.
inline constexpr int32_t STYLE_DEFAULT_SHARE = -1;

struct MapStyle {
  LandscapeStyle landscape = LandscapeStyle::CONTINENT;
  ClimateStyle climate = ClimateStyle::TEMPERATE;
  // Share of all tiles that are water (sea and lakes), in percent.
  int32_t waterPercent = STYLE_DEFAULT_SHARE;
  // Share of the land that is mountain ground with its snow, in percent.
  int32_t mountainPercent = STYLE_DEFAULT_SHARE;
  ResourceAmount resources = ResourceAmount::NORMAL;
  // Teams of consecutive player numbers; none by default.
  Teams teams = {};
};

// The option values as the command line and the page spell them.
std::string_view name(LandscapeStyle landscape);
std::string_view name(ClimateStyle climate);
std::string_view name(ResourceAmount amount);

// The value spelled text. Throws ValueError naming the option and the values
// it takes, such as "--landscape takes continent, islands, highlands or
// lakes, not 'hills'".
LandscapeStyle parseLandscape(std::string_view text);
ClimateStyle parseClimate(std::string_view text);
ResourceAmount parseResourceAmount(std::string_view text);

// A whole percent 0 to 100 for option (such as "--water"). Throws ValueError
// "<option> takes a whole percent, not '<text>'" for anything else.
int32_t parsePercent(std::string_view option, std::string_view text);

}  // namespace varnholt::model
