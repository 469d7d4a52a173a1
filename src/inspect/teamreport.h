#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "inspect/teams.h"

// The report's teams section, for people (text) and programs (JSON).
namespace varnholt::inspect {

// One line per team with its start spots and the sums of the fairness
// columns (all but rival), a max/min line, the fronts (each start's nearest
// rival) and whether every start's nearest other start is a mate. Writes
// nothing for a map without teams.
void writeTeams(std::ostream& out, const Teams& t);

// The same facts as one JSON object; null for a map without teams.
nlohmann::ordered_json teamsJson(const Teams& t);

}  // namespace varnholt::inspect
