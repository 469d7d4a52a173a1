#include "inspect/teamreport.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace varnholt::inspect {

namespace {

using Json = nlohmann::ordered_json;

// The columns a team sums: every one but the distance to the nearest rival.
constexpr size_t kSummed = COLUMN_COUNT - 1;

std::string factor(const Spread& s) {
  if (s.max == 0) return "-";
  if (s.min == 0) return "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(s.max) / s.min);
  return text;
}

std::string partyList(const std::vector<int64_t>& parties) {
  std::string text;
  for (int64_t party : parties) text += (text.empty() ? "" : " ") + std::to_string(party);
  return text;
}

}  // namespace

void writeTeams(std::ostream& out, const Teams& t) {
  if (t.teams.empty()) return;
  std::vector<std::vector<std::string>> table;
  std::vector<std::string> header = {"team", "parties"};
  header.insert(header.end(), COLUMN_NAMES.begin(), COLUMN_NAMES.begin() + kSummed);
  table.push_back(header);
  for (const TeamTotals& team : t.teams) {
    std::vector<std::string> cells = {std::to_string(team.team), partyList(team.parties)};
    for (size_t c = 0; c < kSummed; ++c) cells.push_back(std::to_string(team.sums[c]));
    table.push_back(cells);
  }
  std::vector<std::string> spread = {"max/min", ""};
  for (size_t c = 0; c < kSummed; ++c) spread.push_back(factor(t.spread[c]));
  table.push_back(spread);
  std::vector<size_t> widths(header.size(), 0);
  for (const auto& row : table) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  out << "teams (from the player names; sums over each team's rows of the fairness table):\n";
  for (const auto& row : table) {
    std::string line = row[0] + std::string(widths[0] - row[0].size(), ' ');
    line += "  " + row[1] + std::string(widths[1] - row[1].size(), ' ');
    for (size_t c = 2; c < row.size(); ++c) {
      line += std::string(widths[c] - row[c].size() + 2, ' ') + row[c];
    }
    out << line << '\n';
  }
  out << "front (each start's nearest start of another team): " << t.frontSpread.min << " to "
      << t.frontSpread.max << " tiles, max/min " << factor(t.frontSpread) << "\n";
  std::string strays;
  for (size_t row = 0; row < t.mateNearest.size(); ++row) {
    if (!t.mateNearest[row]) strays += (strays.empty() ? "" : ", ") + std::to_string(row);
  }
  out << "nearest other start a mate: "
      << (strays.empty() ? "every start" : "not for the starts of rows " + strays) << "\n";
}

Json teamsJson(const Teams& t) {
  if (t.teams.empty()) return nullptr;
  Json teams = Json::array();
  for (const TeamTotals& team : t.teams) {
    Json sums = Json::object();
    for (size_t c = 0; c < kSummed; ++c) sums[std::string(COLUMN_NAMES[c])] = team.sums[c];
    teams.push_back({{"team", team.team}, {"parties", team.parties}, {"sums", sums}});
  }
  Json spread = Json::object();
  for (size_t c = 0; c < kSummed; ++c) {
    const Spread& s = t.spread[c];
    Json entry = {{"min", s.min}, {"max", s.max}, {"ratio", nullptr}};
    if (s.min > 0) entry["ratio"] = static_cast<double>(s.max) / static_cast<double>(s.min);
    spread[std::string(COLUMN_NAMES[c])] = entry;
  }
  Json front = {{"min", t.frontSpread.min}, {"max", t.frontSpread.max}, {"ratio", nullptr}};
  if (t.frontSpread.min > 0) {
    front["ratio"] =
        static_cast<double>(t.frontSpread.max) / static_cast<double>(t.frontSpread.min);
  }
  const bool mates =
      std::all_of(t.mateNearest.begin(), t.mateNearest.end(), [](bool b) { return b; });
  return {{"teams", teams},
          {"spread", spread},
          {"front", front},
          {"perRow", {{"front", t.front}, {"mateNearest", t.mateNearest}}},
          {"mateNearest", mates}};
}

}  // namespace varnholt::inspect
