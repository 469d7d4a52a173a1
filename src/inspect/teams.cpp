#include "inspect/teams.h"

#include <algorithm>
#include <map>

#include "geometry/tiles.h"

namespace varnholt::inspect {

Teams teams(const Fairness& f) {
  Teams result;
  std::map<int32_t, TeamTotals> byTeam;
  for (size_t i = 0; i < f.rows.size(); ++i) {
    const FairnessRow& r = f.rows[i];
    if (r.team == 0) continue;
    TeamTotals& totals = byTeam[r.team];
    totals.team = r.team;
    totals.rows.push_back(i);
    totals.parties.push_back(r.spot.party);
    for (size_t c = 0; c < COLUMN_COUNT; ++c) totals.sums[c] += r.values[c];
  }
  for (auto& [team, totals] : byTeam) result.teams.push_back(totals);
  if (result.teams.empty()) return result;
  for (size_t c = 0; c < COLUMN_COUNT; ++c) {
    Spread& spread = result.spread[c];
    spread.min = spread.max = result.teams.front().sums[c];
    for (const TeamTotals& totals : result.teams) {
      spread.min = std::min(spread.min, totals.sums[c]);
      spread.max = std::max(spread.max, totals.sums[c]);
    }
  }
  bool anyFront = false;
  for (const FairnessRow& r : f.rows) {
    int64_t nearest = -1;
    int64_t rival = 0;
    bool mate = true;
    bool hasMate = false;
    for (const FairnessRow& other : f.rows) {
      if (&other == &r || r.team == 0) continue;
      const int64_t d = distance(r.spot.x, r.spot.y, other.spot.x, other.spot.y);
      const bool same = other.team == r.team;
      hasMate = hasMate || same;
      if (!same && (rival == 0 || d < rival)) rival = d;
      // A mate as near as the nearest rival does not count as nearer.
      if (nearest < 0 || d < nearest || (d == nearest && !same)) {
        nearest = d;
        mate = same;
      }
    }
    result.front.push_back(rival);
    result.mateNearest.push_back(mate || !hasMate);
    if (rival == 0) continue;
    if (!anyFront) result.frontSpread = {rival, rival};
    anyFront = true;
    result.frontSpread.min = std::min(result.frontSpread.min, rival);
    result.frontSpread.max = std::max(result.frontSpread.max, rival);
  }
  return result;
}

}  // namespace varnholt::inspect
