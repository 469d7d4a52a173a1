#pragma once

// Runs a built program as a user would and collects its three outputs.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tempdir.h"

namespace varnholt::testing {

struct Outcome {
  std::string out;
  std::string err;
  int status;  // the exit status, -1 if the program did not exit
};

// Runs a shell command line in dir. Its standard output and error pass
// through out.txt and err.txt there, which are removed again, unless the
// command line redirects them itself.
inline Outcome runShellIn(const std::filesystem::path& dir, const std::string& commandLine) {
  const std::string command =
      "cd '" + dir.string() + "' && { " + commandLine + "\n} >out.txt 2>err.txt";
  const int raw = std::system(command.c_str());
  Outcome outcome{slurp(dir / "out.txt"), slurp(dir / "err.txt"),
                  WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
  std::filesystem::remove(dir / "out.txt");
  std::filesystem::remove(dir / "err.txt");
  return outcome;
}

// Runs program with arguments (shell words) in dir, as runShellIn does.
inline Outcome runIn(const std::filesystem::path& dir, const std::string& program,
                     const std::string& arguments) {
  return runShellIn(dir, "'" + program + "' " + arguments);
}

}  // namespace varnholt::testing
