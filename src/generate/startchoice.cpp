// chooseStartShapes: of a few shapes grown for each start, the one that
// leaves it room nearest the mean of all starts', mountain ground near the
// mean, and that looks least like a turned or mirrored copy of the shapes
// of the starts before it.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "generate/fairstages.h"
#include "generate/shapelikeness.h"
#include "generate/startshapes.h"
#include "generate/startspots.h"
#include "generate/valuenoise.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Shapes tried per start, and how many more when none of them is free of
// shortfalls.
constexpr uint64_t kShapeVariants = 4;
constexpr uint64_t kMoreVariants = 4;
// A shape falls short by its likeness to the shapes chosen before it beyond
// kMostLikeness (with their woods, rock and the landscape around, the start
// areas then stay well apart from copies of each other), and by
// kGroundWeight times its mountain ground's distance from the mean beyond
// kGroundTolerance: the mountain's border rings grow with its outline, and
// the starts' mountain ground, summed per team too, must stay even.
constexpr double kMostLikeness = 0.3;
constexpr double kGroundTolerance = 0.03;
constexpr double kGroundWeight = 10;
// The roll of the ground: hills about kRollCell tiles across.
constexpr double kRollCell = 12;

struct Candidate {
  StartShape shape;
  StartRoom room;
  double ground = 0;  // mountain ground: the mountain with both border rings
};

Candidate candidate(const Map& map, const FairStart& start, size_t index, uint64_t variant) {
  Candidate c{planStartShape(map, start, startShapeKey(map, start, index, variant)), {}, 0};
  c.room = countRoom(shapeTaken(c.shape));
  const std::vector<uint8_t>& moves = c.shape.toMountain;
  c.ground = static_cast<double>(
      std::count_if(moves.begin(), moves.end(), [](uint8_t m) { return m <= 1; }));
  return c;
}

// Fills the shape's distances and the noise of its ground, read once for
// every shaping of the heights.
void finish(StartShape& shape) {
  measureStartShape(shape);
  const ValueNoise roll(mixKey(shape.key, 9), kRollCell);
  const Window& w = shape.window;
  for (int64_t y = w.top; y < w.top + w.side; ++y) {
    for (int64_t x = w.left; x < w.left + w.side; ++x) {
      shape.wave.push_back(roll.layered(static_cast<double>(x), static_cast<double>(y)));
    }
  }
  for (int64_t y = w.top; y < w.top + w.side; ++y) {
    for (int64_t x = w.left; x < w.left + w.side; ++x) {
      shape.bump.push_back(roll.at(static_cast<double>(y), static_cast<double>(x)));
    }
  }
}

}  // namespace

void chooseStartShapes(const Map& map, std::vector<FairStart>& starts) {
  std::vector<std::vector<Candidate>> tries(starts.size());
  std::array<double, ROOM_FOOTPRINTS> meanRoom{};
  double meanGround = 0;
  for (size_t k = 0; k < starts.size(); ++k) {
    for (uint64_t v = 0; v < kShapeVariants; ++v) {
      const Candidate& c = tries[k].emplace_back(candidate(map, starts[k], k, v));
      for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
        meanRoom[f] += static_cast<double>(c.room.spots[f]);
      }
      meanGround += c.ground;
    }
  }
  const auto count = static_cast<double>(starts.size() * kShapeVariants);
  for (double& m : meanRoom) m = std::max(1.0, m / count);
  meanGround = std::max(1.0, meanGround / count);
  const auto roomOff = [&](const StartRoom& room) {
    double sum = 0;
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      const double ratio = static_cast<double>(room.spots[f]) / meanRoom[f];
      sum += (ratio - 1) * (ratio - 1);
    }
    return sum;
  };
  std::vector<ShapeLikeness> chosen;
  for (size_t k = 0; k < starts.size(); ++k) {
    std::vector<ShapeLikeness> looks;
    std::vector<double> shortfall;
    const auto judge = [&](const Candidate& c) {
      const ShapeLikeness& look = looks.emplace_back(c.shape);
      double likeness = 0;
      for (const ShapeLikeness& other : chosen) likeness = std::max(likeness, look.with(other));
      const double ground = std::abs(c.ground / meanGround - 1);
      shortfall.push_back(std::max(0.0, likeness - kMostLikeness) +
                          kGroundWeight * std::max(0.0, ground - kGroundTolerance));
    };
    for (const Candidate& c : tries[k]) judge(c);
    if (std::all_of(shortfall.begin(), shortfall.end(), [](double s) { return s > 0; })) {
      for (uint64_t v = kShapeVariants; v < kShapeVariants + kMoreVariants; ++v) {
        judge(tries[k].emplace_back(candidate(map, starts[k], k, v)));
      }
    }
    // The least shortfall, then the room nearest the mean.
    size_t best = 0;
    for (size_t v = 1; v < tries[k].size(); ++v) {
      if (shortfall[v] < shortfall[best] ||
          (shortfall[v] == shortfall[best] &&
           roomOff(tries[k][v].room) < roomOff(tries[k][best].room))) {
        best = v;
      }
    }
    chosen.push_back(std::move(looks[best]));
    StartShape& shape = tries[k][best].shape;
    finish(shape);
    starts[k].shape = std::make_shared<const StartShape>(std::move(shape));
  }
}

}  // namespace varnholt::generate
