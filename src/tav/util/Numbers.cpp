#include "tav/util/Numbers.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cstring>
#include <string>

namespace tav {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ParseLeadingDouble(const char* text, const char** end) {
  if (end != nullptr) *end = text;
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Only a digit, or a point followed by a digit, starts a number here.
  if (!IsDigit(*p) && !(*p == '.' && IsDigit(p[1]))) return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(p, p + std::strlen(p), value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) {
    // The number is well formed but beyond a double: give what atof gives
    // (infinity or the nearest tiny value), read in the "C" locale.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string digits(p, result.ptr);
    value = strtod_l(digits.c_str(), nullptr, cLocale);
  }
  if (end != nullptr) *end = result.ptr;
  return negative ? -value : value;
}

}  // namespace tav
