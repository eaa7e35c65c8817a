// Pieces of text shared by the solver input formats.
#pragma once

#include <cstdint>

#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

// "%g" with a "." appended when the text has none: 2 gives "2.", 1e10 gives
// "1e+010.", -12.5 gives "-12.5".
CString GetRealText(double value);

// The names of the set bits 0 to 5 of `flags`, in bit order, joined by
// `separator`; bits 6 and 7 are ignored.
CString JoinFlagNames(uint8_t flags, const char* const (&names)[6], const char* separator);

// The separator a TaV_TEXT_SEPERATE_TYPE stands for: "," for 1, " " otherwise.
const char* SeparatorText(TaV_TEXT_SEPERATE_TYPE type);

// "NAME=value" for each of the six values that is not exactly 0, joined by
// one blank; values in the real text above.
CString JoinNonZeroValues(const double (&values)[6], const char* const (&names)[6]);

}  // namespace tav
