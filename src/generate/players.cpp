#include <string>
#include <utility>

#include "generate/stages.h"

namespace varnholt::generate {

namespace {

// Length of a player name in the file; shorter names are padded with spaces.
constexpr size_t kNameLength = 33;

}  // namespace

void initPlayers(model::Map& map, int64_t playerCount, uint32_t, model::StartResourcesType) {
  for (int64_t i = 0; i < playerCount; ++i) {
    std::string name = "Player " + std::to_string(i);
    name.resize(kNameLength, ' ');
    map.players.push_back({std::move(name), 150, 150, model::CivilizationType::FREE_CHOICE});
  }
}

}  // namespace varnholt::generate
