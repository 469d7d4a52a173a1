#include "cli/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace varnholt::cli {

namespace {

constexpr std::array<int, 4> kTerminationSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// What the termination handler removes; set before it is installed.
int removedDirectory = -1;
char removedName[256] = {};

void removeAndEnd(int signal) {
  ::unlinkat(removedDirectory, removedName, 0);
  // The handler was reset to the default on entry; the signal is held until
  // this returns, then ends the run as it would have without the handler.
  ::raise(signal);
}

}  // namespace

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

TerminationSignalsHeld::TerminationSignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : kTerminationSignals) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

TerminationSignalsHeld::~TerminationSignalsHeld() {
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

RemovedOnTermination::RemovedOnTermination(int directory, const std::string& name) {
  removedDirectory = directory;
  const size_t length = std::min(name.size(), sizeof removedName - 1);
  std::memcpy(removedName, name.data(), length);
  removedName[length] = '\0';
  struct sigaction action {};
  action.sa_handler = removeAndEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kTerminationSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    ::sigaction(kTerminationSignals[i], nullptr, &previous_[i]);
    if (previous_[i].sa_handler != SIG_IGN) ::sigaction(kTerminationSignals[i], &action, nullptr);
  }
}

RemovedOnTermination::~RemovedOnTermination() {
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    ::sigaction(kTerminationSignals[i], &previous_[i], nullptr);
  }
}

}  // namespace varnholt::cli
