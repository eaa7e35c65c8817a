// A progress indicator a host implements to follow a long import.
#pragma once

#include <cstdint>

namespace tav {

class CProgressBar {
 public:
  virtual ~CProgressBar() = default;
  virtual void SetRange(int32_t lower, int32_t upper) = 0;
  virtual void SetPos(int32_t position) = 0;
};

}  // namespace tav
