#pragma once

// Checks on the Error that a call throws. A failure names the line that asked
// for the check as well as this header's.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <source_location>
#include <string>

#include "varnholt/model/error.h"

namespace varnholt::testing {

// The Error that call throws; a failure, and nothing, if it throws none.
inline std::optional<Error> thrownError(const std::function<void()>& call,
                                        const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const Error& error) {
    return error;
  }
  return std::nullopt;
}

// Expects call to throw an Error of this kind and message.
inline void expectError(const std::function<void()>& call, const std::string& kind,
                        const std::string& message,
                        const std::source_location& where = std::source_location::current()) {
  const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "expectError");
  if (const std::optional<Error> error = thrownError(call, message)) {
    EXPECT_EQ(error->kind(), kind);
    EXPECT_EQ(std::string(error->what()), message);
  }
}

// Expects call to throw an Error with this message, of whatever kind.
inline void expectErrorMessage(const std::function<void()>& call, const std::string& message,
                               const std::source_location& where = std::source_location::current()) {
  const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()),
                                     "expectErrorMessage");
  if (const std::optional<Error> error = thrownError(call, message)) {
    EXPECT_EQ(std::string(error->what()), message);
  }
}

}  // namespace varnholt::testing
