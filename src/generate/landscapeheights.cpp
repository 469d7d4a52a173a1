#include "generate/landscapeheights.h"

#include <algorithm>
#include <cmath>

#include "generate/landscapes.h"
#include "geometry/steps.h"
#include "model/groundrules.h"

namespace varnholt::generate {

namespace {

constexpr int64_t kBins = 4096;
constexpr uint8_t kWaterHeight = 0;
constexpr int64_t kPlainLow = 25;
constexpr int64_t kPlainRise = 10;
constexpr int64_t kMountainLow = 41;
constexpr int64_t kShoreHeight = 10;
constexpr int64_t kShoreRise = 7;
// Mountains keep this many steps from the water.
constexpr uint8_t kMountainShore = 5;

// A histogram of the scores of chosen tiles, for cuts by count and ranks.
class Histogram {
 public:
  template <typename Chosen>
  Histogram(const std::vector<float>& values, Chosen chosen) : counts_(kBins, 0) {
    bool any = false;
    for (size_t i = 0; i < values.size(); ++i) {
      if (!chosen(i)) continue;
      low_ = any ? std::min(low_, values[i]) : values[i];
      high_ = any ? std::max(high_, values[i]) : values[i];
      any = true;
    }
    width_ = high_ > low_ ? (high_ - low_) / static_cast<float>(kBins) : 1.0f;
    for (size_t i = 0; i < values.size(); ++i) {
      if (chosen(i)) ++counts_[static_cast<size_t>(bin(values[i]))];
    }
    for (int64_t b = 0; b < kBins; ++b) {
      total_ += counts_[static_cast<size_t>(b)];
      cumulative_.push_back(total_);
    }
  }

  int64_t bin(float v) const {
    return std::clamp<int64_t>(static_cast<int64_t>((v - low_) / width_), 0, kBins - 1);
  }

  // The last bin of the lowest ones holding as near count values as bins
  // allow; -1 for none.
  int64_t cut(double count) const {
    int64_t best = -1;
    double error = count;
    for (int64_t b = 0; b < kBins; ++b) {
      const double e = std::abs(static_cast<double>(cumulative_[static_cast<size_t>(b)]) - count);
      if (e < error) {
        error = e;
        best = b;
      }
    }
    return best;
  }

  // Share of the chosen values in bins up to v's among those up to lastBin.
  double rankUpTo(float v, int64_t lastBin) const {
    const int64_t below = lastBin < 0 ? 0 : cumulative_[static_cast<size_t>(lastBin)];
    return below == 0
               ? 0.0
               : std::min(1.0, static_cast<double>(cumulative_[static_cast<size_t>(bin(v))]) /
                                   static_cast<double>(below));
  }

  // Share of the chosen values from lastBin + 1 up to v's bin among those
  // above lastBin.
  double rankAbove(float v, int64_t lastBin) const {
    const int64_t below = lastBin < 0 ? 0 : cumulative_[static_cast<size_t>(lastBin)];
    const int64_t above = total_ - below;
    return above == 0 ? 0.0
                      : static_cast<double>(cumulative_[static_cast<size_t>(bin(v))] - below) /
                            static_cast<double>(above);
  }

  int64_t total() const { return total_; }

 private:
  std::vector<int64_t> counts_;
  std::vector<int64_t> cumulative_;
  int64_t total_ = 0;
  float low_ = 0;
  float high_ = 0;
  float width_ = 1;
};

// Marks land (0) tiles not joined to any start as water (1).
void dropUnjoinedLand(std::vector<uint8_t>& water, int64_t size,
                      const std::vector<FairStart>& starts) {
  std::vector<uint8_t> joined(water.size(), 0);
  std::vector<size_t> queue;
  for (const FairStart& s : starts) {
    const auto at = static_cast<size_t>(s.x + size * s.y);
    if (water[at] == 0 && joined[at] == 0) {
      joined[at] = 1;
      queue.push_back(at);
    }
  }
  for (size_t next = 0; next < queue.size(); ++next) {
    const auto x = static_cast<int64_t>(queue[next]) % size;
    const auto y = static_cast<int64_t>(queue[next]) / size;
    for (int64_t ny = std::max<int64_t>(0, y - 1); ny <= std::min(size - 1, y + 1); ++ny) {
      for (int64_t nx = std::max<int64_t>(0, x - 1); nx <= std::min(size - 1, x + 1); ++nx) {
        const auto at = static_cast<size_t>(nx + size * ny);
        if (water[at] == 0 && joined[at] == 0) {
          joined[at] = 1;
          queue.push_back(at);
        }
      }
    }
  }
  for (size_t i = 0; i < water.size(); ++i) {
    if (joined[i] == 0) water[i] = 1;
  }
}

}  // namespace

std::vector<uint8_t> landscapeHeights(const LandscapeScores& scores, int64_t size,
                                      const std::vector<FairStart>& starts, double waterFraction,
                                      double mountainFraction, int64_t highest) {
  const size_t tiles = scores.land.size();
  std::vector<uint8_t> water(tiles, 0);
  int64_t forcedWater = 0;
  for (float v : scores.land) forcedWater += v <= FORCED_WATER ? 1 : 0;
  const Histogram coast(scores.land, [&](size_t i) {
    return scores.land[i] > FORCED_WATER && scores.land[i] < FORCED_LAND;
  });
  const int64_t lastWater =
      coast.cut(waterFraction * static_cast<double>(tiles) - static_cast<double>(forcedWater));
  for (size_t i = 0; i < tiles; ++i) {
    const float v = scores.land[i];
    water[i] = v <= FORCED_WATER || (v < FORCED_LAND && coast.bin(v) <= lastWater) ? 1 : 0;
  }
  if (scores.oneLandMass) dropUnjoinedLand(water, size, starts);

  int64_t land = 0;
  for (uint8_t w : water) land += w == 0 ? 1 : 0;
  const std::vector<uint8_t> steps = geometry::stepsTo(static_cast<uint32_t>(size), water, 8);
  const auto mayRise = [&](size_t i) {
    return water[i] == 0 && scores.relief[i] > NEVER_MOUNTAIN && steps[i] >= kMountainShore;
  };
  const Histogram relief(scores.relief, mayRise);
  const int64_t lastPlain = relief.cut(static_cast<double>(relief.total()) -
                                       mountainFraction * static_cast<double>(land));
  std::vector<uint8_t> heights(tiles, kWaterHeight);
  for (size_t i = 0; i < tiles; ++i) {
    if (water[i] != 0) continue;
    double h = kPlainLow + kPlainRise / 2;
    if (mayRise(i)) {
      const float v = scores.relief[i];
      // Squared ranks keep snow to the highest peaks.
      const double peak = relief.rankAbove(v, lastPlain);
      h = relief.bin(v) > lastPlain
              ? kMountainLow + static_cast<double>(highest - kMountainLow) * peak * peak
              : kPlainLow + kPlainRise * relief.rankUpTo(v, lastPlain);
    }
    // The shore tile stays low enough that the water below and right of it
    // keeps its height when slopes are limited towards the upper left.
    h = std::min(h, static_cast<double>(kShoreHeight + kShoreRise * (steps[i] - 1)));
    heights[i] = static_cast<uint8_t>(std::lround(h));
  }
  return heights;
}

}  // namespace varnholt::generate
