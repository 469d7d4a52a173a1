#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Teams of a map: sizes of consecutive runs of player numbers. In 3v3,
// players 0, 1 and 2 are team 1 and players 3, 4 and 5 team 2. The file has
// no team field, so each player record's name carries its team.
namespace varnholt::model {

// Teams of equal size: count teams of members players each; count 0 for a
// map without teams. Teams of unequal size cannot have equal shares.
struct Teams {
  int32_t count = 0;
  int32_t members = 0;

  bool operator==(const Teams&) const = default;
};

// The teams spelled text: whole numbers of 1 or more joined by 'v'
// ("2v2", "2v2v2"), at least two teams of one size each. Throws ValueError
// "--teams takes team sizes joined by v, such as 2v2 or 2v2v2, not '<text>'"
// for anything else, and "--teams needs teams of one size, not '<text>'" for
// teams of unequal size, which cannot have equal shares.
Teams parseTeams(std::string_view text);

// The teams written back in the option's spelling ("2v2v2").
std::string teamsText(const Teams& teams);

// The number of players the teams hold.
int64_t teamPlayerCount(const Teams& teams);

// The team (1, 2, ...) of player number player; 0 on a map without teams or
// for a player beyond them.
int32_t teamOf(const Teams& teams, int64_t player);

// The player record's name that says its team: "Player <player> Team <team>".
std::string teamPlayerName(int64_t player, int32_t team);

// The team a player record's name says ("... Team <n>" at its end, trailing
// blanks ignored), 0 when it says none.
int32_t teamInName(std::string_view name);

}  // namespace varnholt::model
