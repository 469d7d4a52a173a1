// continent: one land mass around all the starts, the sea around it.
//
// Guarantees: the land the starts stand on is one mass, and every piece of
// land it does not join becomes water, so it holds all the land; the paths
// between neighbouring starts are land and never mountain, so every start
// reaches every other on foot. The coast follows the map's own noise, pulled
// in from the edges.
#include "generate/landscapefields.h"
#include "generate/landscapes.h"

namespace varnholt::generate {

namespace {

// The coast is pulled in over this share of the size from the frame.
constexpr float kShelf = 0.3f;
// Paths this wide between neighbouring starts are always land.
constexpr float kLandPath = 4;

}  // namespace

LandscapeScores continentScores(const LandscapeFields& fields) {
  LandscapeScores scores;
  const size_t tiles = fields.nearest.size();
  scores.land.resize(tiles);
  scores.relief.resize(tiles);
  const float shelf = kShelf * static_cast<float>(fields.size);
  for (size_t i = 0; i < tiles; ++i) {
    scores.relief[i] = plainRelief(fields, i);
    scores.land[i] = coastLand(fields, i, kLandPath, shelf, 0.9f);
  }
  return scores;
}

}  // namespace varnholt::generate
