#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace varnholt::platform {

struct TerminationHeld::State {
  sigset_t previous;
};

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void prepareStandardStreams() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // open() returns the lowest free number, which is this one.
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened != descriptor && opened >= 0) ::close(opened);
  }
  ::signal(SIGPIPE, SIG_IGN);
}

TerminationHeld::TerminationHeld() : state_(std::make_unique<State>()) {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &state_->previous);
}

TerminationHeld::~TerminationHeld() { pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr); }

}  // namespace varnholt::platform
