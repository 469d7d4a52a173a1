#include "inspect/landscapereport.h"

#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace varnholt::inspect {

namespace {

using Json = nlohmann::ordered_json;

// A share as a percentage with one decimal, "12.5 %".
std::string percent(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %%", 100.0 * share);
  return text;
}

std::array<std::pair<const char*, int64_t>, 7> groundClasses(const Landscape& l) {
  return {{{"grass", l.grass},
           {"desert", l.desert},
           {"swamp", l.swamp},
           {"mountain", l.mountain},
           {"snow", l.snow},
           {"river", l.river},
           {"other", l.other}}};
}

std::array<std::pair<const char*, int64_t>, 6> amounts(const Landscape& l) {
  return {{{"coal", l.coal},
           {"iron", l.iron},
           {"gold", l.gold},
           {"gems", l.gems},
           {"sulfur", l.sulfur},
           {"fish", l.fish}}};
}

struct Unstarted {
  int64_t masses = 0;
  int64_t tiles = 0;
};

Unstarted withoutStarts(const Landscape& l) {
  Unstarted u;
  for (const LandMass& mass : l.landMasses) {
    if (!mass.starts.empty()) continue;
    ++u.masses;
    u.tiles += mass.tiles;
  }
  return u;
}

template <typename Numbers>
std::string spaced(const Numbers& numbers) {
  std::string text;
  for (const auto number : numbers) {
    text += ' ';
    text += std::to_string(number);
  }
  return text;
}

}  // namespace

void writeLandscape(std::ostream& out, const Landscape& l) {
  out << "landscape (8 neighbours connect; ground as shares of the land):\n";
  out << "  water: " << l.waterTiles << " of " << l.tiles << " tiles (" << percent(l.waterShare)
      << ")\n";
  out << "  land: " << l.landTiles << " tiles:";
  const char* separator = " ";
  for (const auto& [label, tiles] : groundClasses(l)) {
    out << separator << label << " " << percent(landShare(l, tiles));
    separator = ", ";
  }
  out << "\n  land masses: " << l.landMasses.size() << ", the largest "
      << percent(l.largestMassShare) << " of the land\n";
  for (size_t m = 0; m < l.landMasses.size(); ++m) {
    const LandMass& mass = l.landMasses[m];
    if (mass.starts.empty()) continue;
    out << "    mass " << m + 1 << ": " << mass.tiles << " tiles, starts" << spaced(mass.starts)
        << "\n";
  }
  const Unstarted rest = withoutStarts(l);
  if (rest.masses > 0) {
    out << "    without starts: " << rest.masses << " masses, " << rest.tiles << " tiles\n";
  }
  out << "  inland lakes: " << l.inlandLakes << ", " << l.inlandLakeTiles << " tiles ("
      << percent(l.inlandLakeShare) << " of the map)\n";
  out << "  amounts:";
  separator = " ";
  for (const auto& [label, amount] : amounts(l)) {
    out << separator << label << " " << amount;
    separator = ", ";
  }
  out << "\n  trees: " << l.trees << ", stones: " << l.stones << "\n";
  out << "  on foot: " << (l.startsReachableOnFoot ? "every start reaches every other"
                                                   : "some starts cannot reach each other")
      << ", groups of the starts:" << spaced(l.walkGroupOfStart) << "\n";
}

Json landscapeJson(const Landscape& l) {
  Json land = Json::object();
  for (const auto& [label, tiles] : groundClasses(l)) {
    land[label] = {{"tiles", tiles}, {"share", landShare(l, tiles)}};
  }
  Json started = Json::array();
  for (size_t m = 0; m < l.landMasses.size(); ++m) {
    const LandMass& mass = l.landMasses[m];
    if (mass.starts.empty()) continue;
    started.push_back({{"rank", m + 1},
                       {"tiles", mass.tiles},
                       {"share", landShare(l, mass.tiles)},
                       {"starts", mass.starts}});
  }
  const Unstarted rest = withoutStarts(l);
  Json totals = Json::object();
  for (const auto& [label, amount] : amounts(l)) totals[label] = amount;
  return {{"tiles", l.tiles},
          {"waterTiles", l.waterTiles},
          {"landTiles", l.landTiles},
          {"waterShare", l.waterShare},
          {"land", land},
          {"landMasses",
           {{"count", l.landMasses.size()},
            {"largestShare", l.largestMassShare},
            {"withStarts", started},
            {"withoutStarts", {{"count", rest.masses}, {"tiles", rest.tiles}}}}},
          {"inlandLakes",
           {{"count", l.inlandLakes}, {"tiles", l.inlandLakeTiles}, {"share", l.inlandLakeShare}}},
          {"amounts", totals},
          {"trees", l.trees},
          {"stones", l.stones},
          {"onFoot",
           {{"startsReachable", l.startsReachableOnFoot}, {"groupOfStart", l.walkGroupOfStart}}}};
}

}  // namespace varnholt::inspect
