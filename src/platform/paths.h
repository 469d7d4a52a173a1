#pragma once

#include <string>

// Files by name. Paths are UTF-8. One implementation per system:
// posix/paths.cpp and windows/paths.cpp.
namespace varnholt::platform {

// True when a and b both exist and are one file, under any names or links.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace varnholt::platform
