#include <string>
#include <utility>

#include "generate/stages.h"

namespace varnholt::generate {

namespace {

// Length of a player name in the file; shorter names are padded with spaces.
constexpr size_t kNameLength = 33;

// The start every player record has always carried. Stored maps and other
// copies of this generator agree on it, so maps large enough to hold it keep
// it byte for byte.
constexpr uint32_t kCommonStart = 150;

// Where player number party starts: the common start where the map holds it,
// otherwise its tower (the first building of its party), and the centre of
// the map for a party without one.
std::pair<uint32_t, uint32_t> startOf(const model::Map& map, int64_t party, uint32_t size) {
  if (kCommonStart < size) return {kCommonStart, kCommonStart};
  for (const model::Building& building : map.buildings) {
    if (building.party == party) return {building.posX, building.posY};
  }
  return {size / 2, size / 2};
}

}  // namespace

void initPlayers(model::Map& map, int64_t playerCount) {
  const uint32_t size = map.size;
  for (int64_t i = 0; i < playerCount; ++i) {
    std::string name = "Player " + std::to_string(i);
    name.resize(kNameLength, ' ');
    const auto [x, y] = startOf(map, i, size);
    map.players.push_back({std::move(name), x, y, model::CivilizationType::FREE_CHOICE});
  }
}

}  // namespace varnholt::generate
