#pragma once

#include <signal.h>

// Process set-up that both programs share, so that whatever standard output
// is (closed, a pipe that closes early, a full disk), it cannot cost a file.
namespace varnholt::cli {

// Opens each of the standard descriptors 0 to 2 that is closed on /dev/null,
// so no file the program opens later takes its number and receives console
// lines, and ignores SIGPIPE, so a reader that goes away turns writes to
// standard output into failed writes instead of ending the run. Call first.
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

}  // namespace varnholt::cli
