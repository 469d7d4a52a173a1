#pragma once

#include <string>

#include "varnholt/escaping.h"
#include "varnholt/file.h"
#include "varnholt/model/error.h"

// The wording of every failure to put a file in place, the same on every
// system; each implementation passes the system's own reason text. The path
// is quoted with its control characters escaped, so a message stays one line.
namespace varnholt::mapfile::failures {

// The system refused to let a file be created beside path.
[[noreturn]] inline void cannotCreate(const std::string& reason, const std::string& path,
                                      Wording wording) {
  const std::string shown = escapeControlCharacters(path);
  if (wording == Wording::ONE_LINE) throw exception("cannot write " + shown + ": " + reason);
  throw exception(reason + "\nAdditional info: " + shown);
}

// Path names something that cannot take a file.
[[noreturn]] inline void refuse(const std::string& path, const std::string& what,
                                Wording wording) {
  const std::string shown = escapeControlCharacters(path);
  if (wording == Wording::ONE_LINE) throw exception("cannot write " + shown + ": " + what);
  throw exception("Refusing output path " + shown + ": " + what);
}

// Writing, syncing or renaming the file failed.
[[noreturn]] inline void cannotWrite(const std::string& reason, const std::string& path,
                                     Wording wording) {
  const std::string shown = escapeControlCharacters(path);
  if (wording == Wording::ONE_LINE) throw exception("cannot write " + shown + ": " + reason);
  throw exception("Failed to write path " + shown + ": " + reason);
}

}  // namespace varnholt::mapfile::failures
