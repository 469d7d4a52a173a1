#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/console.h"
#include "varnholt/model/map.h"
#include "varnholt/model/mapstyle.h"
#include "varnholt/model/startresourcetype.h"

// The generation pipeline: one map created from one seeded random source,
// then one fixed sequence of stages, stages(). Every map goes through the
// same list; the plan decides which stages of it run. The start layout plugs
// in at its points of the list: classic maps search room for each tower
// where the objects left it ("buildings"); fair and symmetric maps plan
// their starts on the height field ("plan-starts"), grow each start's own
// mountain and lake ("start-shapes"), shape and open the ground around
// them, plant and balance what lies there, mirror it under a symmetry, then
// place the towers ("start-towers"). A lobby map takes the kit off again at
// the end ("lobby"). A map style plugs in the same way: its choices become
// fields of MapPlan, read by the stages it changes or by stages it adds at
// the point where they belong.
namespace varnholt::generate {

// How the starts are laid out.
enum class StartLayout : uint8_t {
  CLASSIC,  // one tower per party wherever the tower search finds room
  FAIR,     // planned starts, each given the same surroundings
};

// What a run makes: everything the stages read besides the map and the
// random source.
struct MapPlan {
  uint32_t size = 320;
  int64_t playerCount = 8;  // 1 to 254: parties are bytes and 255 means none
  model::StartResourcesType startGoods = model::StartResourcesType::HIGH;
  StartLayout layout = StartLayout::CLASSIC;
  StartSymmetry symmetry = StartSymmetry::NONE;  // FAIR layouts only
  // FAIR layouts only: the landscape, the climate's stages and the amounts
  // (landscapes.h, climate.h, amounts.h) read it.
  model::MapStyle style = {};
  // A map for the multiplayer lobby (FAIR layouts only): the towers, piles
  // and settlers of the largest kit are laid out to prove the room for the
  // game's own kit, then taken off; startGoods is the lobby's default.
  bool lobby = false;
};

// The level whose piles and settlers the stacks and settlers stages lay:
// HIGH on lobby maps, whatever the lobby's default, else plan.startGoods.
model::StartResourcesType laidGoods(const MapPlan& plan);

// A run in progress: the map, the random source it draws from, the plan,
// where progress lines go, and the starts a fair layout planned.
struct Run {
  model::Map map;
  Random random;
  MapPlan plan;
  Console console;
  std::vector<FairStart> starts;
};

// One step of the pipeline: its name (for benchmarks and tests), whether it
// runs for a plan, and what it does.
struct Stage {
  const char* name;
  bool (*runsFor)(const MapPlan& plan);
  void (*run)(Run& run);
};

// Every stage in pipeline order. A run executes each whose runsFor is true.
std::span<const Stage> stages();

// A run before its first stage: the map from createMap (its height field
// drawn from a source seeded with seed), the plan and the console.
Run startRun(int64_t seed, const MapPlan& plan, const Console& console);

// Runs every stage of stages() that runs for run.plan, in order.
void runStages(Run& run);

// startRun and runStages: the whole map. Throws the stage's Exception when
// the map cannot be made (no room for a tower, too many fair starts, an odd
// player count under a symmetry).
model::Map generate(int64_t seed, const MapPlan& plan, const Console& console);

// A map of size tiles a side with header codes for playerCount players, heights
// from generateWithBorder(size, 20) and every other layer zero; no entities
// and no stage run yet. Draws the height field.
model::Map createMap(Random& random, int64_t playerCount, uint32_t size);

}  // namespace varnholt::generate
