#pragma once

#include <string>

#include "mapfile/reader.h"

// What a map file holds and how fair its start spots are, for people (text)
// and for programs (JSON). Both carry the same facts.
namespace varnholt::inspect {

// Each row of the fairness table looks at every tile within its radius and
// every footprint that could stand there, so maps with more start spots
// (towers, or player start spots where there are none) than this are refused:
// as many as parties can be told apart.
inline constexpr size_t MAX_START_SPOTS = 256;

// Header values, section list, counts of ground kinds, objects, resources,
// buildings, goods and settlers, the players, the ground-convention findings,
// and the fairness table with a closing spread line. Ends with a newline.
// Throws Exception, before any work, for more than MAX_START_SPOTS spots.
std::string textReport(const mapfile::MapFile& file, const std::string& path);

// The same as one JSON document (warnings included), ending with a newline.
std::string jsonReport(const mapfile::MapFile& file, const std::string& path);

}  // namespace varnholt::inspect
