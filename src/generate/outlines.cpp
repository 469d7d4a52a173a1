#include <array>
#include <vector>

#include "generate/stages.h"

namespace varnholt::generate {

using model::AccessibleType;
using model::LandscapeType;

namespace {

// A ground test answered for every byte value at once.
using GroundSet = std::array<bool, 256>;

template <typename Test>
GroundSet groundSet(Test test) {
  GroundSet set{};
  for (size_t code = 0; code < set.size(); ++code) {
    set[code] = test(static_cast<LandscapeType>(code));
  }
  return set;
}

GroundSet only(LandscapeType kind) {
  return groundSet([kind](LandscapeType t) { return t == kind; });
}

// Runs outline passes with two scratch layers kept across passes. Both have a
// frame of one zero cell on every side, so neighbours need no edge checks and
// tiles off the map never count.
class Outliner {
 public:
  explicit Outliner(model::Map& map)
      : map_(map),
        size_(map.size),
        stride_(size_ + 2),
        marks_(stride_ * stride_, 0),
        rowMarks_(stride_ * stride_, 0) {}

  // One pass: a tile whose ground is in tiles and that has a neighbour whose
  // ground is in neighbours becomes kind with access. The neighbours are read
  // as they were before the pass; since no pass writes a kind that either of
  // its own sets holds, that equals visiting the tiles in index order on the
  // live layer.
  void pass(const GroundSet& tiles, const GroundSet& neighbours, LandscapeType kind,
            AccessibleType access) {
    const LandscapeType* landscape = map_.landscape.data();
    for (size_t y = 0; y < size_; ++y) {
      uint8_t* marks = &marks_[(y + 1) * stride_ + 1];
      const LandscapeType* row = landscape + y * size_;
      for (size_t x = 0; x < size_; ++x) marks[x] = neighbours[static_cast<uint8_t>(row[x])];
    }
    // rowMarks_ at a cell: a mark on it or beside it in its row.
    for (size_t at = 1; at + 1 < marks_.size(); ++at) {
      rowMarks_[at] = marks_[at - 1] | marks_[at] | marks_[at + 1];
    }
    for (size_t y = 0, i = 0; y < size_; ++y) {
      for (size_t x = 0, at = (y + 1) * stride_ + 1; x < size_; ++x, ++i, ++at) {
        if (!tiles[static_cast<uint8_t>(landscape[i])]) continue;
        // The eight neighbours, the tile itself left out.
        if (rowMarks_[at - stride_] | rowMarks_[at + stride_] | marks_[at - 1] | marks_[at + 1]) {
          map_.landscape[i] = kind;
          map_.accessible[i] = access;
        }
      }
    }
  }

 private:
  model::Map& map_;
  size_t size_;
  size_t stride_;
  std::vector<uint8_t> marks_;     // 1 where the ground is in the neighbour set
  std::vector<uint8_t> rowMarks_;  // marks_ widened by one cell to the left and right
};

}  // namespace

void initLandscapeOutlines(model::Map& map) {
  using model::isDesert;
  using model::isMoor;
  using model::isMountain;
  using model::isSnow;
  using model::isWater;
  constexpr AccessibleType kEmpty = AccessibleType::EMPTY;
  constexpr AccessibleType kBlocked = AccessibleType::BLOCKED;
  Outliner outliner(map);

  // Mountains and deserts: a border ring inside, then an outer ring around it.
  outliner.pass(only(LandscapeType::MOUNTAIN),
                groundSet([](LandscapeType t) { return !isMountain(t) && !isSnow(t); }),
                LandscapeType::MOUNTAINBORDER, kEmpty);
  outliner.pass(groundSet([](LandscapeType t) { return !isMountain(t); }),
                only(LandscapeType::MOUNTAINBORDER), LandscapeType::MOUNTAINBORDEROUTER, kEmpty);
  outliner.pass(only(LandscapeType::DESERT),
                groundSet([](LandscapeType t) { return !isDesert(t) && !isSnow(t); }),
                LandscapeType::DESERTBORDER, kEmpty);
  outliner.pass(groundSet([](LandscapeType t) { return !isDesert(t); }),
                only(LandscapeType::DESERTBORDER), LandscapeType::DESERTBORDEROUTER, kEmpty);

  // Snow and moor: a walkable border ring, then a blocked ring of the solid kind.
  outliner.pass(only(LandscapeType::SNOWINNER),
                groundSet([](LandscapeType t) { return !isSnow(t); }), LandscapeType::SNOWBORDER,
                kEmpty);
  outliner.pass(only(LandscapeType::SNOWINNER), only(LandscapeType::SNOWBORDER),
                LandscapeType::SNOW, kBlocked);
  outliner.pass(only(LandscapeType::MOORINNER),
                groundSet([](LandscapeType t) { return !isMoor(t); }), LandscapeType::MOORBORDER,
                kEmpty);
  outliner.pass(only(LandscapeType::MOORINNER), only(LandscapeType::MOORBORDER),
                LandscapeType::MOOR, kBlocked);

  // Water that touches land other than sand becomes a blocked sand shore.
  outliner.pass(groundSet([](LandscapeType t) { return isWater(t); }),
                groundSet([](LandscapeType t) { return !isWater(t) && t != LandscapeType::SAND; }),
                LandscapeType::SAND, kBlocked);
}

void initMudOutlines(model::Map& map) {
  const auto isMud = [](LandscapeType t) {
    return t == LandscapeType::MUDINNER || t == LandscapeType::MUD || t == LandscapeType::MUDBORDER;
  };
  Outliner outliner(map);
  // As for moor: a walkable border ring, then a blocked ring of the solid
  // kind. Any mud beside other ground becomes border, so a copied map's
  // seams get their ring too.
  outliner.pass(groundSet([](LandscapeType t) {
                  return t == LandscapeType::MUDINNER || t == LandscapeType::MUD;
                }),
                groundSet([isMud](LandscapeType t) { return !isMud(t); }),
                LandscapeType::MUDBORDER, AccessibleType::EMPTY);
  outliner.pass(only(LandscapeType::MUDINNER), only(LandscapeType::MUDBORDER), LandscapeType::MUD,
                AccessibleType::BLOCKED);
}

void closeCopiedRings(model::Map& map) {
  using model::isDesert;
  using model::isMoor;
  using model::isSnow;
  constexpr AccessibleType kEmpty = AccessibleType::EMPTY;
  Outliner outliner(map);
  // Desert beside anything but its own inner border (an outer ring copied
  // against it) takes the inner border, which then gets its outer ring.
  outliner.pass(only(LandscapeType::DESERT), groundSet([](LandscapeType t) {
                  return t != LandscapeType::DESERT && t != LandscapeType::DESERTBORDER;
                }),
                LandscapeType::DESERTBORDER, kEmpty);
  outliner.pass(groundSet([](LandscapeType t) { return !isDesert(t); }),
                only(LandscapeType::DESERTBORDER), LandscapeType::DESERTBORDEROUTER, kEmpty);
  // A blocked ring of snow or moor copied against other ground takes the
  // walkable border.
  outliner.pass(only(LandscapeType::SNOW), groundSet([](LandscapeType t) { return !isSnow(t); }),
                LandscapeType::SNOWBORDER, kEmpty);
  outliner.pass(only(LandscapeType::MOOR), groundSet([](LandscapeType t) { return !isMoor(t); }),
                LandscapeType::MOORBORDER, kEmpty);
}

}  // namespace varnholt::generate
