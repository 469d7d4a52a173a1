#pragma once

#include <cstdint>
#include <span>
#include <string>

// Putting a finished map file on disk.
namespace varnholt::mapfile {

// Creates or truncates path and writes bytes to it. Throws Exception with the
// system's reason and "\nAdditional info: <path>" when path cannot be
// created, and "Failed to write path <path>" when a write or the close fails.
void saveMapFile(std::span<const uint8_t> bytes, const std::string& path);

}  // namespace varnholt::mapfile
