#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

// The temporary files a file is written to before it is renamed into place.
namespace varnholt::platform {

// A temporary file removed by runs that find it left behind, unlocked, once it
// has been unchanged this long. A live run holds a lock on its temporary file;
// the age covers the moment between creating and locking it.
inline constexpr int64_t STALE_TEMPORARY_SECONDS = 60;

// True for the names temporary files get: ".varnholt-" ... ".tmp".
bool isTemporaryName(std::string_view name);

// Creates a new temporary file in directory (a descriptor, O_PATH is enough)
// named ".varnholt-<pid>-<16 hex digits>.tmp" from a random source (never the
// map's), retrying with a fresh name when one exists, and locks it with
// flock. Returns its descriptor, open for writing, and stores its name, or -1
// with errno set.
int createTemporary(int directory, mode_t mode, std::string& name);

// Removes the temporary files in directory that runs killed before they could
// clean up left behind: regular files with a temporary name that no process
// holds locked and that are unchanged for STALE_TEMPORARY_SECONDS. Files it
// may not open or remove are left alone; nothing here fails.
void removeStaleTemporaries(int directory);

}  // namespace varnholt::platform
