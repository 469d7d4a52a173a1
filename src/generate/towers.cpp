#include <algorithm>
#include <array>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "generate/startgoods.h"
#include "geometry/circle.h"
#include "model/groundrules.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

using geometry::circleHalfWidth;

using model::BuildingType;
using model::Map;

namespace {

// A tower claims the tiles of its start area.
constexpr int64_t kClaimRadius = model::START_AREA_RADIUS;
constexpr int64_t kAttemptsPerParty = 10000001;
// After this many failed attempts for one party the whole map is searched
// once for a tile that could pass; if there is none, every further attempt
// would fail too, and the party fails at once instead of drawing on.
constexpr int64_t kAttemptsBeforeSearch = 100000;

constexpr uint8_t kNoParty = 255;

// Columns left..right of one row.
struct Span {
  int64_t row;
  int64_t left;
  int64_t right;
};

// The largest dx with distance(0, 0, dx, dy) below the claim radius, for dy
// from 1 - radius to radius - 1.
int64_t claimReach(int64_t dy) {
  static const std::array<int64_t, 2 * kClaimRadius - 1> reach = [] {
    std::array<int64_t, 2 * kClaimRadius - 1> table{};
    for (int64_t d = 1 - kClaimRadius; d < kClaimRadius; ++d) {
      table[static_cast<size_t>(d + kClaimRadius - 1)] = circleHalfWidth(kClaimRadius, d);
    }
    return table;
  }();
  return reach[static_cast<size_t>(dy + kClaimRadius - 1)];
}

// For every tile, whose claimed tiles lie at distance below the claim radius:
// nobody's, one party's, or several parties'. A tower may stand at a tile
// only when no other party's claimed tile lies that close, so this answers
// the party test of a candidate with one read instead of a circle scan.
class ClaimsNearby {
 public:
  explicit ClaimsNearby(const Map& map) : size_(map.size), near_(map.party.size(), kNobody) {
    // Tiles claimed before this stage count like the claims made here.
    for (int64_t row = 0; row < size_; ++row) {
      const uint8_t* cells = map.party.data() + row * size_;
      for (int64_t left = 0, right; left < size_; left = right + 1) {
        right = left;
        while (right + 1 < size_ && cells[right + 1] == cells[left]) ++right;
        if (cells[left] != kNoParty) add({{row, left, right}}, cells[left]);
      }
    }
  }

  // True when every claimed tile at distance below the radius belongs to party.
  bool allows(int64_t pos, uint8_t party) const {
    const uint16_t near = near_[static_cast<size_t>(pos)];
    return near == kNobody || near == party;
  }

  // Records that the tiles of the spans now belong to party. The spans must
  // share one column, so that the tiles near them form one run per row.
  void add(const std::vector<Span>& spans, uint8_t party) {
    const auto [lowest, highest] = std::minmax_element(
        spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.row < b.row; });
    const int64_t first = std::max<int64_t>(0, lowest->row - kClaimRadius + 1);
    const int64_t last = std::min(size_ - 1, highest->row + kClaimRadius - 1);
    for (int64_t row = first; row <= last; ++row) {
      int64_t left = size_;
      int64_t right = -1;
      for (const Span& span : spans) {
        const int64_t dy = row - span.row;
        if (dy <= -kClaimRadius || dy >= kClaimRadius) continue;
        left = std::min(left, span.left - claimReach(dy));
        right = std::max(right, span.right + claimReach(dy));
      }
      for (int64_t x = std::max<int64_t>(0, left); x <= std::min(size_ - 1, right); ++x) {
        uint16_t& near = near_[static_cast<size_t>(x + row * size_)];
        near = near == kNobody || near == party ? party : kSeveral;
      }
    }
  }

 private:
  static constexpr uint16_t kNobody = 0xFFFF;
  static constexpr uint16_t kSeveral = 0xFFFE;

  int64_t size_;
  std::vector<uint16_t> near_;
};

// The tower footprint as the spread of its cells' index offsets; a candidate
// is only asked about when every cell index lies inside the map.
class FootprintReach {
 public:
  explicit FootprintReach(int64_t size) {
    for (const model::BuildingMetaBlock& cell : catalogue::buildingMeta(catalogue::TOWER_META_KEY).blocks) {
      const int64_t offset = cell.xOffset + cell.yOffset * size;
      lowest_ = std::min(lowest_, offset);
      highest_ = std::max(highest_, offset);
    }
  }

  bool inside(int64_t pos, int64_t tiles) const {
    return pos + lowest_ >= 0 && pos + highest_ < tiles;
  }

 private:
  int64_t lowest_ = 0;
  int64_t highest_ = 0;
};

class TowerSearch {
 public:
  TowerSearch(Map& map, Random& random)
      : map_(map),
        random_(random), size_(map.size), tiles_(size_ * size_), claims_(map), footprint_(size_) {}

  // Places the tower of party, or throws when all attempts fail.
  void place(uint8_t party) {
    for (int64_t attempt = 1; attempt <= kAttemptsPerParty; ++attempt) {
      const int64_t pos = random_.rand(tiles_);  // size * size itself names no tile and fails below
      if (passes(pos, party)) {
        catalogue::setBuilding(map_, pos, BuildingType::TOWER, party, START_SWORDSMEN, START_ARCHERS, START_SPEARMEN);
        claim(pos, party);
        return;
      }
      if (attempt == kAttemptsBeforeSearch && !anyTilePasses(party)) break;
    }
    throw exception("FAiled to create player start");
  }

 private:
  bool passes(int64_t pos, uint8_t party) const {
    return pos < tiles_ && footprint_.inside(pos, tiles_) && claims_.allows(pos, party) &&
           catalogue::canSetBuilding(map_, pos, BuildingType::TOWER);
  }

  bool anyTilePasses(uint8_t party) const {
    for (int64_t pos = 0; pos < tiles_; ++pos) {
      if (passes(pos, party)) return true;
    }
    return false;
  }

  // Gives party every tile at distance below the claim radius from pos.
  void claim(int64_t pos, uint8_t party) {
    const int64_t cx = pos % size_;
    const int64_t cy = pos / size_;
    std::vector<Span> spans;
    for (int64_t dy = 1 - kClaimRadius; dy < kClaimRadius; ++dy) {
      const int64_t row = cy + dy;
      if (row < 0 || row >= size_) continue;
      spans.push_back({row, std::max<int64_t>(0, cx - claimReach(dy)),
                       std::min(size_ - 1, cx + claimReach(dy))});
    }
    for (const Span& span : spans) {
      std::fill(map_.party.begin() + span.left + span.row * size_,
                map_.party.begin() + span.right + 1 + span.row * size_, party);
    }
    claims_.add(spans, party);
  }

  Map& map_;
  Random& random_;
  int64_t size_;
  int64_t tiles_;
  ClaimsNearby claims_;
  FootprintReach footprint_;
};

}  // namespace

void initBuildings(Map& map, Random& random, int64_t playerCount) {
  // Parties are bytes; the driver keeps playerCount within 1..254.
  const auto parties = static_cast<uint8_t>(playerCount);
  TowerSearch search(map, random);
  for (int party = 0; party < parties; ++party) search.place(static_cast<uint8_t>(party));
}

}  // namespace varnholt::generate
