// Rounding of result values for display and comparison.
#pragma once

namespace tav {

// Rounds `value` to `decimals` places with halves going up towards +infinity:
// floor((value + 5e-(decimals+1)) * 10^decimals) / 10^decimals.
double RoundDecimals(double value, int decimals);

// The six-decimal rounding applied to every result value handed to a host.
inline double RoundResult(double value) { return RoundDecimals(value, 6); }

}  // namespace tav
