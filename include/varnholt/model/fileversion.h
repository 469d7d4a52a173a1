#pragma once

#include <cstdint>
#include <string>

namespace varnholt::model {

// Version code in the map file's second word.
enum class FileVersion : uint8_t {
  ORIGINAL = 10,
  AMAZONS = 11,
};

std::string name(FileVersion version);

}  // namespace varnholt::model
