#include <array>

#include "generate/heightfield.h"
#include "generate/random.h"
#include "generate/stages.h"

namespace varnholt::generate {

using model::ResourceType;

namespace {

// Minerals a mountain tile may get instead of the field's choice, by draw.
constexpr std::array<ResourceType, 5> kMinerals = {ResourceType::COAL, ResourceType::IRONORE,
                                                   ResourceType::GOLDORE, ResourceType::GEMS,
                                                   ResourceType::SULFUR};

// Sets the deposit of a mountain tile from the resource field value; values
// up to 5 leave the tile as it is.
void setDeposit(ResourceType& resource, uint8_t field) {
  if (field >= 56) {
    resource = ResourceType::SULFUR;
  } else if (field >= 51) {
    resource = ResourceType::GOLDORE;
  } else if (field >= 41) {
    resource = ResourceType::IRONORE;
  } else if (field >= 11) {
    resource = ResourceType::COAL;
  } else if (field >= 6) {
    resource = ResourceType::GEMS;
  }
}

}  // namespace

void initResources(model::Map& map, Random& random) {
  const Grid<uint8_t> field = generate(random, map.size, 10, 60);
  const int64_t tiles = length(map);
  for (int64_t i = 0; i < tiles; ++i) {
    const model::LandscapeType ground = map.landscape[i];
    if (model::isWater(ground)) {
      map.resources[i] = ResourceType::FISH;
      map.resourceAmounts[i] = static_cast<uint8_t>(random.rand(8));
    } else if (model::isMountain(ground)) {
      setDeposit(map.resources[i], field.data[i]);
      if (random.rand(10) > 8) map.resources[i] = kMinerals[random.rand(4)];
      map.resourceAmounts[i] = static_cast<uint8_t>(random.rand(15));
    }
  }
}

}  // namespace varnholt::generate
