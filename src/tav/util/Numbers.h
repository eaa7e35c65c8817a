// Reading numbers from text the same way whatever locale the host runs in.
#pragma once

namespace tav {

// Reads a decimal number at the start of `text` as atof does (leading white
// space skipped, optional sign, digits with an optional point and exponent,
// the longest valid prefix), but never "inf", "nan" or hexadecimal forms and
// never a comma for a point. Returns 0.0 when there is no number; `end`,
// when given, receives the first character not read (`text` itself when
// nothing was read).
double ParseLeadingDouble(const char* text, const char** end = nullptr);

}  // namespace tav
