#pragma once

#include <string_view>

#include "varnholt/options.h"

// Values written as text: the integers of the command line and the flags
// of the footprint documents. parseInteger, the grammar of every integer a
// user types, is declared with the options in varnholt/options.h.
namespace varnholt {

// Parses y/yes/true/1/on or n/no/false/0/off, ignoring case and '_'.
// Throws ValueError "cannot interpret as a bool: <text>".
bool parseBool(std::string_view text);

}  // namespace varnholt
