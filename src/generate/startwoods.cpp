// plantStartObjects: the woods and rock of every start area, grown as
// stands of the start's own, laid out and thinned so that every start keeps
// the same room for buildings.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "generate/fairstages.h"
#include "generate/stands.h"
#include "generate/startspots.h"
#include "generate/symmetry.h"
#include "generate/valuenoise.h"
#include "model/groundrules.h"
#include "varnholt/model/objecttype.h"

namespace varnholt::generate {

using model::Map;
using model::ObjectType;

namespace {

// Woods of the oases of desert maps: mostly palms.
constexpr std::array<ObjectType, 6> kOasisTrees = {
    ObjectType::TREE_ARECACEAE_1, ObjectType::TREE_ARECACEAE_2, ObjectType::TREE_ARECACEAE_1,
    ObjectType::TREE_ARECACEAE_2, ObjectType::TREE_BIRCH_1,     ObjectType::TREE_OAK_1};
// Two to four woods, one or two outcrops of rock.
constexpr StandRule kWoods = {2, 2, 9, 0.5, 0.65, 1, true};
constexpr StandRule kRock = {1, 1, 5, 0.35, 0.9, model::STONE_CLEARANCE, false};
// Each start tries this many layouts of its stands, each at these
// thicknesses of its woods: the more thinly a wood stands, the more
// building room it takes.
constexpr uint64_t kLayouts = 2;
constexpr std::array<double, 5> kThicknesses = {1.0, 0.7, 0.48, 0.32, 0.2};
// The goal's share of the poorest start's most room, in percent.
constexpr int64_t kGoalShare = 96;
// How much each footprint's room counts in a start's first choice: the
// houses' room is held closer than the farms'.
constexpr std::array<double, ROOM_FOOTPRINTS> kRoomWeights = {1, 1, 1, 0.5};
// The most the starts' room may differ, max/min per footprint: a little
// inside the fairness guarantees (1.15 for houses, 1.3 for farms), as the
// stages after the woods move the counts a little; the choices are then
// evened out against these in a few passes over the starts.
constexpr std::array<double, ROOM_FOOTPRINTS> kRoomLimits = {1.12, 1.12, 1.12, 1.25};
constexpr int kEvenPasses = 3;
// Where each start has several places (a symmetric map), its woods cannot
// even out its own places, whose room differs by the footprints, not the
// woods: there, while evening out, room below the goal weighs this much per
// share of the goal missed, so tries about as even as each other keep the
// room near the goal.
constexpr double kShortfallWeight = 0.05;
// Halvings of the thickness between a start's neighbours on the scale.
constexpr int kFineSteps = 2;

struct Layout {
  StandPlan woods;
  StandPlan rock;
};

void clearObjects(Map& map, const FairStart& s) {
  const int64_t size = map.size;
  for (int64_t y = s.y - START_LEVEL_RADIUS; y <= s.y + START_LEVEL_RADIUS; ++y) {
    for (int64_t x = s.x - START_LEVEL_RADIUS; x <= s.x + START_LEVEL_RADIUS; ++x) {
      if (x < 0 || y < 0 || x >= size || y >= size) continue;
      if ((x - s.x) * (x - s.x) + (y - s.y) * (y - s.y) >=
          START_LEVEL_RADIUS * START_LEVEL_RADIUS) {
        continue;
      }
      const auto i = static_cast<size_t>(x + size * y);
      if (map.objects[i] == ObjectType::NO_OBJECT) continue;
      // Only objects block grass and desert; the tile is free again.
      map.objects[i] = ObjectType::NO_OBJECT;
      map.accessible[i] = model::AccessibleType::EMPTY;
    }
  }
}

Layout drawLayout(const Map& map, RandomState state, const FairStart& s, bool palms) {
  Random random(state);
  Layout layout;
  layout.woods = palms ? planStands(map, random, s, kWoods, kOasisTrees, {})
                       : planStands(map, random, s, kWoods, model::TREE_TYPES, {});
  layout.rock = planStands(map, random, s, kRock, model::STONE_TYPES, layout.woods.stands);
  return layout;
}

std::vector<int64_t> plant(Map& map, const Layout& layout, const StartObjects& objects,
                           double thickness) {
  std::vector<int64_t> planted;
  plantStands(map, layout.woods, objects.trees, thickness, planted);
  plantStands(map, layout.rock, objects.stones, 1.0, planted);
  return planted;
}

void unplant(Map& map, const std::vector<int64_t>& tiles) {
  for (int64_t tile : tiles) {
    map.objects[static_cast<size_t>(tile)] = ObjectType::NO_OBJECT;
    map.accessible[static_cast<size_t>(tile)] = model::AccessibleType::EMPTY;
  }
}

// A start's room at each of its places: the start itself, and on a
// symmetric map each image the mirror copies it to. The footprints are not
// mirrored with the ground, so an image's room differs from its source's.
using Rooms = std::vector<StartRoom>;

// The room start leaves at each of its places, as the map stands.
Rooms roomsOf(const Map& map, const FairStart& start, int64_t piles, int64_t places) {
  const std::vector<uint8_t> taken = startTaken(map, start, piles);
  Rooms rooms = {countRoom(taken)};
  for (int64_t element = 1; element < places; ++element) {
    rooms.push_back(countRoom(mirroredWindow(taken, element)));
  }
  return rooms;
}

// The mean over a start's places of footprint f's room.
double meanSpots(const Rooms& rooms, size_t f) {
  double sum = 0;
  for (const StartRoom& room : rooms) sum += static_cast<double>(room.spots[f]);
  return sum / static_cast<double>(rooms.size());
}

// One start's layouts, and the room each leaves at each thickness.
struct Tries {
  std::vector<Layout> layouts;
  std::vector<std::array<Rooms, kThicknesses.size()>> rooms;
};

// Tries are numbered layout by layout, thickness by thickness.
constexpr size_t kOptions = kLayouts * kThicknesses.size();
const Rooms& roomOf(const Tries& tries, size_t option) {
  return tries.rooms[option / kThicknesses.size()][option % kThicknesses.size()];
}

// The goal: per footprint a little below the room the poorest place can
// keep at most, so that place too has tries on either side of it.
StartRoom goalRoom(const std::vector<Tries>& tries, size_t places) {
  StartRoom goal;
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    bool first = true;
    for (const Tries& start : tries) {
      for (size_t place = 0; place < places; ++place) {
        int64_t most = 0;
        for (const auto& rooms : start.rooms) {
          for (const Rooms& room : rooms) most = std::max(most, room[place].spots[f]);
        }
        goal.spots[f] = first ? most : std::min(goal.spots[f], most);
        first = false;
      }
    }
    goal.spots[f] = goal.spots[f] * kGoalShare / 100;
  }
  return goal;
}

// The sum of term(f, ratio) over every place and footprint f, ratio being
// the place's room for f over reference's (at least 1).
template <typename Term>
double sumOverRooms(const Rooms& rooms, const StartRoom& reference, Term term) {
  double sum = 0;
  for (const StartRoom& room : rooms) {
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      sum += term(f, static_cast<double>(room.spots[f]) /
                         static_cast<double>(std::max<int64_t>(1, reference.spots[f])));
    }
  }
  return sum;
}

// How far rooms fall short of the goal, summed over footprints, as a mean
// over the places.
double shortfall(const Rooms& rooms, const StartRoom& goal) {
  return sumOverRooms(rooms, goal, [](size_t, double share) { return std::max(0.0, 1 - share); }) /
         static_cast<double>(rooms.size());
}

// Each start's first choice: the try whose room lies nearest the goal.
std::vector<size_t> firstChoices(const std::vector<Tries>& tries, const StartRoom& goal) {
  const auto off = [&](const Rooms& rooms) {
    return sumOverRooms(rooms, goal, [](size_t f, double ratio) {
      return kRoomWeights[f] * (ratio - 1) * (ratio - 1);
    });
  };
  std::vector<size_t> choice(tries.size(), 0);
  for (size_t k = 0; k < tries.size(); ++k) {
    for (size_t o = 1; o < kOptions; ++o) {
      if (off(roomOf(tries[k], o)) < off(roomOf(tries[k], choice[k]))) choice[k] = o;
    }
  }
  return choice;
}

// Start by start, the try that makes the places most even: the worst of
// the footprints' max/min, each over its limit, and a little of their sum
// so the others even out too; where starts have several places, room given
// up below the goal counts against a try.
void evenOut(const std::vector<Tries>& tries, const StartRoom& goal, std::vector<size_t>& choice) {
  const auto spread = [&] {
    double worst = 0;
    double sum = 0;
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      int64_t least = roomOf(tries[0], choice[0])[0].spots[f];
      int64_t most = least;
      for (size_t k = 0; k < tries.size(); ++k) {
        for (const StartRoom& room : roomOf(tries[k], choice[k])) {
          least = std::min(least, room.spots[f]);
          most = std::max(most, room.spots[f]);
        }
      }
      const double ratio =
          static_cast<double>(most) / static_cast<double>(std::max<int64_t>(1, least));
      worst = std::max(worst, ratio / kRoomLimits[f]);
      sum += ratio;
    }
    double missed = 0;
    for (size_t k = 0; k < tries.size(); ++k) {
      const Rooms& rooms = roomOf(tries[k], choice[k]);
      if (rooms.size() > 1) missed += shortfall(rooms, goal);
    }
    return worst + 0.01 * sum + kShortfallWeight * missed / static_cast<double>(tries.size());
  };
  for (int pass = 0; pass < kEvenPasses; ++pass) {
    for (size_t k = 0; k < tries.size(); ++k) {
      size_t best = choice[k];
      double bestSpread = spread();
      for (size_t o = 0; o < kOptions; ++o) {
        choice[k] = o;
        const double now = spread();
        if (now < bestSpread) {
          best = o;
          bestSpread = now;
        }
      }
      choice[k] = best;
    }
  }
}

// Per footprint, the middle of the chosen tries' rooms over every place.
StartRoom middleRoom(const std::vector<Tries>& tries, const std::vector<size_t>& choice) {
  StartRoom middle;
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    std::vector<int64_t> chosen;
    for (size_t k = 0; k < tries.size(); ++k) {
      for (const StartRoom& room : roomOf(tries[k], choice[k])) chosen.push_back(room.spots[f]);
    }
    std::nth_element(chosen.begin(),
                     chosen.begin() + static_cast<std::ptrdiff_t>(chosen.size() / 2), chosen.end());
    middle.spots[f] = chosen[chosen.size() / 2];
  }
  return middle;
}

}  // namespace

void plantStartObjects(Map& map, Random& random, const std::vector<FairStart>& all,
                       const StartObjects& objects, int64_t piles, StartSymmetry symmetry) {
  // On a symmetric map the mirror copies the first starts over their
  // images, so only they are planted, each for the room of all its places.
  const int64_t places = symmetryOrder(symmetry);
  const std::vector<FairStart> starts(
      all.begin(), all.begin() + static_cast<std::ptrdiff_t>(all.size()) / places);
  for (const FairStart& s : starts) clearObjects(map, s);
  std::vector<Tries> tries(starts.size());
  // The starts lie far enough apart that one start's stands leave the
  // others' room alone, so each is tried on its own.
  for (size_t k = 0; k < starts.size(); ++k) {
    const auto a = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
    const auto b = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
    for (uint64_t j = 0; j < kLayouts; ++j) {
      tries[k].layouts.push_back(
          drawLayout(map, {mixKey(a, j), mixKey(b, j)}, starts[k], objects.palms));
      std::array<Rooms, kThicknesses.size()>& rooms = tries[k].rooms.emplace_back();
      for (size_t t = 0; t < kThicknesses.size(); ++t) {
        const std::vector<int64_t> planted =
            plant(map, tries[k].layouts.back(), objects, kThicknesses[t]);
        rooms[t] = roomsOf(map, starts[k], piles, places);
        unplant(map, planted);
      }
    }
  }
  const StartRoom goal = goalRoom(tries, static_cast<size_t>(places));
  std::vector<size_t> choice = firstChoices(tries, goal);
  evenOut(tries, goal, choice);
  // Last, each start's thickness is fine-tuned, in each of its layouts,
  // between the neighbours on the scale that bracket the middle room, and
  // the try nearest the middle room over all footprints and places is
  // planted.
  const StartRoom middle = middleRoom(tries, choice);
  const auto apart = [&](const Rooms& rooms) {
    return sumOverRooms(rooms, middle, [](size_t f, double ratio) {
      return (ratio - 1) * (ratio - 1) / ((kRoomLimits[f] - 1) * (kRoomLimits[f] - 1));
    });
  };
  const auto bigHouses = static_cast<double>(middle.spots[2]);
  for (size_t k = 0; k < starts.size(); ++k) {
    size_t bestLayout = choice[k] / kThicknesses.size();
    double best = kThicknesses[choice[k] % kThicknesses.size()];
    double bestApart = apart(roomOf(tries[k], choice[k]));
    for (size_t j = 0; j < kLayouts; ++j) {
      // The neighbours on the scale whose rooms for big houses bracket the
      // middle room's.
      const auto& rooms = tries[k].rooms[j];
      size_t t = 0;
      while (t + 2 < kThicknesses.size() && meanSpots(rooms[t + 1], 2) > bigHouses) ++t;
      double thick = kThicknesses[t];
      double thin = kThicknesses[t + 1];
      for (int step = 0; step < kFineSteps; ++step) {
        const double thickness = (thick + thin) / 2;
        const std::vector<int64_t> planted = plant(map, tries[k].layouts[j], objects, thickness);
        const Rooms room = roomsOf(map, starts[k], piles, places);
        unplant(map, planted);
        if (apart(room) < bestApart) {
          bestLayout = j;
          best = thickness;
          bestApart = apart(room);
        }
        // More room than the middle: thinner; less: thicker.
        (meanSpots(room, 2) > bigHouses ? thick : thin) = thickness;
      }
    }
    plant(map, tries[k].layouts[bestLayout], objects, best);
  }
}

}  // namespace varnholt::generate
