#pragma once

// Work runs several times slower under the sanitizers (and at their lower
// optimisation); a bound that guards speed in the release build allows for
// that there instead of failing on it alone.
#ifdef TILEMONT_CHECK_BUILD
constexpr int kTimeBudgetFactor = 4;
#else
constexpr int kTimeBudgetFactor = 1;
#endif
