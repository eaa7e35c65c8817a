// printf-style formatting for every text the library writes.
//
// Follows the C library, except that the exponent of %e, %E, %g and %G is
// always written with a sign and at least three digits ("1e+010",
// "1.23457e+006"), which is what the solver files have always carried.
// Only the converted number is touched, never the surrounding text.
#pragma once

#include <cstdarg>

#include "tav/platform/String.h"

namespace tav {

CString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
CString FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace tav
