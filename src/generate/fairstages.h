#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "generate/random.h"
#include "model/groundrules.h"
#include "varnholt/model/map.h"
#include "varnholt/model/mapstyle.h"
#include "varnholt/model/startresourcetype.h"
#include "varnholt/model/teams.h"

// The extra stages of fair and symmetric maps. They run between the stages
// of stages.h at the start layout's points of the pipeline (pipeline.h),
// before the ground conventions stage that ends a fair map, and give every
// start surroundings of its own with the same amounts: rolling grass,
// mountain ground, a lake, trees, stones and ore within the fairness radius
// of its tower, and the same room for buildings. What they lay out keeps to
// those conventions, so that stage leaves the start areas' counts alone.
namespace varnholt::generate {

struct StartShape;

// A start of a fair map: the tower's tile and the centres of the mountain
// and the lake laid out inside its circle.
struct FairStart {
  int64_t x = 0;
  int64_t y = 0;
  int64_t mountainX = 0;
  int64_t mountainY = 0;
  int64_t lakeX = 0;
  int64_t lakeY = 0;
  // The start's team: starts of one team share it; without teams every start
  // has its own.
  int32_t team = 0;
  // The mountain and lake grown for it (chooseStartShapes); shared by the
  // copies of the start list.
  std::shared_ptr<const StartShape> shape = nullptr;
};

// How the starts of a map relate: each its own (fair), or copies of each
// other under the point reflection (x, y) -> (S-1-x, S-1-y) alone or together
// with the diagonal mirror (x, y) -> (y, x) (symmetric).
enum class StartSymmetry : uint8_t { NONE, POINT, POINT_AND_DIAGONAL };

// The closest any start may come to an edge of the map.
inline constexpr int64_t START_EDGE_DISTANCE = 52;
// The start area: what lies at distance below this from a tower is laid out
// by these stages; it is the fairness radius and the tower's claim.
inline constexpr int64_t START_RADIUS = model::START_AREA_RADIUS;
// The ground these stages level and clear: the start area and the reach of
// the largest building footprint beyond it, so a spot at the rim of the area
// finds the same ground as one in the middle.
inline constexpr int64_t START_LEVEL_RADIUS = 48;

// fairstarts.cpp: picks the tower tiles and the directions of mountain and
// lake. The layout is searched with draws from random: starts spread over a
// square at least START_EDGE_DISTANCE and, where there is room, 68 tiles in
// from the edges, so that their places and the turn of the whole layout
// change with the seed; neighbours stand at least
// max(2 * START_DOMAIN, leastSpacing, 0.8 * size / sqrt(players)) apart and
// the nearest-rival distances vary at most 1.2 times. Each start moves
// within a small window to the tile whose start area holds the most land in
// the height field already. With teams (teams.count > 0) mates may stand
// max(2 * START_DOMAIN, leastSpacing) apart, every start's nearest start is
// a mate, rivals keep the distance above and the nearest-rival distances
// vary at most 1.25 times. When no searched
// layout keeps the rules, maps without teams take a fixed lattice (six on a
// wider octagon, four under both mirrors at the middles of the sides). The
// mountain faces the most high ground, the lake lies opposite. Under a
// symmetry the starts come element by element: the first ones, then their
// images under each element in turn. Throws Exception "Map too small for <n>
// fair starts (...)" when even the lattice cannot keep the distances, "Map
// too small for <teams> at size <n> (...)" when no team layout is found, and
// "Symmetric maps need an even player count, not <n>" for odd counts under a
// symmetry.
std::vector<FairStart> planFairStarts(const model::Map& map, Random& random, int64_t playerCount,
                                      StartSymmetry symmetry, int64_t leastSpacing,
                                      const model::Teams& teams);

// Tiles at distance below this from a start belong to that start's copy
// under a symmetry; twice it is the least distance between starts.
inline constexpr int64_t START_DOMAIN = 44;

// startchoice.cpp: gives every start the shape of its own surroundings
// (no draws): of a few mountains and lakes grown from keys mixed from the
// heights around its tower (startshapes.h), one that looks unlike the shapes
// of the starts before it, keeps its mountain ground near the mean, and
// leaves it the room for buildings nearest the mean of all starts' tries.
void chooseStartShapes(const model::Map& map, std::vector<FairStart>& starts);

// startterrain.cpp: reshapes the height field around every start (no
// draws): inside START_LEVEL_RADIUS the ground rolls between grass heights
// around the mountain and the lake of the start's shape; a ring
// blendWidth tiles wide outside blends back into the landscape's heights,
// which rise from the water frame of styled maps. Starts without a shape get
// one by chooseStartShapes first. Ends with limitSlopes.
void shapeStartTerrain(model::Map& map, const std::vector<FairStart>& starts,
                       int64_t blendWidth);

// startterrain.cpp: brings every height within 7 of its upper-left
// neighbour's, tile by tile in index order, so the file's slope rule holds
// wherever levelling, blending or copying changed the heights (no draws).
void limitSlopes(model::Map& map);

// startterrain.cpp: turns the sand specks, desert and moor the landscape
// stage left within START_LEVEL_RADIUS of every start into grass, before the
// outline passes draw shores and borders (no draws).
void levelStartGround(model::Map& map, const std::vector<FairStart>& starts);

// startterrain.cpp: turns river tiles within START_LEVEL_RADIUS back into
// grass, so no one-tile river line cuts the building land (no draws).
void openStartGround(model::Map& map, const std::vector<FairStart>& starts);

// What plantStartObjects plants in every start area.
struct StartObjects {
  int64_t trees = 100;
  int64_t stones = 25;
  bool palms = false;  // woods mostly of palms, for the oases of desert maps
};

// startwoods.cpp: removes the trees and stones within START_LEVEL_RADIUS
// of every start and plants objects.trees trees and objects.stones stones
// in stands around a few centres of each start's own (two to four woods of
// uneven density and outline, mostly of two kinds each; one or two
// outcrops of rock away from them), inside the start area, on tiles free by
// the rules of the object scatter: GRASS (stones also desert), empty, all
// eight neighbours empty, and for stones everything within the
// conventions' stone clearance empty (draws). Each start's woods stand as
// thickly as leaves it the room for large buildings the poorest start has
// with its woods at their thickest, the tower and its piles goods piles
// counted in. Under a symmetry only the first starts (those the mirror
// copies) are planted, and the room is evened over every image as well.
void plantStartObjects(model::Map& map, Random& random, const std::vector<FairStart>& starts,
                       const StartObjects& objects, int64_t piles, StartSymmetry symmetry);

// topups.cpp: lays coal, iron, gold and sulfur into the MOUNTAIN and
// MOUNTAINBORDER tiles of every start area in one fixed pattern (the outer
// border keeps none) with the amounts of startMineralAmount (amounts.h),
// and fish of startFishAmount into its water; then raises amounts around
// the weaker starts until each mineral's total, and the fish, match the
// richest start's where the tiles can hold it (no draws).
void balanceStartMinerals(model::Map& map, const std::vector<FairStart>& starts,
                          model::ResourceAmount amount);

// fairstarts.cpp: places one manned tower per start, party = start order,
// and claims its area. Throws Exception "No room for the tower of player
// <n>" when the footprint is taken.
void placeFairTowers(model::Map& map, const std::vector<FairStart>& starts);

// fairstarts.cpp: sets every player record's start to its tower's tile.
void setPlayerStartsToTowers(model::Map& map);

// fairstarts.cpp: names every player record after its team, "Player <n>
// Team <t>" padded as initPlayers pads, on a map with teams; leaves the
// names alone otherwise.
void nameTeamPlayers(model::Map& map, const model::Teams& teams);

// lobby.cpp: turns a finished fair map into one for the multiplayer lobby:
// game type MULTIPLAYER, start goods field lobbyGoods, every tower, goods
// pile and settler removed with the towers' footprints and claimed land
// given back (accessible EMPTY, party none), the ground left as it was, so
// the kit the game lays at each player start finds the room ours had; the
// player records keep their starts at the towers' tiles, and their names
// only on a map with teams, where each says its team; elsewhere they are
// empty (33 NUL bytes) (no draws).
void makeLobbyMap(model::Map& map, model::StartResourcesType lobbyGoods,
                  const model::Teams& teams);

// symmetry.cpp: replaces every height by the rounded mean over its images,
// so the height field is symmetric and stays smooth (no draws).
void symmetrizeHeights(model::Map& map, StartSymmetry symmetry);

// symmetry.cpp: copies every layer from one part of the map to its images,
// so each start area is an exact copy of the first start's of its kind; then
// limits slopes, reruns the outline passes and clears rivers and objects in
// a narrow band along the seams, so no river or border is cut there (no
// draws).
void mirrorMap(model::Map& map, StartSymmetry symmetry, const std::vector<FairStart>& starts);

}  // namespace varnholt::generate
