#include "mapfile/records.h"

#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "mapfile/fileformat.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

// The number type a field is stored as: an enumeration's underlying type.
template <class T>
using Stored = typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                           std::type_identity<T>>::type;

// Puts fields into bytes, in order; values are cut to the width the file
// gives them.
class Encoder {
 public:
  explicit Encoder(uint8_t* at) : at_(at) {}

  template <class T>
  void u8(const T& field) {
    *at_++ = static_cast<uint8_t>(field);
  }
  template <class T>
  void u16(const T& field) {
    const auto value = static_cast<uint16_t>(field);
    *at_++ = static_cast<uint8_t>(value);
    *at_++ = static_cast<uint8_t>(value >> 8);
  }
  template <class T>
  void u32(const T& field, const char* = nullptr) {
    const auto value = static_cast<uint32_t>(field);
    for (int shift = 0; shift < 32; shift += 8) *at_++ = static_cast<uint8_t>(value >> shift);
  }
  // The low nibbles of high and low in one byte, high first.
  template <class H, class L>
  void nibbles(const H& high, const L& low) {
    *at_++ = static_cast<uint8_t>(static_cast<uint8_t>(high) << 4 |
                                  (static_cast<uint8_t>(low) & 15));
  }
  // high's low nibble in the upper half of a byte whose lower half is 0.
  template <class H>
  void highNibble(const H& high) {
    *at_++ = static_cast<uint8_t>(static_cast<uint8_t>(high) << 4);
  }
  // A byte of fixed value, not kept in the Map.
  void fixed(uint8_t value) { *at_++ = value; }
  // A player name, of exactly length bytes.
  void name(const std::string& field, size_t length) {
    if (field.size() != length) throw exception("Illegal player name length: " + field);
    std::memcpy(at_, field.data(), length);
    at_ += length;
  }

 private:
  uint8_t* at_;
};

// Takes fields out of bytes, in order: the mirror of Encoder. A word wider
// than its field is refused, with context (the record's name) and the
// field's name in the message.
class Decoder {
 public:
  explicit Decoder(const uint8_t* at, std::string_view context = {}) : at_(at), context_(context) {}

  template <class T>
  void u8(T& field) {
    field = static_cast<T>(*at_++);
  }
  template <class T>
  void u16(T& field) {
    static_assert(sizeof(Stored<T>) >= 2, "a 16-bit number needs a field as wide");
    field = static_cast<T>(at_[0] | at_[1] << 8);
    at_ += 2;
  }
  template <class T>
  void u32(T& field, const char* what = "value") {
    const uint32_t value = uint32_t{at_[0]} | uint32_t{at_[1]} << 8 | uint32_t{at_[2]} << 16 |
                           uint32_t{at_[3]} << 24;
    at_ += 4;
    if constexpr (sizeof(Stored<T>) < 4) {
      if (value > std::numeric_limits<Stored<T>>::max()) {
        const size_t bits = 8 * sizeof(Stored<T>);
        throw exception(std::string(context_) + what + " " + std::to_string(value) +
                        " does not fit " +
                        (bits == 8 ? std::string("one byte") : std::to_string(bits) + " bits"));
      }
    }
    field = static_cast<T>(value);
  }
  template <class H, class L>
  void nibbles(H& high, L& low) {
    high = static_cast<H>(*at_ >> 4);
    low = static_cast<L>(*at_ & 15);
    ++at_;
  }
  template <class H>
  void highNibble(H& high) {
    high = static_cast<H>(*at_++ >> 4);
  }
  // Skipped, not read: files made elsewhere may hold another value.
  void fixed(uint8_t) { ++at_; }
  void name(std::string& field, size_t length) {
    field.assign(reinterpret_cast<const char*>(at_), length);
    at_ += length;
  }

 private:
  const uint8_t* at_;
  std::string_view context_;
};

// The layouts. Io is Encoder or Decoder; the record (or map) is const when
// encoding. A u32 field narrower than 32 bits is named for the decoder's
// message.

template <class Io, class M>
void mapInfoFields(Io& io, M& map) {
  io.u32(map.gameType, "game type");
  io.u32(map.playerCount);
  io.u32(map.startResources, "start goods level");
}

template <class Io, class P>
void playerFields(Io& io, P& player) {
  io.u32(player.civilization, "civilization code");
  io.u32(player.startX);
  io.u32(player.startY);
  io.name(player.name, PLAYER_NAME_BYTES);
}

template <class Io, class M>
void tileFields(Io& io, M& map, size_t i) {
  io.u8(map.heights[i]);
  io.u8(map.landscape[i]);
  io.u8(map.objects[i]);
  io.u8(map.party[i]);
  io.u8(map.accessible[i]);
  io.nibbles(map.resources[i], map.resourceAmounts[i]);
}

template <class Io, class S>
void settlerFields(Io& io, S& settler) {
  io.u8(settler.party);
  io.u8(settler.settlerType);
  io.u16(settler.posX);
  io.u16(settler.posY);
}

template <class Io, class B>
void buildingFields(Io& io, B& building) {
  io.u8(building.party);
  io.u8(building.buildingType);
  io.u16(building.posX);
  io.u16(building.posY);
  io.fixed(0);
  // The game reads the nine troop counts as nibbles in this order.
  io.nibbles(building.swordCount[0], building.swordCount[1]);
  io.nibbles(building.archerCount[1], building.archerCount[2]);
  io.nibbles(building.swordCount[2], building.archerCount[0]);
  io.highNibble(building.spearCount[2]);
  io.nibbles(building.spearCount[0], building.spearCount[1]);
}

template <class Io, class S>
void stackFields(Io& io, S& stack) {
  io.u16(stack.posX);
  io.u16(stack.posY);
  io.u8(stack.stackType);
  io.u8(stack.count);
  io.fixed(254);
  io.fixed(0);
}

}  // namespace

void encodeMapInfo(const Map& map, uint8_t* out) {
  Encoder io(out);
  mapInfoFields(io, map);
  std::memset(out + MAP_INFO_READ_BYTES, 0, MAP_INFO_RECORD_BYTES - MAP_INFO_READ_BYTES);
}

void decodeMapInfo(const uint8_t* in, Map& map) {
  Decoder io(in, "map info section: ");
  mapInfoFields(io, map);
}

void encodePlayer(const model::Player& player, uint8_t* out) {
  Encoder io(out);
  playerFields(io, player);
}

model::Player decodePlayer(const uint8_t* in, size_t number) {
  const std::string context = "player " + std::to_string(number) + ": ";
  Decoder io(in, context);
  model::Player player;
  playerFields(io, player);
  return player;
}

void encodeTiles(const Map& map, size_t first, size_t count, uint8_t* out) {
  Encoder io(out);
  for (size_t i = first; i < first + count; ++i) tileFields(io, map, i);
}

void decodeTiles(const uint8_t* in, size_t first, size_t count, Map& map) {
  Decoder io(in);
  for (size_t i = first; i < first + count; ++i) tileFields(io, map, i);
}

void encodeSettler(const model::Settler& settler, uint8_t* out) {
  Encoder io(out);
  settlerFields(io, settler);
}

model::Settler decodeSettler(const uint8_t* in) {
  Decoder io(in);
  model::Settler settler;
  settlerFields(io, settler);
  return settler;
}

void encodeBuilding(const model::Building& building, uint8_t* out) {
  Encoder io(out);
  buildingFields(io, building);
}

model::Building decodeBuilding(const uint8_t* in) {
  Decoder io(in);
  model::Building building;
  buildingFields(io, building);
  return building;
}

void encodeStack(const model::Stack& stack, uint8_t* out) {
  Encoder io(out);
  stackFields(io, stack);
}

model::Stack decodeStack(const uint8_t* in) {
  Decoder io(in);
  model::Stack stack;
  stackFields(io, stack);
  return stack;
}

}  // namespace varnholt::mapfile
