#include "tav/platform/Memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace tav {

void AdviseHugePages(void* data, size_t bytes) {
  constexpr uintptr_t kPage = 4096;
  constexpr size_t kHugePage = size_t{2} << 20;
  if (data == nullptr || bytes < 2 * kHugePage) return;
  const auto begin = (reinterpret_cast<uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kPage - 1);
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace tav
