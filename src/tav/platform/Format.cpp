#include "tav/platform/Format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tav {
namespace {

// One conversion specification, split into the parts we need to rebuild it.
struct Spec {
  std::string flags;
  int width = -1;  // -1: none
  int precision = -1;
  std::string length;
  char conversion = 0;
};

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }

// Formats a single value with a specification rebuilt from `spec`; the
// specification is made here, never taken from outside, so the non-literal
// format is safe.
template <typename T>
std::string FormatOne(const Spec& spec, bool withWidth, T value) {
  std::string fmt(1, '%');
  fmt += spec.flags;
  if (withWidth && spec.width >= 0) fmt += std::to_string(spec.width);
  if (spec.precision >= 0) {
    fmt += '.';
    fmt += std::to_string(spec.precision);
  }
  fmt += spec.length;
  fmt += spec.conversion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int size = std::snprintf(nullptr, 0, fmt.c_str(), value);
  if (size < 0) throw std::runtime_error("invalid format specification " + fmt);
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), fmt.c_str(), value);
#pragma GCC diagnostic pop
  out.resize(static_cast<size_t>(size));
  return out;
}

// Widens the exponent of an e-style number to three digits: "1e+10" becomes
// "1e+010". Text without an exponent (fixed notation, inf, nan) is unchanged.
void WidenExponent(std::string& text) {
  const size_t e = text.find_first_of("eE");
  if (e == std::string::npos || e + 1 >= text.size()) return;
  const size_t digits = (text[e + 1] == '+' || text[e + 1] == '-') ? e + 2 : e + 1;
  const size_t count = text.size() - digits;
  if (count < 3) text.insert(digits, 3 - count, '0');
}

// Pads a finished floating-point text to the field width the way printf
// would have: left-justified with '-', zeros after the sign with '0' (finite
// numbers only), blanks in front otherwise.
void PadToWidth(std::string& text, const Spec& spec) {
  if (spec.width < 0 || text.size() >= static_cast<size_t>(spec.width)) return;
  const size_t missing = static_cast<size_t>(spec.width) - text.size();
  const bool left = spec.flags.find('-') != std::string::npos;
  const bool zero = spec.flags.find('0') != std::string::npos;
  if (left) {
    text.append(missing, ' ');
  } else if (zero && text.find_first_of("iInN") == std::string::npos) {
    const size_t signEnd = (!text.empty() && (text[0] == '-' || text[0] == '+' || text[0] == ' ')) ? 1 : 0;
    text.insert(signEnd, missing, '0');
  } else {
    text.insert(0, missing, ' ');
  }
}

}  // namespace

CString FormatV(const char* format, va_list args) {
  va_list ap;
  va_copy(ap, args);
  std::string out;
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') {
      const char* next = std::strchr(p, '%');
      if (next == nullptr) next = p + std::strlen(p);
      out.append(p, next);
      p = next;
      continue;
    }
    ++p;  // past '%'
    if (*p == '%') {
      out += '%';
      ++p;
      continue;
    }
    Spec spec;
    while (IsFlag(*p)) spec.flags += *p++;
    if (*p == '*') {
      spec.width = va_arg(ap, int);
      if (spec.width < 0) {
        spec.flags += '-';
        spec.width = -spec.width;
      }
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') spec.width = (spec.width < 0 ? 0 : spec.width * 10) + (*p++ - '0');
    }
    if (*p == '.') {
      ++p;
      spec.precision = 0;
      if (*p == '*') {
        spec.precision = va_arg(ap, int);
        ++p;
      } else {
        while (*p >= '0' && *p <= '9') spec.precision = spec.precision * 10 + (*p++ - '0');
      }
    }
    while (*p == 'h' || *p == 'l' || *p == 'L' || *p == 'z' || *p == 'j' || *p == 't') spec.length += *p++;
    spec.conversion = *p;
    if (*p != '\0') ++p;

    switch (spec.conversion) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
      case 'c':
        if (spec.length == "l") {
          out += FormatOne(spec, true, va_arg(ap, long));
        } else if (spec.length == "ll" || spec.length == "j") {
          out += FormatOne(spec, true, va_arg(ap, long long));
        } else if (spec.length == "z" || spec.length == "t") {
          out += FormatOne(spec, true, va_arg(ap, size_t));
        } else {
          out += FormatOne(spec, true, va_arg(ap, int));
        }
        break;
      case 's':
        out += FormatOne(spec, true, va_arg(ap, const char*));
        break;
      case 'p':
        out += FormatOne(spec, true, va_arg(ap, void*));
        break;
      case 'f':
      case 'F':
      case 'a':
      case 'A':
        out += spec.length == "L" ? FormatOne(spec, true, va_arg(ap, long double))
                                  : FormatOne(spec, true, va_arg(ap, double));
        break;
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        std::string number = spec.length == "L" ? FormatOne(spec, false, va_arg(ap, long double))
                                                : FormatOne(spec, false, va_arg(ap, double));
        WidenExponent(number);
        PadToWidth(number, spec);
        out += number;
        break;
      }
      default:
        va_end(ap);
        throw std::invalid_argument(std::string("unsupported conversion in format \"") + format + "\"");
    }
  }
  va_end(ap);
  return out;
}

CString Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    CString text = FormatV(format, args);
    va_end(args);
    return text;
  } catch (...) {
    va_end(args);
    throw;
  }
}

}  // namespace tav
