#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "inspect/fairness.h"

// The teams of a map as its player names say them, and how equal they are.
namespace varnholt::inspect {

// One team: its start spots (rows of the fairness table and their parties)
// and the sums of every column over them.
struct TeamTotals {
  int32_t team = 0;
  std::vector<size_t> rows;
  std::vector<int64_t> parties;
  std::array<int64_t, COLUMN_COUNT> sums{};
};

struct Teams {
  std::vector<TeamTotals> teams;              // by team number; empty when no row has a team
  std::array<Spread, COLUMN_COUNT> spread{};  // of the sums over the teams
  // Per row: truncated distance to the nearest spot of another team (0 when
  // none) and whether the nearest other spot is of its own team (true for
  // a spot without mates).
  std::vector<int64_t> front;
  std::vector<bool> mateNearest;
  Spread frontSpread;  // of front over the rows
};

// Groups the rows of f by their team. Rows without a team (0) join no team
// and have no front.
Teams teams(const Fairness& f);

}  // namespace varnholt::inspect
