#pragma once

#include <signal.h>

#include <array>
#include <string>

// Process set-up that both programs share, so that whatever standard output
// is (closed, a pipe that closes early, a full disk), it cannot cost a file.
namespace varnholt::cli {

// Opens each of the standard descriptors 0 to 2 that is closed on /dev/null,
// so no file the program opens later takes its number and receives console
// lines; ignores SIGPIPE, so a reader that goes away turns writes to standard
// output into failed writes instead of ending the run; and ignores SIGXFSZ, so
// a write beyond the file size limit (ulimit -f) fails with "File too large"
// and is reported instead of ending the run. Call first.
void prepareStandardStreams();

// While one lives, SIGHUP, SIGINT, SIGQUIT and SIGTERM are held back in the
// calling thread and take effect when it ends: a file being put in place is
// either complete or not begun when such a signal ends the run.
class TerminationSignalsHeld {
 public:
  TerminationSignalsHeld();
  ~TerminationSignalsHeld();
  TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
  TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// While one lives, SIGHUP, SIGINT, SIGQUIT or SIGTERM first removes the file
// name in directory (a descriptor) and then ends the run as it would have, so
// a run stopped before its file is in place leaves no temporary file behind.
// Signals the process ignores stay ignored. One at a time per process.
class RemovedOnTermination {
 public:
  RemovedOnTermination(int directory, const std::string& name);
  ~RemovedOnTermination();
  RemovedOnTermination(const RemovedOnTermination&) = delete;
  RemovedOnTermination& operator=(const RemovedOnTermination&) = delete;

 private:
  std::array<struct sigaction, 4> previous_;
};

}  // namespace varnholt::cli
