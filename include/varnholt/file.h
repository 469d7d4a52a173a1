#pragma once

// Putting a finished file on disk, whole or not at all: a map file, a
// preview, anything a program writes. Used by both programs.
#include <cstdint>
#include <span>
#include <string>

namespace varnholt::mapfile {

// How a failure to put a file in place is worded. Paths are quoted with their
// control characters escaped, so a message never breaks its line.
enum class Wording {
  // The generator's lines: "Refusing output path <path>: <what>" for a path
  // that is no file, "<reason>\nAdditional info: <path>" where the system
  // refuses to create a file beside it, "Failed to write path <path>:
  // <reason>" when writing, syncing or renaming fails.
  MAP_FILE,
  // One line for every failure: "cannot write <path>: <reason>".
  ONE_LINE,
};

// A file on its way to a path. It is created up front as a temporary file
// beside the file the path names (".varnholt-<pid>-<16 random hex digits>.tmp"
// in the same directory), so a path that cannot take a file fails before any
// work is done; it is filled by write and put in place by commit. Until then
// whatever stood at the path is untouched. Destroying a PendingFile that was
// not committed removes its temporary file. Not safe to share between threads.
class PendingFile {
 public:
  // Throws Exception, worded as asked, unless path can take a file: an
  // existing regular file this process may write and replace, or a new name
  // in an existing directory it may write to. A symbolic link stands for the
  // file it points to. Refused: anything that is not a regular file
  // (directory, device, FIFO, socket, a link to nothing), the file that is
  // this process's standard output or error (such as /dev/stdout redirected
  // to a file), and another user's file in a sticky directory of a third
  // user, which the rename could not replace. Then removes the temporary
  // files that killed runs left in the directory (unlocked, and unchanged for
  // a minute) and creates the temporary file under a name no one can predict,
  // locked (flock) while it lives so that other runs leave it alone, with the
  // permissions of the file it will replace.
  PendingFile(const std::string& path, Wording wording);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Appends bytes to the temporary file. Never throws: the first failure is
  // kept, later writes are skipped, and commit reports it.
  void write(std::span<const uint8_t> bytes) noexcept;

  // True once a write has failed; commit reports why.
  bool failed() const { return writeError_ != 0; }

  // Syncs the temporary file to disk and renames it over the file (through a
  // link at the path, over the file it points to), then syncs the directory.
  // Throws Exception ("Failed to write path <path>: <reason>" or "cannot
  // write <path>: <reason>") when a write, the sync or the rename failed,
  // after removing the temporary file. Call once.
  void commit();

  // The path the file is put at, as given.
  const std::string& path() const { return path_; }

  // Where the temporary file lies: a descriptor of its directory and its
  // name there. For removing it from a signal handler.
  int directory() const { return directory_; }
  const std::string& temporaryName() const { return temporary_; }

 private:
  std::string path_;
  Wording wording_;
  int directory_ = -1;  // opened with O_PATH: for the *at calls only
  std::string target_;  // the name the file takes in that directory
  std::string temporary_;
  int descriptor_ = -1;
  int writeError_ = 0;
  bool committed_ = false;
};

}  // namespace varnholt::mapfile
