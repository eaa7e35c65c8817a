#include "tav/util/Numbers.h"

#include <locale.h>
#include <stdlib.h>

#include <string>

namespace tav {

double numbers_detail::BeyondDouble(const char* first, const char* last) {
  // Read in the "C" locale, whatever the host's.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  const std::string digits(first, last);
  return strtod_l(digits.c_str(), nullptr, cLocale);
}

double ParseLeadingDouble(const char* text, const char** end) {
  size_t used = 0;
  const double value = ParseLeadingDouble(std::string_view(text), used);
  if (end != nullptr) *end = text + used;
  return value;
}

}  // namespace tav
