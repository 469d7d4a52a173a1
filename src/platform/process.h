#pragma once

#include <memory>
#include <string>
#include <vector>

#include "varnholt/file.h"

// Process set-up that both programs share, so that whatever standard output
// is (closed, a pipe that closes early, a full disk), it cannot cost a file.
// One implementation per system: posix/process.cpp and windows/process.cpp.
namespace varnholt::platform {

// The program's arguments after its name, each in UTF-8 whatever the
// system's own encoding of the command line.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes standard output and error safe to write whatever they are. POSIX:
// opens each of the standard descriptors 0 to 2 that is closed on /dev/null,
// so no file the program opens later takes its number and receives console
// lines; ignores SIGPIPE, so a reader that goes away turns writes to standard
// output into failed writes instead of ending the run; and ignores SIGXFSZ,
// so a write beyond the file size limit (ulimit -f) fails with "File too
// large" and is reported instead of ending the run. Windows: standard output
// and error write their bytes unchanged ("\n" stays "\n") and a console shows
// them as UTF-8. Call first.
void prepareStandardStreams();

// While one lives, a request to end the run is held back in the calling
// thread and takes effect when it ends: a file being put in place is either
// complete or not begun when such a request ends the run. POSIX: SIGHUP,
// SIGINT, SIGQUIT and SIGTERM; Windows: Ctrl-C, Ctrl-Break and closing the
// console window.
class TerminationHeld {
 public:
  TerminationHeld();
  ~TerminationHeld();
  TerminationHeld(const TerminationHeld&) = delete;
  TerminationHeld& operator=(const TerminationHeld&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// While one lives, a request to end the run (as TerminationHeld lists them)
// first removes the temporary file of file, which must outlive it, and then
// ends the run as it would have, so a run stopped before its file is in place
// leaves no temporary file behind. Signals the process ignores stay ignored.
// One at a time per process.
class RemovedOnTermination {
 public:
  explicit RemovedOnTermination(const mapfile::PendingFile& file);
  ~RemovedOnTermination();
  RemovedOnTermination(const RemovedOnTermination&) = delete;
  RemovedOnTermination& operator=(const RemovedOnTermination&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace varnholt::platform
