#include "varnholt/inspect.h"

#include <algorithm>
#include <cmath>

#include "inspect/fairness.h"
#include "varnholt/model/error.h"
#include "varnholt/model/teams.h"

namespace varnholt::inspect {

namespace {

using model::LandscapeType;
using Colour = std::array<uint8_t, 3>;

constexpr Colour kTree = {28, 74, 24};
constexpr Colour kStone = {72, 72, 78};
constexpr Colour kRiver = {42, 92, 168};
constexpr Colour kFrame = {0, 0, 0};
constexpr Colour kCentre = {255, 255, 255};
constexpr double kTint = 0.3;  // share of the party colour in claimed land
constexpr int64_t kMarkerRadius = 3;  // the start spot square is 7 x 7 tiles

// WATER1 (shallow) light to WATER8 (deep) dark.
Colour water(uint8_t depth) {
  const double t = depth / 7.0;
  return {static_cast<uint8_t>(110 - 90 * t), static_cast<uint8_t>(170 - 120 * t),
          static_cast<uint8_t>(230 - 110 * t)};
}

// Ground colours of the named codes; other codes take the colour of their
// family, which the high nibble of the code tells (1x grass, 2x mountain, ...).
Colour groundColour(LandscapeType type) {
  switch (type) {
    case LandscapeType::GRASS: return {88, 150, 60};
    case LandscapeType::MOUNTAINBORDEROUTER: return {118, 132, 82};
    case LandscapeType::DESERTBORDEROUTER: return {176, 172, 100};
    case LandscapeType::MOORBORDER: return {98, 116, 70};
    case LandscapeType::MUDBORDER: return {112, 110, 68};
    case LandscapeType::MOUNTAIN: return {132, 118, 104};
    case LandscapeType::MOUNTAINBORDER: return {142, 130, 112};
    case LandscapeType::SNOWBORDER: return {200, 202, 208};
    case LandscapeType::SAND: return {232, 216, 152};
    case LandscapeType::DESERT: return {216, 186, 116};
    case LandscapeType::DESERTBORDER: return {206, 182, 122};
    case LandscapeType::MOORINNER: return {72, 84, 54};
    case LandscapeType::MOOR: return {88, 100, 64};
    case LandscapeType::SNOWINNER: return {252, 252, 255};
    case LandscapeType::SNOW: return {236, 240, 246};
    case LandscapeType::MUDINNER: return {92, 72, 48};
    case LandscapeType::MUD: return {110, 86, 56};
    case LandscapeType::NOT_A_TYPE: return {0, 0, 0};
    default: break;
  }
  const auto code = static_cast<uint8_t>(type);
  switch (code >> 4) {
    case 0: return water(7);
    case 1: return groundColour(LandscapeType::GRASS);
    case 2: return groundColour(LandscapeType::MOUNTAIN);
    case 3: return groundColour(LandscapeType::SAND);
    case 4: return groundColour(LandscapeType::DESERT);
    case 5: return groundColour(LandscapeType::MOOR);
    case 6: return kRiver;
    case 8: return groundColour(LandscapeType::SNOW);
    case 9: return groundColour(LandscapeType::MUD);
    default: return {128, 128, 128};
  }
}

using model::isRiver;

Colour scaled(const Colour& c, double factor) {
  Colour out;
  for (size_t k = 0; k < 3; ++k) {
    out[k] = static_cast<uint8_t>(std::clamp(c[k] * factor, 0.0, 255.0));
  }
  return out;
}

Colour mixed(const Colour& c, const Colour& with, double share) {
  Colour out;
  for (size_t k = 0; k < 3; ++k) {
    out[k] = static_cast<uint8_t>(c[k] * (1 - share) + with[k] * share);
  }
  return out;
}

// Brightness of land from its height relative to the map's range, plus a
// little relief from the step up or down to the upper-left neighbour.
double shade(const model::Map& map, size_t i, int minHeight, int maxHeight) {
  const int h = map.heights[i];
  double factor = 0.8 + 0.4 * (h - minHeight) / std::max(1, maxHeight - minHeight);
  if (i % map.size > 0 && i >= map.size) {
    const int step = h - map.heights[i - map.size - 1];
    factor += std::clamp(step * 0.04, -0.15, 0.15);
  }
  return factor;
}

void setPixel(Image& image, size_t i, const Colour& c) {
  std::copy(c.begin(), c.end(), image.rgb.begin() + static_cast<std::ptrdiff_t>(3 * i));
}

void drawMarker(Image& image, const StartSpot& spot) {
  const int64_t size = image.width;
  for (int64_t dy = -kMarkerRadius; dy <= kMarkerRadius; ++dy) {
    for (int64_t dx = -kMarkerRadius; dx <= kMarkerRadius; ++dx) {
      const int64_t x = spot.x + dx;
      const int64_t y = spot.y + dy;
      if (x < 0 || y < 0 || x >= size || y >= size) continue;
      const int64_t ring = std::max(std::abs(dx), std::abs(dy));
      const Colour c = ring == kMarkerRadius ? kFrame
                       : ring == 0           ? kCentre
                                             : partyColour(spot.party);
      setPixel(image, static_cast<size_t>(x + size * y), c);
    }
  }
}

}  // namespace

std::array<uint8_t, 3> partyColour(uint8_t party) {
  static constexpr std::array<Colour, 8> kFirst = {{{230, 40, 40},
                                                    {40, 90, 230},
                                                    {245, 210, 30},
                                                    {200, 50, 200},
                                                    {40, 205, 215},
                                                    {250, 130, 20},
                                                    {255, 140, 190},
                                                    {120, 60, 200}}};
  if (party < kFirst.size()) return kFirst[party];
  // Further parties walk the hue circle by the golden angle, so neighbours differ.
  const double hue = std::fmod(party * 137.508, 360.0) / 60.0;
  const double x = 1 - std::abs(std::fmod(hue, 2.0) - 1);
  const std::array<std::array<double, 3>, 6> sectors = {
      {{1, x, 0}, {x, 1, 0}, {0, 1, x}, {0, x, 1}, {x, 0, 1}, {1, 0, x}}};
  const auto& rgb = sectors[static_cast<size_t>(hue) % 6];
  return {static_cast<uint8_t>(40 + 200 * rgb[0]), static_cast<uint8_t>(40 + 200 * rgb[1]),
          static_cast<uint8_t>(40 + 200 * rgb[2])};
}

Image renderPreview(const model::Map& map) {
  Image image;
  image.width = image.height = map.size;
  const size_t tiles = map.heights.size();
  image.rgb.resize(3 * tiles);
  int minHeight = 255;
  int maxHeight = 0;
  for (size_t i = 0; i < tiles; ++i) {
    if (isWater(map.landscape[i])) continue;
    minHeight = std::min<int>(minHeight, map.heights[i]);
    maxHeight = std::max<int>(maxHeight, map.heights[i]);
  }
  // On team maps a party's land takes its team's colour, so allies look alike.
  std::array<Colour, 256> tints;
  for (size_t party = 0; party < tints.size(); ++party) {
    const int32_t team =
        party < map.players.size() ? model::teamInName(map.players[party].name) : 0;
    tints[party] = partyColour(static_cast<uint8_t>(team > 0 && team <= 255 ? team - 1 : party));
  }
  for (size_t i = 0; i < tiles; ++i) {
    const LandscapeType ground = map.landscape[i];
    const model::ObjectType object = map.objects[i];
    Colour c;
    if (isTree(object)) {
      c = kTree;
    } else if (isStone(object)) {
      c = kStone;
    } else if (isWater(ground)) {
      c = water(static_cast<uint8_t>(ground));
    } else if (isRiver(ground)) {
      c = kRiver;
    } else {
      c = scaled(groundColour(ground), shade(map, i, minHeight, maxHeight));
    }
    if (map.party[i] != 255) c = mixed(c, tints[map.party[i]], kTint);
    setPixel(image, i, c);
  }
  for (const StartSpot& spot : startSpots(map)) drawMarker(image, spot);
  return image;
}

void checkPreviewSize(int64_t size, int64_t scale) {
  if (scale < 1 || scale > MAX_PREVIEW_SCALE) {
    throw exception("the preview scale must be 1 to " + std::to_string(MAX_PREVIEW_SCALE) +
                    ", not " + std::to_string(scale));
  }
  if (size * scale > MAX_PREVIEW_EDGE) {
    throw exception("a preview of " + std::to_string(size * scale) + " x " +
                    std::to_string(size * scale) + " pixels is too large (at most " +
                    std::to_string(MAX_PREVIEW_EDGE) + " per edge)");
  }
  if (size == 0) throw exception("an empty map has no preview");
}

}  // namespace varnholt::inspect
