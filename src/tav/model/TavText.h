// Pieces of text shared by the solver input formats.
#pragma once

#include <cstdint>

#include "tav/model/OwnFormatWords.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

// A real as the own solver input writes it: "%g" with a "." appended when the
// text has none (2 gives "2.", 1e10 gives "1e+010.", -12.5 gives "-12.5").
// In full precision the digits are the fewest that read back to `value`
// (never fewer than "%g" shows), laid out by the same rules, so a value of
// six significant digits or less has the same text either way.
CString GetRealText(double value, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);
// The same onto the end of `out`.
void AppendRealText(CString& out, double value, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);
// The same without the appended ".": the plain "%g" places of the format.
CString GetPlainRealText(double value, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);

// The names of the set bits 0 to 5 of `flags`, in bit order, joined by
// `separator`; bits 6 and 7 are ignored.
CString JoinFlagNames(uint8_t flags, const words::Words<6>& names, const char* separator);

// The separator a TaV_TEXT_SEPERATE_TYPE stands for: "," for 1, " " otherwise.
const char* SeparatorText(TaV_TEXT_SEPERATE_TYPE type);

// "NAME=value" for each of the six values that is not exactly 0, joined by
// one blank; values in the real text above.
CString JoinNonZeroValues(const double (&values)[6], const words::Words<6>& names,
                          TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);
// The same onto the end of `out`.
void AppendNonZeroValues(CString& out, const double (&values)[6], const words::Words<6>& names,
                         TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);

}  // namespace tav
