// highlands: mountain ranges between the starts, crossed by passes.
//
// Guarantees: the relief is highest along the boundaries between the domains
// of neighbouring starts, so the mountain share (at least 30 % of the land)
// lies in ranges between them; the path between each pair of neighbouring
// starts stays plain land, a pass through every range it crosses, so every
// start reaches every other on foot. The land is one mass, as on continent.
#include <algorithm>

#include "generate/landscapefields.h"
#include "generate/landscapes.h"

namespace varnholt::generate {

namespace {

// The coast is pulled in over this share of the size from the frame.
constexpr float kShelf = 0.12f;
// Paths this wide between neighbouring starts are always land.
constexpr float kLandPath = 4;
// A range falls off over this share of the starts' spacing from the boundary.
constexpr float kRangeWidth = 0.45f;

}  // namespace

LandscapeScores highlandsScores(const LandscapeFields& fields) {
  LandscapeScores scores;
  const size_t tiles = fields.nearest.size();
  scores.land.resize(tiles);
  scores.relief.resize(tiles);
  const float shelf = kShelf * static_cast<float>(fields.size);
  const float width = kRangeWidth * static_cast<float>(fields.spacing);
  for (size_t i = 0; i < tiles; ++i) {
    const float plain = plainRelief(fields, i);
    // The range's flanks wander with the noise.
    const float flank = width * (0.5f + fields.coarse[i]);
    const float ridge =
        1.0f - std::clamp((fields.second[i] - fields.nearest[i]) / flank, 0.0f, 1.0f);
    scores.relief[i] =
        plain <= NEVER_MOUNTAIN ? plain : ridge + 0.5f * fields.fine[i] + 0.2f * plain;
    scores.land[i] = coastLand(fields, i, kLandPath, shelf, 1.6f);
  }
  return scores;
}

}  // namespace varnholt::generate
