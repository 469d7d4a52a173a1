// lakes: land to a narrow shore along the edges, lakes inside it.
//
// Guarantees: a band of land runs inside the frame all round, so the water
// within it never touches the edge: every lake is inland, and each start
// area holds a lake of its own. The lakes fill the noise's highs away from
// the start areas; the paths between neighbouring starts stay land and
// plain, so every start reaches every other on foot.
#include <algorithm>

#include "generate/landscapefields.h"
#include "generate/landscapes.h"

namespace varnholt::generate {

namespace {

// The land band inside the frame.
constexpr float kShore = 8;
// Lakes keep this far from the start areas' levelling and its blend.
constexpr float kStartShore = 4;
// Paths this wide between neighbouring starts are always land.
constexpr float kLandPath = 4;

}  // namespace

LandscapeScores lakesScores(const LandscapeFields& fields) {
  LandscapeScores scores;
  // Land inside the lakes may stay: islands in a lake.
  scores.oneLandMass = false;
  const size_t tiles = fields.nearest.size();
  scores.land.resize(tiles);
  scores.relief.resize(tiles);
  for (size_t i = 0; i < tiles; ++i) {
    scores.relief[i] = plainRelief(fields, i);
    if (fields.edge[i] < STYLE_FRAME) {
      scores.land[i] = FORCED_WATER;
    } else if (fields.edge[i] < STYLE_FRAME + kShore ||
               fields.nearest[i] < static_cast<float>(fields.startReach) + kStartShore ||
               fields.path[i] < kLandPath) {
      scores.land[i] = FORCED_LAND;
    } else {
      const float far = std::min(1.0f, (fields.nearest[i] - static_cast<float>(fields.startReach)) /
                                           static_cast<float>(fields.spacing));
      scores.land[i] = -(0.8f * fields.coarse[i] + 0.2f * fields.fine[i]) - 0.3f * far;
    }
  }
  return scores;
}

}  // namespace varnholt::generate
