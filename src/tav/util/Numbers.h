// Reading numbers from text the same way whatever locale the host runs in.
#pragma once

#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace tav {

// Reads a decimal number at the start of `text` as atof does (leading white
// space skipped, optional sign, digits with an optional point and exponent,
// the longest valid prefix), but never "inf", "nan" or hexadecimal forms and
// never a comma for a point. Returns 0.0 when there is no number; `end`,
// when given, receives the first character not read (`text` itself when
// nothing was read).
double ParseLeadingDouble(const char* text, const char** end = nullptr);
// The same over `text`, never reading past its end: `used` receives how many
// characters the number took (0 when there is none). Inline: long reports
// read millions of numbers through it.
inline double ParseLeadingDouble(std::string_view text, size_t& used);

namespace numbers_detail {

inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// What atof gives for the well-formed number from `first` to `last` that is
// beyond a double: infinity or the nearest tiny value.
double BeyondDouble(const char* first, const char* last);

}  // namespace numbers_detail

inline double ParseLeadingDouble(std::string_view text, size_t& used) {
  using numbers_detail::IsDigit;
  used = 0;
  const char* const last = text.data() + text.size();
  const char* p = text.data();
  while (p != last && numbers_detail::IsSpace(*p)) ++p;
  bool negative = false;
  if (p != last && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  // Only a digit, or a point followed by a digit, starts a number here.
  if (p == last || !(IsDigit(*p) || (*p == '.' && p + 1 != last && IsDigit(p[1])))) return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(p, last, value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) value = numbers_detail::BeyondDouble(p, result.ptr);
  used = static_cast<size_t>(result.ptr - text.data());
  return negative ? -value : value;
}

}  // namespace tav
