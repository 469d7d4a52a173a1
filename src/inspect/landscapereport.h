#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "varnholt/landscape.h"

// The report's landscape block, for people (text) and programs (JSON).
namespace varnholt::inspect {

// Water, land by ground, land masses with their start spots, inland lakes,
// amounts and on-foot reach, as indented lines after a heading line.
void writeLandscape(std::ostream& out, const Landscape& l);

// The same facts as one JSON object; land masses without a start spot are
// summed up rather than listed.
nlohmann::ordered_json landscapeJson(const Landscape& l);

}  // namespace varnholt::inspect
