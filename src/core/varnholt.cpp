#include "varnholt/varnholt.h"

#include "generate/climate.h"
#include "generate/landscapes.h"
#include "generate/pipeline.h"
#include "mapfile/reader.h"
#include "mapfile/save.h"
#include "mapfile/writer.h"

namespace varnholt {

namespace {

// A style that cannot be made fails before any work: its shares out of the
// landscape's range, an alpine climate with too little mountain.
void checkStyle(const model::MapStyle& style) {
  generate::validateStyle(style);
  generate::resolvedStyle(style);
}

}  // namespace

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
  generate::MapPlan plan;
  plan.size = static_cast<uint32_t>(options.size);
  plan.playerCount = options.playerCount;
  plan.startGoods = options.startGoods;
  switch (options.mode) {
    case StartMode::CLASSIC:
      break;
    case StartMode::FAIR:
      checkStyle(options.style);
      plan.layout = generate::StartLayout::FAIR;
      plan.style = options.style;
      break;
    case StartMode::SYMMETRIC:
      checkStyle(options.style);
      plan.layout = generate::StartLayout::FAIR;
      plan.style = options.style;
      // Team maps take the point reflection alone, which takes one team
      // onto another.
      plan.symmetry = options.playerCount == 4 && teams.count == 0
                          ? generate::StartSymmetry::POINT_AND_DIAGONAL
                          : generate::StartSymmetry::POINT;
      break;
    default:
      throw exception("Unknown start mode");
  }
  return generate::generate(options.seed, plan, console);
}

std::vector<uint8_t> mapFileBytes(const model::Map& map, const Console& console) {
  return mapfile::exportMap(map, console);
}

void writeMapFile(std::span<const uint8_t> bytes, const std::string& path) {
  mapfile::saveMapFile(bytes, path);
}

mapfile::MapFile readMapFile(std::span<const uint8_t> bytes) { return mapfile::readMap(bytes); }

mapfile::MapFile readMapFile(const std::string& path) { return mapfile::importMap(path); }

}  // namespace varnholt
