#include "varnholt/model/teams.h"

#include <algorithm>
#include <vector>

#include "varnholt/model/error.h"

namespace varnholt::model {

namespace {

// More players than a map can hold never make a team.
constexpr int64_t kMostPlayers = 254;

bool isDigits(std::string_view text) {
  return !text.empty() && text.size() <= 3 &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

Teams parseTeams(std::string_view text) {
  const auto malformed = [text] {
    return valueError(
        "--teams takes team sizes of 1 or more joined by v, such as 1v1, 2v2 or "
        "2v2v2, not '" +
        std::string(text) + "'");
  };
  std::vector<int32_t> teams;
  size_t from = 0;
  while (true) {
    const size_t v = text.find('v', from);
    const std::string_view part = text.substr(from, v == std::string_view::npos ? v : v - from);
    if (!isDigits(part)) throw malformed();
    const int32_t team = std::stoi(std::string(part));
    if (team < 1) throw malformed();
    teams.push_back(team);
    if (v == std::string_view::npos) break;
    from = v + 1;
  }
  int64_t players = 0;
  for (int32_t team : teams) players += team;
  if (teams.size() < 2 || players > kMostPlayers) throw malformed();
  if (std::adjacent_find(teams.begin(), teams.end(), std::not_equal_to<>()) != teams.end()) {
    throw valueError(
        "--teams needs teams of one size, so that each team's share can be equal, "
        "not '" +
        std::string(text) + "'");
  }
  return {static_cast<int32_t>(teams.size()), teams.front()};
}

std::string teamsText(const Teams& teams) {
  std::string text;
  for (int32_t i = 0; i < teams.count; ++i) {
    if (i > 0) text += 'v';
    text += std::to_string(teams.members);
  }
  return text;
}

int64_t teamPlayerCount(const Teams& teams) { return int64_t{teams.count} * teams.members; }

int32_t teamOf(const Teams& teams, int64_t player) {
  if (player < 0 || player >= teamPlayerCount(teams)) return 0;
  return static_cast<int32_t>(player / teams.members + 1);
}

std::string teamPlayerName(int64_t player, int32_t team) {
  return "Player " + std::to_string(player) + " Team " + std::to_string(team);
}

int32_t teamInName(std::string_view name) {
  const size_t end = name.find_last_not_of(' ');
  if (end == std::string_view::npos) return 0;
  name = name.substr(0, end + 1);
  const size_t digits = name.find_last_not_of("0123456789");
  const std::string_view number = name.substr(digits + 1);
  constexpr std::string_view kWord = " Team ";
  if (!isDigits(number) || digits + 1 < kWord.size() ||
      name.substr(digits + 1 - kWord.size(), kWord.size()) != kWord) {
    return 0;
  }
  return std::stoi(std::string(number));
}

}  // namespace varnholt::model
