#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "blank_map.h"
#include "varnholt/model/map.h"

// Small hand-drawn maps for the terrain stage tests: one character per tile,
// rows top to bottom.
namespace varnholt::fixture {

using model::AccessibleType;
using model::LandscapeType;

// Ground kinds by glyph. '~' stands for any river kind when a map is drawn.
inline constexpr std::array<std::pair<char, LandscapeType>, 17> kGlyphs = {{
    {'g', LandscapeType::GRASS},
    {'w', LandscapeType::WATER1},
    {'W', LandscapeType::WATER8},
    {'_', LandscapeType::SAND},
    {'M', LandscapeType::MOUNTAIN},
    {'m', LandscapeType::MOUNTAINBORDER},
    {'o', LandscapeType::MOUNTAINBORDEROUTER},
    {'D', LandscapeType::DESERT},
    {'d', LandscapeType::DESERTBORDER},
    {'e', LandscapeType::DESERTBORDEROUTER},
    {'S', LandscapeType::SNOWINNER},
    {'s', LandscapeType::SNOWBORDER},
    {'n', LandscapeType::SNOW},
    {'R', LandscapeType::MOORINNER},
    {'r', LandscapeType::MOORBORDER},
    {'q', LandscapeType::MOOR},
    {'~', LandscapeType::RIVER1},
}};

inline LandscapeType groundOf(char glyph) {
  for (const auto& [g, kind] : kGlyphs) {
    if (g == glyph) return kind;
  }
  throw std::invalid_argument(std::string("unknown glyph ") + glyph);
}

inline char glyphOf(LandscapeType kind) {
  if (kind >= LandscapeType::RIVER1 && kind <= LandscapeType::RIVER4) return '~';
  for (const auto& [g, k] : kGlyphs) {
    if (k == kind) return g;
  }
  return '?';
}

// A square map with every layer sized, heights 0, party 255, ground from the
// rows and access as the landscape stage gives each kind ('#' blocked kinds:
// water, inner snow and moor, solid snow and moor).
inline model::Map mapFromArt(const std::vector<std::string>& rows) {
  // Every layer at its exact capacity, so the sanitizer build reports any
  // read past one.
  model::Map map = testing::blankMap(static_cast<uint32_t>(rows.size()));
  size_t i = 0;
  for (const std::string& row : rows) {
    if (row.size() != rows.size()) throw std::invalid_argument("map art must be square");
    for (char glyph : row) {
      const LandscapeType kind = groundOf(glyph);
      const bool blocked = model::isWater(kind) || kind == LandscapeType::SNOWINNER ||
                           kind == LandscapeType::SNOW || kind == LandscapeType::MOORINNER ||
                           kind == LandscapeType::MOOR;
      map.landscape[i] = kind;
      map.accessible[i] = blocked ? AccessibleType::BLOCKED : AccessibleType::EMPTY;
      ++i;
    }
  }
  return map;
}

// A size x size map of one ground kind.
inline model::Map uniformMap(uint32_t size, char glyph) {
  return mapFromArt(std::vector<std::string>(size, std::string(size, glyph)));
}

// The ground of every tile as glyphs, rows top to bottom.
inline std::vector<std::string> landscapeArt(const model::Map& map) {
  std::vector<std::string> rows(map.size);
  for (size_t i = 0; i < map.landscape.size(); ++i) rows[i / map.size] += glyphOf(map.landscape[i]);
  return rows;
}

// Access of every tile: '.' for EMPTY, '#' for BLOCKED, '?' for anything else.
inline std::vector<std::string> accessArt(const model::Map& map) {
  std::vector<std::string> rows(map.size);
  for (size_t i = 0; i < map.accessible.size(); ++i) {
    const AccessibleType access = map.accessible[i];
    rows[i / map.size] += access == AccessibleType::EMPTY     ? '.'
                          : access == AccessibleType::BLOCKED ? '#'
                                                              : '?';
  }
  return rows;
}

}  // namespace varnholt::fixture
