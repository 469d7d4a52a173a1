#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "varnholt/model/grid.h"
#include "varnholt/model/map.h"

// What the landscapes are drawn from: the map's own noise and its distance
// fields (to the starts, the edges and the paths between neighbouring
// starts), and the scores each landscape gives every tile from them.
namespace varnholt::generate {

struct LandscapeFields {
  int64_t size = 0;
  int64_t startReach = 0;      // the start areas' land: their levelling and a shore
  double spacing = 0;          // the nearest two starts' distance (the size for one start)
  std::vector<float> coarse;   // the map's own height field, 0 to 1
  std::vector<float> fine;     // a finer noise field, 0 to 1
  std::vector<float> nearest;  // distance to the nearest start
  std::vector<float> second;   // distance to the second nearest start (the size for one start)
  std::vector<float> rival;    // distance to the nearest start of another team than the nearest's
                               // (second without teams, the size when there is none)
  std::vector<float> edge;     // tiles to the nearest edge of the map
  std::vector<float> path;     // distance to the nearest path between neighbouring starts
};

// The fields of a map whose height field is still the raw noise; fine holds
// the finer noise. Neighbouring starts are those within 1.5 times the
// nearest two's distance, and enough more to join them all.
LandscapeFields landscapeFields(const model::Map& map, const model::Grid<uint8_t>& fine,
                                const std::vector<FairStart>& starts, int64_t startReach);

// Land scores at or beyond these are always land or always water.
inline constexpr float FORCED_LAND = 1e9f;
inline constexpr float FORCED_WATER = -1e9f;
// A relief score at or below this is never mountain (start areas, passes).
inline constexpr float NEVER_MOUNTAIN = -1e9f;

// The scores of a landscape: the tiles with the lowest land scores become
// water, up to the water share; of the land, the tiles with the highest
// relief become mountain, up to the mountain share.
struct LandscapeScores {
  std::vector<float> land;
  std::vector<float> relief;
  // Land no start can reach becomes water, so the starts' land is one mass.
  bool oneLandMass = true;
};

// Each landscape's scores, one file each (continent.cpp, islands.cpp,
// highlands.cpp, lakes.cpp).
LandscapeScores continentScores(const LandscapeFields& fields);
LandscapeScores islandsScores(const LandscapeFields& fields);
LandscapeScores highlandsScores(const LandscapeFields& fields);
LandscapeScores lakesScores(const LandscapeFields& fields);

// The relief most landscapes share: rising away from the starts with the
// noise, never mountain in the start areas or on the paths between them.
float plainRelief(const LandscapeFields& fields, size_t i);

// The land score of a coast that follows the noise: water in the frame,
// land in the start areas and on paths narrower than landPath between
// neighbouring starts, elsewhere the noise less offshore times the pull of
// the edge, which fades over shelf tiles from the frame.
float coastLand(const LandscapeFields& fields, size_t i, float landPath, float shelf,
                float offshore);

}  // namespace varnholt::generate
