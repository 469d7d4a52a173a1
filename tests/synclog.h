#pragma once

// Records how this process puts files in place: the calls to fsync,
// fdatasync, renameat and rename, in order. The test binary defines these
// functions itself, which links them in place of the C library's for all the
// code it holds; each records the call while a SyncLog lives and passes it on.
#include <sys/types.h>

#include <string>
#include <vector>

namespace varnholt::testing {

struct SyncCall {
  std::string function;  // "fsync", "fdatasync", "renameat" or "rename"
  ino_t inode;           // the file synced, or the file renamed
  std::string name;      // for the renames, the new name
};

class SyncLog {
 public:
  SyncLog();
  ~SyncLog();
  SyncLog(const SyncLog&) = delete;
  SyncLog& operator=(const SyncLog&) = delete;

  // The calls made so far.
  std::vector<SyncCall> calls() const;
};

}  // namespace varnholt::testing
