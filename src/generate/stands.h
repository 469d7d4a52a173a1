#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/map.h"
#include "varnholt/model/objecttype.h"

// Stands of trees or stones around a start: a few centres of the start's
// own, grown outwards over a noise outline and thinned by a density noise,
// so woods are clumps of uneven outline and density and rock lies in
// irregular outcrops rather than grids.
namespace varnholt::generate {

// How the stands of one kind of object grow.
struct StandRule {
  int64_t leastStands;
  int64_t moreStands;  // up to this many more, drawn
  double reach;        // tiles per unit of a stand's drawn size
  double ragged;       // weight of the outline noise
  double thickest;     // the densest a stand grows, 0..1
  int64_t clearance;   // rows and columns around an object kept empty
  bool trees;          // trees grow on GRASS only, stones on desert too
};

struct Stand {
  int64_t x = 0, y = 0;
  double reach = 0;
  size_t kinds[2] = {0, 0};  // the two kinds most of it is of
};

// A tile offered to a stand: at thickness 1 it is taken when draw < chance.
struct Offer {
  int64_t tile;
  double chance;
  double draw;
  model::ObjectType kind;
};

// The stands of one kind at one start and the tiles they offer, best first.
struct StandPlan {
  std::vector<Stand> stands;
  std::vector<Offer> offers;
  int64_t clearance = 1;
};

// Draws rule's stands around start s, their centres on plantable ground
// 20 to 32 tiles from the tower where one is found, at least 15 tiles from
// the centres in avoid, and ranks the plantable tiles of the start area
// (16 to 35 tiles from the tower) by the distance to the nearest centre
// over its reach plus the outline noise. Three in four objects of a stand
// are of its own two kinds. Draws from random.
StandPlan planStands(const model::Map& map, Random& random, const FairStart& s,
                     const StandRule& rule, std::span<const model::ObjectType> kinds,
                     const std::vector<Stand>& avoid);

// Plants up to count objects of plan: first each offered tile that is
// free (empty with the plan's clearance of empty tiles around it) and
// whose draw is below its chance times thickness, then every free offered
// tile in order. Appends the tiles planted to planted.
void plantStands(model::Map& map, const StandPlan& plan, int64_t count, double thickness,
                 std::vector<int64_t>& planted);

}  // namespace varnholt::generate
