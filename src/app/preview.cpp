#include "app/preview.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/fairness.h"
#include "error.h"

namespace varnholt::app {

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

bool isRiver(LandscapeType type) {
  return std::find(model::RIVER_TYPES.begin(), model::RIVER_TYPES.end(), type) !=
         model::RIVER_TYPES.end();
}

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

struct PngError {
  char message[256];
};

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<PngError*>(png_get_error_ptr(png));
  std::snprintf(error->message, sizeof error->message, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Writes the picture through libpng; false after a libpng error. Nothing here
// has a destructor, so the error's longjmp back to setjmp skips none.
bool writeRows(std::FILE* out, const Image& image, uint32_t scale, uint8_t* row,
               PngError* error) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, error, onPngError, onPngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, image.width * scale, image.height * scale, 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* source = &image.rgb[size_t{3} * image.width * y];
    for (uint32_t x = 0; x < image.width; ++x) {
      for (uint32_t s = 0; s < scale; ++s) std::memcpy(row + 3 * (x * scale + s), source + 3 * x, 3);
    }
    for (uint32_t s = 0; s < scale; ++s) png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
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
    if (map.party[i] != 255) c = mixed(c, partyColour(map.party[i]), kTint);
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

void writePng(const Image& image, uint32_t scale, const std::string& path) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  std::vector<uint8_t> row(size_t{3} * image.width * scale);
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) throw exception("cannot write " + path + ": " + std::strerror(errno));
  PngError error{"libpng could not start"};
  const bool written = writeRows(out, image, scale, row.data(), &error);
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return;
  const std::string reason = written ? std::strerror(errno) : error.message;
  // Remove what was left half written, but never a device such as /dev/full.
  std::error_code ignored;
  if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
  throw exception("cannot write " + path + ": " + reason);
}

void writePreview(const model::Map& map, uint32_t scale, const std::string& path) {
  checkPreviewSize(map.size, scale);
  writePng(renderPreview(map), scale, path);
}

}  // namespace varnholt::app
