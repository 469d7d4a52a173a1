#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/map.h"

// A picture of a map: ground, objects, claimed areas and start spots.
namespace varnholt::inspect {

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
