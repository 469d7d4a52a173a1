#pragma once

#include <string>
#include <string_view>

namespace varnholt {

// text with its control characters written out, so that a message quoting it
// (a path that holds a line break, say) stays on one line: '\n', '\r' and
// '\t' as those two-character escapes, other bytes below 32 and 127 as \xNN.
// Every other byte, backslashes and UTF-8 included, is kept as it is.
std::string escapeControlCharacters(std::string_view text);

}  // namespace varnholt
