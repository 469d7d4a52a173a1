#pragma once

#include <cstdint>
#include <string>

namespace varnholt::model {

enum class GameType : uint8_t {
  MULTIPLAYER = 0,
  SINGLEPLAYER = 1,
};

std::string name(GameType type);

}  // namespace varnholt::model
