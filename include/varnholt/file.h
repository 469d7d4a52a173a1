#pragma once

// Putting a finished file on disk, whole or not at all: a map file, a
// preview, anything a program writes. Used by both programs. One
// implementation per system, in the platform layer.
#include <cstdint>
#include <memory>
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
  // Throws Exception, worded as asked, unless path (UTF-8) can take a file:
  // an existing regular file this process may write and replace, or a new
  // name in an existing directory it may write to. A symbolic link stands for
  // the file it points to. Refused: anything that is not a regular file
  // (directory, device such as /dev/null or NUL, FIFO, socket, a link to
  // nothing), the file that is this process's standard output or error (such
  // as /dev/stdout redirected to a file), and on POSIX systems another user's
  // file in a sticky directory of a third user, which the rename could not
  // replace. Then removes the temporary files that killed runs left in the
  // directory (unchanged for a minute and held by no run) and creates the
  // temporary file under a name no one can predict, held while it lives so
  // that other runs leave it alone (POSIX: flock; Windows: opened without
  // sharing), with the permissions of the file it will replace.
  PendingFile(const std::string& path, Wording wording);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Appends bytes to the temporary file. Never throws: the first failure is
  // kept, later writes are skipped, and commit reports it.
  void write(std::span<const uint8_t> bytes) noexcept;

  // True once a write has failed; commit reports why.
  bool failed() const;

  // Flushes the temporary file to disk and renames it over the file (through
  // a link at the path, over the file it points to) in one step that the
  // system completes on disk before it returns. Throws Exception ("Failed to
  // write path <path>: <reason>" or "cannot write <path>: <reason>") when a
  // write, the flush or the rename failed, after removing the temporary file.
  // Call once.
  void commit();

  // The path the file is put at, as given.
  const std::string& path() const { return path_; }

  // The temporary file's name in the directory of the file it will replace.
  const std::string& temporaryName() const { return temporary_; }

  // Removes the temporary file at once, for a run that is being ended before
  // commit. Safe in a POSIX signal handler and from the thread Windows runs
  // console events in.
  void removeTemporary() const noexcept;

 private:
  struct System;  // the system's handles of the directory and the temporary file
  std::string path_;
  Wording wording_;
  std::string temporary_;
  std::unique_ptr<System> system_;
  bool committed_ = false;
};

}  // namespace varnholt::mapfile
