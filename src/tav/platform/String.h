// Text types of the library. Strings are byte strings: whatever the host puts
// in (UTF-8 here) is stored and written unchanged.
#pragma once

#include <string>
#include <vector>

namespace tav {

using CString = std::string;
using CStringArray = std::vector<CString>;

// Appends the blank-separated words of `text` to `out`: runs of blanks (0x20
// only; a tab is part of a word) separate, leading and trailing blanks yield
// nothing.
void SplitAtBlanks(const CString& text, CStringArray& out);

}  // namespace tav
