#include "generate/landscapes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "generate/heightfield.h"
#include "generate/landscapeheights.h"
#include "model/error.h"

namespace varnholt::generate {

using model::LandscapeStyle;

namespace {

// The finer noise: cells of this many tiles.
constexpr int64_t kFineStep = 10;
constexpr int64_t kFineVariance = 60;
// Rounds of measuring the shares the stages will draw and correcting the cuts.
constexpr int kRounds = 4;
// How close the shares must come, in share of 1.
constexpr double kSettled = 0.005;
constexpr double kTolerance = 0.045;
// Islands: a strait between the start areas' land.
constexpr int64_t kIslandSpacing = 2 * (START_LEVEL_RADIUS + 3) + 5;
constexpr int64_t kBlendWidth = 12;
// The highest mountain heights: snow lies from 51 up.
constexpr int64_t kPeak = 55;
constexpr int64_t kAlpinePeak = 61;
constexpr int64_t kIslandBlendWidth = 4;
// The inland lakes of lakes maps cover a little more than the least they
// promise (10 % of the map).
constexpr double kLeastLakes = 0.115;

LandscapeScores scoresOf(LandscapeStyle landscape, const LandscapeFields& fields) {
  switch (landscape) {
    case LandscapeStyle::ISLANDS:
      return islandsScores(fields);
    case LandscapeStyle::HIGHLANDS:
      return highlandsScores(fields);
    case LandscapeStyle::LAKES:
      return lakesScores(fields);
    case LandscapeStyle::CONTINENT:
      break;
  }
  return continentScores(fields);
}

int32_t resolvedShare(const char* option, int32_t percent, const ShareRange& range,
                      LandscapeStyle landscape) {
  if (percent == model::STYLE_DEFAULT_SHARE) return range.standard;
  if (percent < range.low || percent > range.high) {
    throw valueError(std::string(option) + " takes " + std::to_string(range.low) + " to " +
                     std::to_string(range.high) + " on " + std::string(model::name(landscape)) +
                     ", not " + std::to_string(percent));
  }
  return percent;
}

// The share of a size x size map the frame's water keeps once its inner
// ring has turned to shore.
double seaShare(int64_t size) {
  const double inner =
      static_cast<double>(size - 2 * (STYLE_FRAME - 1)) / static_cast<double>(size);
  return 1.0 - inner * inner;
}

std::string percentText(double share) { return std::to_string(std::lround(100 * share)) + " %"; }

}  // namespace

ShareRange waterShares(LandscapeStyle landscape) {
  switch (landscape) {
    case LandscapeStyle::ISLANDS:
      return {30, 75, 50};
    case LandscapeStyle::HIGHLANDS:
      return {5, 50, 8};
    case LandscapeStyle::LAKES:
      return {15, 60, 25};
    case LandscapeStyle::CONTINENT:
      break;
  }
  return {15, 60, 20};
}

ShareRange mountainShares(LandscapeStyle landscape) {
  switch (landscape) {
    case LandscapeStyle::HIGHLANDS:
      return {30, 60, 38};
    case LandscapeStyle::ISLANDS:
    case LandscapeStyle::LAKES:
    case LandscapeStyle::CONTINENT:
      break;
  }
  return {5, 45, 15};
}

model::MapStyle resolvedStyle(const model::MapStyle& style) {
  model::MapStyle resolved = style;
  resolved.waterPercent =
      resolvedShare("--water", style.waterPercent, waterShares(style.landscape), style.landscape);
  resolved.mountainPercent = resolvedShare("--mountains", style.mountainPercent,
                                           mountainShares(style.landscape), style.landscape);
  return resolved;
}

int64_t landscapeStartSpacing(LandscapeStyle landscape) {
  return landscape == LandscapeStyle::ISLANDS ? kIslandSpacing : 0;
}

int64_t landscapeBlendWidth(LandscapeStyle landscape) {
  return landscape == LandscapeStyle::ISLANDS ? kIslandBlendWidth : kBlendWidth;
}

void shapeLandscape(model::Map& map, Random& random, const std::vector<FairStart>& starts,
                    const model::MapStyle& style, StartSymmetry symmetry) {
  const model::MapStyle resolved = resolvedStyle(style);
  const int64_t size = map.size;
  model::Map fine;
  fine.size = map.size;
  fine.heights = generate(random, size, kFineStep, kFineVariance).data;
  if (symmetry != StartSymmetry::NONE) symmetrizeHeights(fine, symmetry);
  model::Grid<uint8_t> fineGrid(size, size);
  fineGrid.data = std::move(fine.heights);
  const int64_t blend = landscapeBlendWidth(resolved.landscape);
  const LandscapeFields fields = landscapeFields(map, fineGrid, starts, START_LEVEL_RADIUS + 2);
  const LandscapeScores scores = scoresOf(resolved.landscape, fields);

  // The start areas' layout and the outline passes change the shares the
  // cuts give; each round measures what the stages will draw and moves the
  // cuts by the difference.
  // Alpine maps get more of their snow from the landscape's own peaks.
  const int64_t highest = resolved.climate == model::ClimateStyle::ALPINE ? kAlpinePeak : kPeak;
  const double water = resolved.waterPercent / 100.0;
  // Lakes keep their least share whatever sea the frame takes.
  const double aim = resolved.landscape == LandscapeStyle::LAKES
                         ? std::max(water, seaShare(size) + kLeastLakes)
                         : water;
  const double mountain = resolved.mountainPercent / 100.0;
  double waterCut = aim;
  double mountainCut = mountain;
  std::vector<uint8_t> heights;
  LandscapeShares shares;
  for (int round = 0; round < kRounds; ++round) {
    heights = landscapeHeights(scores, size, starts, waterCut, mountainCut, highest);
    model::Map trial;
    trial.size = map.size;
    trial.heights = heights;
    shapeStartTerrain(trial, starts, blend);
    shares = expectedShares(trial.heights, size);
    if (std::abs(shares.water - aim) < kSettled &&
        std::abs(shares.mountain - mountain) < kSettled) {
      break;
    }
    waterCut = std::clamp(waterCut + aim - shares.water, 0.0, 1.0);
    mountainCut = std::clamp(mountainCut + mountain - shares.mountain, 0.0, 1.0);
  }
  // A share asked for must come within the tolerance; a landscape's own
  // share is kept as far as the start areas leave room, but never below
  // what the landscape guarantees.
  const bool waterMissed = style.waterPercent != model::STYLE_DEFAULT_SHARE &&
                           std::abs(shares.water - water) > kTolerance;
  const bool mountainMissed = style.mountainPercent != model::STYLE_DEFAULT_SHARE &&
                              std::abs(shares.mountain - mountain) > kTolerance;
  const double leastMountain = mountainShares(resolved.landscape).low / 100.0;
  if (waterMissed || mountainMissed ||
      (resolved.landscape == LandscapeStyle::HIGHLANDS &&
       shares.mountain < leastMountain + kSettled)) {
    throw exception("Map too small for " + std::string(model::name(resolved.landscape)) + " with " +
                    std::to_string(resolved.waterPercent) + " % water and " +
                    std::to_string(resolved.mountainPercent) + " % mountains at size " +
                    std::to_string(size) + " with " + std::to_string(starts.size()) +
                    (starts.size() == 1 ? " start" : " starts") + " (it makes " +
                    percentText(shares.water) + " water and " + percentText(shares.mountain) +
                    " mountains)");
  }
  map.heights = std::move(heights);
}

}  // namespace varnholt::generate
