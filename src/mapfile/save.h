#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "varnholt/file.h"

// Putting a finished map file on disk, whole or not at all (PendingFile,
// in varnholt/file.h, does the work).
namespace varnholt::mapfile {

// Puts bytes at path whole or not at all, worded for the map file: a
// PendingFile written with bytes and committed.
void saveMapFile(std::span<const uint8_t> bytes, const std::string& path);

}  // namespace varnholt::mapfile
