#pragma once

// Time and memory budgets of tests that run the programs: a sanitized build
// runs several times slower and takes more memory, so its budgets scale.
namespace varnholt::testing {

#ifdef VARNHOLT_SANITIZED
inline constexpr int BUDGET_FACTOR = 8;
#else
inline constexpr int BUDGET_FACTOR = 1;
#endif

}  // namespace varnholt::testing
