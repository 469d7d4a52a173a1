#include "varnholt.h"

#include "generate/pipeline.h"
#include "mapfile/save.h"
#include "mapfile/writer.h"
#include "model/teams.h"

namespace varnholt {

model::Map generateMap(const GenerateOptions& options, const Console& console) {
  if (options.size < 1 || options.size > MAX_MAP_SIZE) {
    throw exception("Illegal map size " + std::to_string(options.size));
  }
  if (options.playerCount < 1 || options.playerCount > MAX_PLAYER_COUNT) {
    throw exception("Illegal player count " + std::to_string(options.playerCount));
  }
  const model::Teams& teams = options.style.teams;
  if (teams.count > 0 && model::teamPlayerCount(teams) != options.playerCount) {
    throw valueError("--teams " + model::teamsText(teams) + " holds " +
                     std::to_string(model::teamPlayerCount(teams)) +
                     " players, but --playerCount is " + std::to_string(options.playerCount) +
                     "; give team sizes that add up to the player count");
  }
  if (teams.count > 0 && options.mode == StartMode::CLASSIC) {
    throw valueError("--teams needs a fair or symmetric map");
  }
  if (teams.count % 2 != 0 && options.mode == StartMode::SYMMETRIC) {
    throw valueError("--symmetric takes an even number of teams, so that the symmetry takes "
                     "each team onto another, not " + model::teamsText(teams));
  }
  generate::Random random(options.seed);
  const auto size = static_cast<uint32_t>(options.size);
  switch (options.mode) {
    case StartMode::CLASSIC:
      return generate::initMap(random, options.playerCount, size, options.startGoods, console);
    case StartMode::FAIR:
      return generate::initFairMap(random, options.playerCount, size, options.startGoods,
                                   generate::StartSymmetry::NONE, options.style, console);
    case StartMode::SYMMETRIC:
      return generate::initFairMap(random, options.playerCount, size, options.startGoods,
                                   options.playerCount == 4 && teams.count == 0
                                       ? generate::StartSymmetry::POINT_AND_DIAGONAL
                                       : generate::StartSymmetry::POINT,
                                   options.style, console);
  }
  throw exception("Unknown start mode");
}

std::vector<uint8_t> mapFileBytes(const model::Map& map, const Console& console) {
  return mapfile::exportMap(map, console);
}

void writeMapFile(std::span<const uint8_t> bytes, const std::string& path) {
  mapfile::saveMapFile(bytes, path);
}

mapfile::MapFile readMapFile(std::span<const uint8_t> bytes) { return mapfile::readMap(bytes); }

inspect::Fairness fairness(const model::Map& map) { return inspect::fairness(map); }

inspect::Image renderPreview(const model::Map& map) { return inspect::renderPreview(map); }

}  // namespace varnholt
