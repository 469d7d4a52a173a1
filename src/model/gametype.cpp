#include "varnholt/model/gametype.h"

namespace varnholt::model {

std::string name(GameType type) {
  switch (type) {
    case GameType::MULTIPLAYER: return "MULTIPLAYER";
    case GameType::SINGLEPLAYER: return "SINGLEPLAYER";
  }
  return "UNKNOWN_" + std::to_string(static_cast<unsigned>(type));
}

}  // namespace varnholt::model
