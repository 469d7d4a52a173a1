#include "cli/commandline.h"

#include <iostream>

namespace varnholt::cli {

std::string trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(kSpace) - first + 1));
}

std::optional<int> parseCommandLine(std::string_view usage, const std::string& docoptUsage,
                                    const std::vector<std::string>& arguments,
                                    std::string_view version, Rejection rejection,
                                    Options& options) {
  try {
    options = docopt::docopt_parse(docoptUsage, arguments, true, true, false);
  } catch (const docopt::DocoptExitHelp&) {
    std::cout << trimmed(usage) << std::endl;
    return 0;
  } catch (const docopt::DocoptExitVersion&) {
    std::cout << version << std::endl;
    return 0;
  } catch (const docopt::DocoptArgumentError&) {
    std::cerr << trimmed(usage.substr(usage.find("Usage:"))) << std::endl;
    return rejection.status;
  }
  return std::nullopt;
}

}  // namespace varnholt::cli
