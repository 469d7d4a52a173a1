// islands: every start on an island of its own (every team on one of its
// own, mates together), open water between them.
//
// Guarantees: a strait of water runs along the whole boundary between the
// domains of neighbouring starts of different teams (tiles nearly as far
// from a rival's start as from their own), so no two rivals share land; each start area is land out
// to its levelling and the island's coast lies just beyond it, so every
// island has shore for a harbour. Islets of no start may rise from the noise
// in the open sea between them.
#include <algorithm>

#include "generate/landscapefields.h"
#include "generate/landscapes.h"

namespace varnholt::generate {

namespace {

// Tiles this much closer to their own start than to the next one are water.
constexpr float kStrait = 14;
// The start area's land reaches this far beyond its levelling.
constexpr float kShore = 2;
// The coast is pulled in over this many tiles from the frame.
constexpr float kShelf = 24;

}  // namespace

LandscapeScores islandsScores(const LandscapeFields& fields) {
  LandscapeScores scores;
  scores.oneLandMass = false;
  const size_t tiles = fields.nearest.size();
  scores.land.resize(tiles);
  scores.relief.resize(tiles);
  const float spacing = static_cast<float>(fields.spacing);
  for (size_t i = 0; i < tiles; ++i) {
    scores.relief[i] = plainRelief(fields, i);
    if (fields.edge[i] < STYLE_FRAME) {
      scores.land[i] = FORCED_WATER;
    } else if (fields.nearest[i] < static_cast<float>(START_LEVEL_RADIUS) + kShore) {
      scores.land[i] = FORCED_LAND;
    } else if (fields.rival[i] - fields.nearest[i] < kStrait) {
      scores.land[i] = FORCED_WATER;
    } else {
      const float offshore = std::max(0.0f, 1.0f - (fields.edge[i] - STYLE_FRAME) / kShelf);
      scores.land[i] =
          -fields.nearest[i] / spacing + 0.4f * fields.coarse[i] + 0.2f * fields.fine[i] - offshore;
    }
  }
  return scores;
}

}  // namespace varnholt::generate
