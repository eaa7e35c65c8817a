// Text types of the library. Strings are byte strings: whatever the host puts
// in (UTF-8 here) is stored and written unchanged.
#pragma once

#include <string>
#include <vector>

namespace tav {

using CString = std::string;
using CStringArray = std::vector<CString>;

}  // namespace tav
