#pragma once

#include <string>
#include <string_view>

#include "varnholt/model/console.h"

// Consoles for tests: one that keeps what a run printed, one that drops it.
namespace varnholt::testing {

// Collects every line sent to console(); text() is all of it so far.
class Recorder {
 public:
  Recorder() : console_([this](std::string_view lines) { text_ += lines; }) {}
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  const Console& console() const { return console_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  Console console_;
};

inline const Console quiet = [](std::string_view) {};

}  // namespace varnholt::testing
