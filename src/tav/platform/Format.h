// printf-style formatting for every text the library writes.
//
// Follows the C library, except that the exponent of %e, %E, %g and %G is
// always written with a sign and at least three digits ("1e+010",
// "1.23457e+006"), which is what the solver files have always carried.
// Only the converted number is touched, never the surrounding text.
//
// The writers format millions of numbers, so the common conversions are
// made with std::to_chars straight into the text; what is left (long
// double, '#', %x and the like) goes to the C library once.
#pragma once

#include <cstdarg>

#include "tav/platform/String.h"

namespace tav {

CString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
CString FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

// As Format, onto the end of `out`.
void AppendFormat(CString& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendFormatV(CString& out, const char* format, va_list args) __attribute__((format(printf, 2, 0)));

// "%g" of `value` onto the end of `out`.
void AppendGeneral(CString& out, double value);

}  // namespace tav
