#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "mapfile/reader.h"

// What a map file holds and how fair its start spots are, for people (text)
// and for programs (JSON). Both carry the same facts.
namespace varnholt::inspect {

// A report's work grows with the tiles and, for the fairness table, with the
// start spots (towers, or player start spots where there are none): each row
// looks at every tile within its radius and every footprint that could stand
// there. Maps beyond these are refused, so a report takes seconds and a few
// hundred MB at most: as many spots as parties can be told apart, and edges
// of up to 2048 tiles (the generator's large maps are 2000).
inline constexpr size_t MAX_START_SPOTS = 256;
inline constexpr uint32_t MAX_REPORT_MAP_SIZE = 2048;

// Throws Exception when the map is beyond MAX_REPORT_MAP_SIZE or
// MAX_START_SPOTS.
void checkReportable(const model::Map& map);

// Header values, section list, counts of ground kinds, objects, resources,
// buildings, goods and settlers, the players, the ground-convention findings,
// the landscape block (measureLandscape), the look block (measureLook) and
// the fairness table with a closing spread line. Ends with a newline.
// Throws Exception, before any work, as checkReportable does.
std::string textReport(const mapfile::MapFile& file, const std::string& path);

// The same as one JSON document (warnings included), ending with a newline.
std::string jsonReport(const mapfile::MapFile& file, const std::string& path);

}  // namespace varnholt::inspect
