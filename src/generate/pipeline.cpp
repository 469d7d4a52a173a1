#include "generate/pipeline.h"

#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "generate/amounts.h"
#include "generate/climate.h"
#include "generate/heightfield.h"
#include "generate/landscapes.h"
#include "generate/stages.h"
#include "generate/startgoods.h"

namespace varnholt::generate {

using model::Map;

namespace {

bool always(const MapPlan&) { return true; }
bool classic(const MapPlan& plan) { return plan.layout == StartLayout::CLASSIC; }
bool fair(const MapPlan& plan) { return plan.layout == StartLayout::FAIR; }
bool symmetric(const MapPlan& plan) { return fair(plan) && plan.symmetry != StartSymmetry::NONE; }
bool alpine(const MapPlan& plan) {
  return fair(plan) && plan.style.climate == model::ClimateStyle::ALPINE;
}
bool climateGround(const MapPlan& plan) {
  return fair(plan) && (plan.style.climate == model::ClimateStyle::DESERT ||
                        plan.style.climate == model::ClimateStyle::SWAMP);
}
bool desert(const MapPlan& plan) {
  return fair(plan) && plan.style.climate == model::ClimateStyle::DESERT;
}
bool scaledAmounts(const MapPlan& plan) {
  return fair(plan) && plan.style.resources != model::ResourceAmount::NORMAL;
}
bool lobby(const MapPlan& plan) { return fair(plan) && plan.lobby; }

// Prints the goods piles, one record per pile in creation order.
void printStacks(const Map& map, const Console& console) {
  // The record's ordinal stands in for its address, so the dump is the same
  // on every run.
  std::string dump;
  for (size_t i = 0; i < map.stacks.size(); ++i) {
    const model::Stack& stack = map.stacks[i];
    char ref[32];
    std::snprintf(ref, sizeof ref, "ref 0x%zx", i + 1);
    dump += std::string(ref) + " --> [stackType = " + model::name(stack.stackType) +
            ",\nposX = " + std::to_string(stack.posX) + ",\nposY = " + std::to_string(stack.posY) +
            ",\ncount = " + std::to_string(stack.count) + "]\n";
  }
  console(dump);
}

// The one stage order. Lines marked "start layout" are where classic and
// fair starts differ; a style adds its stages or choices at the same places.
constexpr std::array kStages = {
    Stage{"parties", always, [](Run& r) { r.map.party.assign(r.map.party.size(), 255); }},
    // start layout: heights the starts are planned on, the starts, their terrain
    Stage{"symmetric-heights", symmetric,
          [](Run& r) { symmetrizeHeights(r.map, r.plan.symmetry); }},
    Stage{"plan-starts", fair,
          [](Run& r) {
            r.starts = planFairStarts(r.map, r.random, r.plan.playerCount, r.plan.symmetry,
                                      landscapeStartSpacing(r.plan.style.landscape),
                                      r.plan.style.teams);
          }},
    Stage{"start-shapes", fair, [](Run& r) { chooseStartShapes(r.map, r.starts); }},
    // style: the landscape's land, sea and mountains around the planned starts
    Stage{"style-landscape", fair,
          [](Run& r) {
            shapeLandscape(r.map, r.random, r.starts, r.plan.style, r.plan.symmetry);
          }},
    Stage{"start-terrain", fair,
          [](Run& r) {
            shapeStartTerrain(r.map, r.starts, landscapeBlendWidth(r.plan.style.landscape));
          }},
    // style: the ranges and peaks of alpine maps, raised beyond the start areas
    Stage{"climate-mountains", alpine,
          [](Run& r) {
            raiseClimateMountains(r.map, r.random, r.starts, r.plan.style, r.plan.symmetry);
          }},
    // styled maps keep a narrower water frame than classic ones
    Stage{"landscape", always,
          [](Run& r) {
            initHighmapLandscape(r.map, r.random, fair(r.plan) ? STYLE_FRAME : CLASSIC_FRAME);
          }},
    // start layout: building land around the starts before shores are drawn
    Stage{"level-start-ground", fair, [](Run& r) { levelStartGround(r.map, r.starts); }},
    // style: desert or swamp between the start areas, before the rings are drawn
    Stage{"climate-ground", climateGround,
          [](Run& r) {
            layClimateGround(r.map, r.random, r.starts, r.plan.style.climate, r.plan.symmetry);
          }},
    Stage{"outlines", always, [](Run& r) { initLandscapeOutlines(r.map); }},
    Stage{"rivers", always, [](Run& r) { initRivers(r.map, r.random); }},
    // start layout: no river line through the building land
    Stage{"open-start-ground", fair, [](Run& r) { openStartGround(r.map, r.starts); }},
    Stage{"objects", always, [](Run& r) { initObjects(r.map, r.random); }},
    Stage{"resources", always, [](Run& r) { initResources(r.map, r.random); }},
    // style: the whole map's amounts, and the palms of desert maps
    Stage{"amounts", scaledAmounts,
          [](Run& r) { scaleMapAmounts(r.map, r.random, r.starts, r.plan.style.resources); }},
    Stage{"palms", desert,
          [](Run& r) { growPalms(r.map, r.random, r.starts, r.plan.style.climate); }},
    // start layout: equal trees, stones, ore and fish in the start areas, copies under a symmetry
    Stage{"start-objects", fair,
          [](Run& r) {
            plantStartObjects(r.map, r.random, r.starts, startObjects(r.plan.style),
                              static_cast<int64_t>(startStacks(laidGoods(r.plan)).size()),
                              r.plan.symmetry);
          }},
    Stage{"start-minerals", fair,
          [](Run& r) { balanceStartMinerals(r.map, r.starts, r.plan.style.resources); }},
    Stage{"mirror", symmetric, [](Run& r) { mirrorMap(r.map, r.plan.symmetry, r.starts); }},
    // start layout: the towers, searched for (classic) or placed at the planned starts
    Stage{"buildings", classic,
          [](Run& r) { initBuildings(r.map, r.random, r.plan.playerCount); }},
    Stage{"start-towers", fair, [](Run& r) { placeFairTowers(r.map, r.starts); }},
    Stage{"stacks", always, [](Run& r) { initStacks(r.map, laidGoods(r.plan), r.console); }},
    Stage{"settlers", always, [](Run& r) { initSettlers(r.map, laidGoods(r.plan)); }},
    Stage{"players", always, [](Run& r) { initPlayers(r.map, r.plan.playerCount); }},
    // start layout: each player record starts at its tower
    Stage{"player-starts", fair, [](Run& r) { setPlayerStartsToTowers(r.map); }},
    // teams: each player record's name says its team
    Stage{"team-names", fair, [](Run& r) { nameTeamPlayers(r.map, r.plan.style.teams); }},
    Stage{"ground-conventions", fair, [](Run& r) { applyGroundConventions(r.map); }},
    // the kit taken off again: the game lays its own at each player start
    Stage{"lobby", lobby, [](Run& r) { makeLobbyMap(r.map, r.plan.startGoods, r.plan.style.teams); }},
    Stage{"stack-dump", always, [](Run& r) { printStacks(r.map, r.console); }},
};

}  // namespace

std::span<const Stage> stages() { return kStages; }

model::StartResourcesType laidGoods(const MapPlan& plan) {
  return lobby(plan) ? model::StartResourcesType::HIGH : plan.startGoods;
}

Map createMap(Random& random, int64_t playerCount, uint32_t size) {
  Map map;
  map.fileVersion = model::FileVersion::AMAZONS;
  map.gameType = model::GameType::SINGLEPLAYER;
  map.startResources = model::StartResourcesType::CUSTOM;
  // The header keeps the low 32 bits; the driver only passes counts up to 254.
  map.playerCount = static_cast<uint32_t>(playerCount);
  map.size = size;
  map.heights = generateWithBorder(random, size, 20).data;
  const size_t tiles = static_cast<size_t>(size) * size;
  map.landscape.assign(tiles, model::LandscapeType::WATER1);
  map.objects.assign(tiles, model::ObjectType::NO_OBJECT);
  map.party.assign(tiles, 0);
  map.accessible.assign(tiles, model::AccessibleType::EMPTY);
  map.resources.assign(tiles, model::ResourceType::FISH);
  map.resourceAmounts.assign(tiles, 0);
  return map;
}

Run startRun(int64_t seed, const MapPlan& plan, const Console& console) {
  Random random(seed);
  Map map = createMap(random, plan.playerCount, plan.size);
  return Run{std::move(map), std::move(random), plan, console, {}};
}

void runStages(Run& run) {
  for (const Stage& stage : kStages) {
    if (stage.runsFor(run.plan)) stage.run(run);
  }
}

Map generate(int64_t seed, const MapPlan& plan, const Console& console) {
  Run run = startRun(seed, plan, console);
  runStages(run);
  return std::move(run.map);
}

}  // namespace varnholt::generate
