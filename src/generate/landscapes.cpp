#include "generate/landscapes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "generate/climate.h"
#include "generate/heightfield.h"
#include "generate/landscapeheights.h"
#include "generate/stages.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

using model::LandscapeStyle;

namespace {

// The finer noise: cells of this many tiles.
constexpr int64_t kFineStep = 10;
constexpr int64_t kFineVariance = 60;
// Rounds of measuring the shares the stages will draw and correcting the cuts.
constexpr int kRounds = 8;
// How close the shares must come, in share of 1.
constexpr double kSettled = 0.005;
constexpr double kTolerance = 0.045;
// Islands: a strait between the start areas' land.
constexpr int64_t kIslandSpacing = 2 * (START_LEVEL_RADIUS + 3) + 5;
// How far the start areas' levelling blends into the landscape; islands
// blend fast, so their coast lies just beyond the start area.
constexpr int64_t kBlendWidth = 12;
constexpr int64_t kIslandBlendWidth = 4;
// The highest mountain heights: snow lies from 51 up.
constexpr int64_t kPeak = 55;
constexpr int64_t kAlpinePeak = 61;
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

// What the cuts aim at: shares of water and mountain, and the highest peak.
struct Aims {
  double water;
  double mountain;
  int64_t highest;
};

// Water share of all tiles, mountain share (snow included) of the land.
struct Shares {
  double water = 0;
  double mountain = 0;
};

struct Fit {
  std::vector<uint8_t> heights;
  Shares shares;
};

// The shares the stages will draw on trial: the start areas laid out, the
// ground stage run with ground, a copy of the random source it will draw
// from, the start areas' ground levelled and the outlines drawn.
Shares drawnShares(model::Map& trial, Random ground, const std::vector<FairStart>& starts,
                   int64_t blend) {
  shapeStartTerrain(trial, starts, blend);
  initHighmapLandscape(trial, ground, STYLE_FRAME);
  levelStartGround(trial, starts);
  initLandscapeOutlines(trial);
  int64_t water = 0;
  int64_t mountain = 0;
  for (const model::LandscapeType kind : trial.landscape) {
    water += model::isWater(kind) ? 1 : 0;
    mountain += model::isMountain(kind) || model::isSnow(kind) ? 1 : 0;
  }
  const auto tiles = static_cast<double>(trial.landscape.size());
  const double land = tiles - static_cast<double>(water);
  return {static_cast<double>(water) / tiles, land > 0 ? static_cast<double>(mountain) / land : 0};
}

// The start areas' layout and the outline passes change the shares the cuts
// give; each round measures what the stages will draw and moves the cuts by
// the difference, within the cuts already seen to give too little and too
// much water (land cut off from the starts turns to water, so the share can
// jump). Returns the closest round.
Fit fitShares(const model::Map& map, const Random& ground, const LandscapeScores& scores,
              const std::vector<FairStart>& starts, int64_t blend, const Aims& aims) {
  const uint32_t size = map.size;
  double waterCut = aims.water;
  double mountainCut = aims.mountain;
  double tooLittle = 0.0;
  double tooMuch = 1.0;
  Fit best;
  double bestError = 2.0;
  // Once a round draws the shares of an earlier round again, the fit goes
  // round in circles (on crowded maps the start areas hold most of the
  // land, and the cuts move little of what is drawn): it stops there.
  std::vector<Shares> drawn;
  for (int round = 0; round < kRounds; ++round) {
    model::Map trial = map;
    trial.heights = landscapeHeights(scores, size, starts, waterCut, mountainCut, aims.highest);
    std::vector<uint8_t> heights = trial.heights;
    const Shares shares = drawnShares(trial, ground, starts, blend);
    if (std::any_of(drawn.begin(), drawn.end(), [&](const Shares& earlier) {
          return earlier.water == shares.water && earlier.mountain == shares.mountain;
        })) {
      break;
    }
    drawn.push_back(shares);
    const double waterError = aims.water - shares.water;
    const double error = std::abs(waterError) + std::abs(aims.mountain - shares.mountain);
    if (error < bestError) {
      bestError = error;
      best = {std::move(heights), shares};
    }
    if (std::abs(waterError) < kSettled && std::abs(aims.mountain - shares.mountain) < kSettled) {
      break;
    }
    (waterError > 0 ? tooLittle : tooMuch) = waterCut;
    const double next = waterCut + waterError;
    waterCut = next > tooLittle && next < tooMuch ? next : (tooLittle + tooMuch) / 2;
    mountainCut = std::clamp(mountainCut + aims.mountain - shares.mountain, 0.0, 1.0);
  }
  return best;
}

std::string percentText(double share) { return std::to_string(std::lround(100 * share)) + " %"; }

}  // namespace

ShareRange waterShares(LandscapeStyle landscape) {
  switch (landscape) {
    case LandscapeStyle::ISLANDS:
      return {30, 75, 45};
    case LandscapeStyle::HIGHLANDS:
      return {5, 35, 8};
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

  const bool alpine = resolved.climate == model::ClimateStyle::ALPINE;
  const double water = resolved.waterPercent / 100.0;
  const double mountain = resolved.mountainPercent / 100.0;
  Aims aims{water, mountain, alpine ? kAlpinePeak : kPeak};
  // Lakes keep their least share whatever sea the frame takes; highlands
  // aim a little above their least mountain share, alpine maps at the
  // climate's, so its ranges have less to raise.
  if (resolved.landscape == LandscapeStyle::LAKES) {
    aims.water = std::max(water, seaShare(size) + kLeastLakes);
  }
  if (resolved.landscape == LandscapeStyle::HIGHLANDS) {
    aims.mountain = std::max(mountain, mountainShares(resolved.landscape).low / 100.0 + 0.01);
  }
  if (alpine && style.mountainPercent == model::STYLE_DEFAULT_SHARE) {
    aims.mountain = std::max(mountain, ALPINE_MOUNTAIN_PERCENT / 100.0);
  }
  const Fit fit = fitShares(map, random, scores, starts, blend, aims);
  const std::vector<uint8_t>& heights = fit.heights;
  const Shares& shares = fit.shares;
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
  map.heights = heights;
}

}  // namespace varnholt::generate
