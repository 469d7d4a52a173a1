#pragma once

#include <cstdio>
#include <string>

// Files by name, for what needs no more than the C library's streams. Paths
// are UTF-8. One implementation per system: posix/paths.cpp and
// windows/paths.cpp.
namespace varnholt::platform {

// True when a and b both exist and are one file, under any names or links.
bool sameFile(const std::string& a, const std::string& b);

// Opens path for writing bytes, creating or truncating it, as
// std::fopen(path, "wb") does. Returns nullptr with errno set when it cannot.
std::FILE* openForWriting(const std::string& path);

// Removes path when it is a regular file, never a device such as /dev/full.
// A failure is ignored: this cleans up after an error already reported.
void removeRegularFile(const std::string& path);

}  // namespace varnholt::platform
