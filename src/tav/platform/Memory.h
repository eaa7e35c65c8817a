// Advice to the system about memory the library is about to fill.
#pragma once

#include <cstddef>

namespace tav {

// Asks the system to back the untouched block at `data` with huge pages:
// the first write to a big block then takes one page fault per 2 MiB
// instead of one per 4 KiB. Only advice; a block under 4 MiB, or a system
// that declines, gets the usual pages.
void AdviseHugePages(void* data, size_t bytes);

}  // namespace tav
