#include "cli/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace varnholt::cli {

void prepareStandardStreams() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // open() returns the lowest free number, which is this one.
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened != descriptor && opened >= 0) ::close(opened);
  }
  ::signal(SIGPIPE, SIG_IGN);
}

TerminationSignalsHeld::TerminationSignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

TerminationSignalsHeld::~TerminationSignalsHeld() {
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace varnholt::cli
