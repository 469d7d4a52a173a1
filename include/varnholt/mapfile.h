#pragma once

// A map file read back: the map and what the file says about itself.
#include <cstdint>
#include <string>
#include <vector>

#include "varnholt/model/map.h"

namespace varnholt::mapfile {

// One section header as the walk met it.
struct Section {
  uint32_t typeWord = 0;  // the raw first header word; only its low 16 bits are the type
  uint16_t type = 0;
  uint64_t offset = 0;  // of the header, from the start of the file
  uint32_t length = 0;  // header included

  bool operator==(const Section&) const = default;
};

// A map file read back: the map plus what the file says about itself.
struct MapFile {
  model::Map map;
  uint64_t fileSize = 0;
  uint32_t fileVersion = 0;  // the raw version word
  uint32_t storedChecksum = 0;
  uint32_t computedChecksum = 0;
  std::vector<Section> sections;  // in file order, a closing type-0 section included
  std::vector<std::string> warnings;
};

}  // namespace varnholt::mapfile
