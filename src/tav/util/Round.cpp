#include "tav/util/Round.h"

#include <cmath>

namespace tav {

double RoundDecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double half = 5.0 * std::pow(10.0, -(decimals + 1));
  return std::floor((value + half) * scale) / scale;
}

}  // namespace tav
