#pragma once

#include <functional>
#include <string_view>

namespace varnholt {

// Where a run's progress lines go. Each call receives whole lines, every one
// ending in '\n'; the command line prints them, a library caller may keep or
// drop them. Called on the generating thread only.
using Console = std::function<void(std::string_view text)>;

}  // namespace varnholt
