// Splitting texts into tokens.
#pragma once

#include "tav/platform/String.h"

namespace tav {

// Splits `text` at `separator` after cutting it before the first `comment`
// marker (when given and not empty). Every separator ends a token, so a run
// of n separators yields n - 1 empty tokens, and a leading or trailing
// separator an empty first or last token; each token is trimmed of white
// space, and empty tokens are dropped only when `skipEmpty` is non-zero.
// Returns 0 and leaves `out` untouched when the text is empty or all blanks
// (0x20) after the cut; otherwise empties `out`, fills it and returns 1.
int TokenizeText(CStringArray& out, CString text, char separator, const CString* comment, int skipEmpty);

}  // namespace tav
