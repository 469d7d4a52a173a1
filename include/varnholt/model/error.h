#pragma once

#include <stdexcept>
#include <string>

namespace varnholt {

// The program's one error type: a kind ("Exception", "ValueError", "KeyError")
// and a message. The driver prints both in its final error line.
class Error : public std::runtime_error {
 public:
  Error(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}

  const std::string& kind() const { return kind_; }

 private:
  std::string kind_;
};

// Shorthands for the three kinds the program raises.
inline Error exception(const std::string& message) { return Error("Exception", message); }
inline Error valueError(const std::string& message) { return Error("ValueError", message); }
inline Error keyError(const std::string& message) { return Error("KeyError", message); }

}  // namespace varnholt
