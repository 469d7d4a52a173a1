#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace varnholt::bench {

// Sends the program's console lines to /dev/null while it lives, so the
// benchmark's own report stays readable and terminal speed is not measured.
class QuietStdout {
 public:
  QuietStdout() {
    std::cout.flush();
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  ~QuietStdout() {
    std::cout.flush();
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_;
};

}  // namespace varnholt::bench
