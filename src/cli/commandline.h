#pragma once

#include <docopt/docopt.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a command line against a usage text, shared by both programs.
namespace varnholt::cli {

using Options = std::map<std::string, docopt::value>;

// text without leading and trailing blanks and line breaks.
std::string trimmed(std::string_view text);

// What a program does with a command line that docopt rejects.
struct Rejection {
  int status;  // the exit status after the usage section is printed
};

// Parses arguments against docoptUsage, the usage text as docopt should read
// it. Help prints usage (trimmed) and version prints version, both to standard
// output; a rejected command line prints the usage section of usage, from
// "Usage:" on, to standard error. Each of these returns the exit status to end
// with (0, 0 and rejection.status); otherwise nothing is printed and the parsed
// options are stored in options.
std::optional<int> parseCommandLine(std::string_view usage, const std::string& docoptUsage,
                                    const std::vector<std::string>& arguments,
                                    std::string_view version, Rejection rejection,
                                    Options& options);

}  // namespace varnholt::cli
