#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "varnholt/look.h"

// The report's look block, for people (text) and programs (JSON).
namespace varnholt::inspect {

// The copy overlaps (the grid's turns, and turned by 45 degrees) with their
// pairs, the roughness near the start spots and
// elsewhere, the tree grid share and the farm spots per start spot, as
// indented lines after a heading line naming the spots' basis.
void writeLook(std::ostream& out, const Look& look, size_t spots, const char* basis);

// The same facts as one JSON object; ratios without a divisor are null.
nlohmann::ordered_json lookJson(const Look& look);

}  // namespace varnholt::inspect
