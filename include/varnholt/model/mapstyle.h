#pragma once

#include <cstdint>

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
};

}  // namespace varnholt::model
