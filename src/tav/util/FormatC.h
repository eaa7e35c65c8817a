// Text formatted exactly as the C library's printf does, of any length.
// The solver input files need three-digit exponents and go through Format
// instead; this serves programs' messages and reports.
#pragma once

#include <cstdarg>
#include <string>

namespace tav {

std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tav
