#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace varnholt::platform {

namespace {

constexpr std::array<int, 4> kTerminationSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// What the termination handler removes; set before it is installed.
const mapfile::PendingFile* removed = nullptr;

void removeAndEnd(int signal) {
  removed->removeTemporary();
  // The handler was reset to the default on entry; the signal is held until
  // this returns, then ends the run as it would have without the handler.
  ::raise(signal);
}

}  // namespace

struct TerminationHeld::State {
  sigset_t previous;
};

struct RemovedOnTermination::State {
  std::array<struct sigaction, kTerminationSignals.size()> previous;
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
  ::signal(SIGXFSZ, SIG_IGN);
}

TerminationHeld::TerminationHeld() : state_(std::make_unique<State>()) {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : kTerminationSignals) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &state_->previous);
}

TerminationHeld::~TerminationHeld() { pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr); }

RemovedOnTermination::RemovedOnTermination(const mapfile::PendingFile& file)
    : state_(std::make_unique<State>()) {
  removed = &file;
  struct sigaction action {};
  action.sa_handler = removeAndEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kTerminationSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    ::sigaction(kTerminationSignals[i], nullptr, &state_->previous[i]);
    if (state_->previous[i].sa_handler != SIG_IGN) {
      ::sigaction(kTerminationSignals[i], &action, nullptr);
    }
  }
}

RemovedOnTermination::~RemovedOnTermination() {
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    ::sigaction(kTerminationSignals[i], &state_->previous[i], nullptr);
  }
  removed = nullptr;
}

}  // namespace varnholt::platform
