#include "inspect/lookreport.h"

#include <cstdio>
#include <string>

#include "inspect/fairness.h"
#include "inspect/look.h"

namespace varnholt::inspect {

namespace {

using Json = nlohmann::ordered_json;

std::string fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// max / min as in the fairness table: "-" when both are 0, "inf" when only
// the minimum is.
std::string spread(int64_t min, int64_t max) {
  if (max == 0) return "-";
  if (min == 0) return "inf";
  return fixed(static_cast<double>(max) / min);
}

}  // namespace

void writeLook(std::ostream& out, const Look& look, size_t spots, const char* basis) {
  out << "look (within " << FAIRNESS_RADIUS << " tiles of the " << spots << " " << basis
      << " against the rest of the map):\n";
  auto pair = [&](const BestPair& best) {
    out << fixed(best.overlap);
    if (spots > 1) out << ", starts " << best.first << " and " << best.second;
  };
  out << "  copy overlap: ";
  pair(look.copyOverlap.turns);
  out << " (mountain, water, tree and stone tiles shared at the best turn or mirror)\n";
  out << "  copy overlap turned by 45 degrees: ";
  pair(look.copyOverlap.diagonalTurns);
  out << "\n";
  const Roughness& rough = look.roughness;
  out << "  roughness: near " << fixed(rough.near) << ", elsewhere " << fixed(rough.elsewhere)
      << ", near/elsewhere " << (rough.ratio ? fixed(*rough.ratio) : "-")
      << " (mean height step between neighbouring land tiles)\n";
  const TreeGrid& grid = look.treeGrid;
  out << "  tree grid: " << fixed(grid.share) << " (" << grid.atCommonOffset << " of "
      << grid.trees << " trees have their nearest tree at " << grid.dx << ", " << grid.dy << ")\n";
  const LargeSpots& large = look.largeSpots;
  out << "  farm spots:";
  for (int64_t value : large.perStart) out << ' ' << value;
  out << ", max/min " << spread(large.min, large.max) << "\n";
}

Json lookJson(const Look& look) {
  const CopyOverlap& copy = look.copyOverlap;
  const BestPair& diagonal = copy.diagonalTurns;
  const Roughness& rough = look.roughness;
  const TreeGrid& grid = look.treeGrid;
  const LargeSpots& large = look.largeSpots;
  Json roughRatio = nullptr;
  if (rough.ratio) roughRatio = *rough.ratio;
  Json largeRatio = nullptr;
  if (large.min > 0) largeRatio = static_cast<double>(large.max) / large.min;
  return {{"radius", FAIRNESS_RADIUS},
          {"copyOverlap",
           {{"best", copy.turns.overlap},
            {"pair", {copy.turns.first, copy.turns.second}},
            {"diagonalBest", diagonal.overlap},
            {"diagonalPair", {diagonal.first, diagonal.second}}}},
          {"roughness",
           {{"near", rough.near},
            {"elsewhere", rough.elsewhere},
            {"ratio", roughRatio},
            {"nearPairs", rough.nearPairs},
            {"elsewherePairs", rough.elsewherePairs}}},
          {"treeGrid",
           {{"trees", grid.trees},
            {"offset", {grid.dx, grid.dy}},
            {"atCommonOffset", grid.atCommonOffset},
            {"share", grid.share}}},
          {"largeSpots",
           {{"footprint", FARM_SPOT_KEY},
            {"perStart", large.perStart},
            {"min", large.min},
            {"max", large.max},
            {"ratio", largeRatio}}}};
}

}  // namespace varnholt::inspect
