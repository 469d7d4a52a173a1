#pragma once

#include <cstdint>
#include <span>
#include <string>

// Putting a finished file on disk, whole or not at all. One implementation
// per system: posix/savefile.cpp and windows/savefile.cpp.
namespace varnholt::platform {

// Throws Exception unless path can take an output file: an existing regular file
// this process may write, or a new name in an existing directory it may write
// to. A symbolic link stands for the file it points to. Refused, each with one
// line naming the path: anything that is not a regular file (directory,
// device, FIFO, socket, a link to nothing) and the file that is this process's
// standard output or error (such as /dev/stdout redirected to a file). Where
// the system refuses access, the message is the system's reason, then
// "\nAdditional info: " and path.
void checkOutputPath(const std::string& path);

// Puts bytes at path whole or not at all: checks path as checkOutputPath
// does, writes bytes to a new file beside it (same directory, a name starting
// with '.' and holding ".tmp"), syncs that to disk and renames it over path.
// The new file keeps the permissions of the one it replaces. On any failure
// the temporary file is removed and whatever stood at path is left untouched.
// Throws Exception with the system's reason and "\nAdditional info: <path>"
// when no file can be created beside path, and "Failed to write path <path>:
// <reason>" when writing, syncing or renaming fails.
void saveFile(std::span<const uint8_t> bytes, const std::string& path);

}  // namespace varnholt::platform
