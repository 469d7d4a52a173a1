#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "inspect/look.h"

// The report's look block, for people (text) and programs (JSON).
namespace varnholt::inspect {

// The copy overlap with its pair, the roughness near the start spots and
// elsewhere, the tree grid share and the farm spots per start spot, as
// indented lines after a heading line naming the spots' basis.
void writeLook(std::ostream& out, const Look& look, size_t spots, const char* basis);

// The same facts as one JSON object; ratios without a divisor are null.
nlohmann::ordered_json lookJson(const Look& look);

}  // namespace varnholt::inspect
