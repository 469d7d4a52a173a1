#include "varnholt/varnholt.h"

#include "generate/climate.h"
#include "generate/pipeline.h"
#include "mapfile/reader.h"
#include "mapfile/save.h"
#include "mapfile/writer.h"

namespace varnholt {

model::Map generateMap(const GenerateOptions& options, const Console& console) {
  if (options.size < 1 || options.size > MAX_MAP_SIZE) {
    throw exception("Illegal map size " + std::to_string(options.size));
  }
  if (options.playerCount < 1 || options.playerCount > MAX_PLAYER_COUNT) {
    throw exception("Illegal player count " + std::to_string(options.playerCount));
  }
  generate::MapPlan plan;
  plan.size = static_cast<uint32_t>(options.size);
  plan.playerCount = options.playerCount;
  plan.startGoods = options.startGoods;
  switch (options.mode) {
    case StartMode::CLASSIC:
      break;
    case StartMode::FAIR:
      generate::validateStyle(options.style);
      plan.layout = generate::StartLayout::FAIR;
      plan.style = options.style;
      break;
    case StartMode::SYMMETRIC:
      generate::validateStyle(options.style);
      plan.layout = generate::StartLayout::FAIR;
      plan.style = options.style;
      plan.symmetry = options.playerCount == 4 ? generate::StartSymmetry::POINT_AND_DIAGONAL
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
