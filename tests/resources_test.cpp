#include <gtest/gtest.h>

#include <set>
#include <string>

#include "generate/heightfield.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "terrain_fixture.h"

namespace varnholt::generate {

namespace {

using model::LandscapeType;
using model::ResourceType;

ResourceType depositFor(int field) {
  const struct {
    int low;
    ResourceType resource;
  } bands[] = {{56, ResourceType::SULFUR}, {51, ResourceType::GOLDORE}, {41, ResourceType::IRONORE},
               {11, ResourceType::COAL},   {6, ResourceType::GEMS},     {0, ResourceType::FISH}};
  for (const auto& band : bands) {
    if (field >= band.low) return band.resource;
  }
  return ResourceType::NOT_A_RESOURCE_TYPE;
}

// Every kind of ground in turn, so water, mountain and other tiles mix.
TEST(Resources, FishInWaterMineralsUnderMountainsNothingElsewhere) {
  constexpr uint32_t kSize = 200;
  const std::string kinds = "wMgWm_oDSM~Rnsqrde";
  model::Map map = fixture::uniformMap(kSize, 'g');
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    map.landscape[i] = fixture::groundOf(kinds[i % kinds.size()]);
    if (!model::isWater(map.landscape[i]) && !model::isMountain(map.landscape[i])) {
      map.resources[i] = ResourceType::SULFUR;
      map.resourceAmounts[i] = 9;
    }
  }
  const model::Map before = map;

  Random random(77);
  const RandomState start = random.state;
  initResources(map, random);
  const RandomState after = random.state;

  random.state = start;
  const Grid<uint8_t> field = generate(random, kSize, 10, 60);
  std::set<ResourceType> fromField;
  std::set<int> waterAmounts;
  std::set<int> mountainAmounts;
  int replaced = 0;
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    const LandscapeType ground = map.landscape[i];
    if (model::isWater(ground)) {
      ASSERT_EQ(map.resources[i], ResourceType::FISH);
      ASSERT_EQ(map.resourceAmounts[i], random.rand(8));
      waterAmounts.insert(map.resourceAmounts[i]);
    } else if (model::isMountain(ground)) {
      ResourceType expected = depositFor(field.data[i]);
      if (random.rand(10) > 8) {
        const ResourceType minerals[] = {ResourceType::COAL, ResourceType::IRONORE,
                                         ResourceType::GOLDORE, ResourceType::GEMS,
                                         ResourceType::SULFUR};
        expected = minerals[random.rand(4)];
        ++replaced;
      } else {
        fromField.insert(expected);
      }
      ASSERT_EQ(map.resources[i], expected) << "field value " << int{field.data[i]};
      ASSERT_EQ(map.resourceAmounts[i], random.rand(15));
      mountainAmounts.insert(map.resourceAmounts[i]);
    } else {
      ASSERT_EQ(map.resources[i], before.resources[i]);
      ASSERT_EQ(map.resourceAmounts[i], before.resourceAmounts[i]);
    }
  }
  EXPECT_EQ(after, random.state);
  EXPECT_EQ(map.landscape, before.landscape);
  EXPECT_EQ(fromField.size(), 6u) << "every field band, FISH included";
  EXPECT_GT(replaced, 0);
  EXPECT_EQ(waterAmounts.size(), 9u);
  EXPECT_EQ(mountainAmounts.size(), 16u);
}

}  // namespace
}  // namespace varnholt::generate
