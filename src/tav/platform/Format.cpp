#include "tav/platform/Format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tav {
namespace {

// One conversion directive ("%-8.3f"), split into the parts we need to rebuild it.
struct Directive {
  std::string flags;
  int width = -1;  // -1: none
  int precision = -1;
  std::string length;
  char conversion = 0;
};

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }

// Formats a single value with a format rebuilt from `directive`; the format
// is made here, never taken from outside, so the non-literal format is safe.
template <typename T>
std::string FormatOne(const Directive& directive, bool withWidth, T value) {
  std::string fmt(1, '%');
  fmt += directive.flags;
  if (withWidth && directive.width >= 0) fmt += std::to_string(directive.width);
  if (directive.precision >= 0) {
    fmt += '.';
    fmt += std::to_string(directive.precision);
  }
  fmt += directive.length;
  fmt += directive.conversion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int size = std::snprintf(nullptr, 0, fmt.c_str(), value);
  if (size < 0) throw std::runtime_error("invalid conversion directive " + fmt);
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
void PadToWidth(std::string& text, const Directive& directive) {
  if (directive.width < 0 || text.size() >= static_cast<size_t>(directive.width)) return;
  const size_t missing = static_cast<size_t>(directive.width) - text.size();
  const bool left = directive.flags.find('-') != std::string::npos;
  const bool zero = directive.flags.find('0') != std::string::npos;
  if (left) {
    text.append(missing, ' ');
  } else if (zero && text.find_first_of("iInN") == std::string::npos) {
    const size_t signEnd = (!text.empty() && (text[0] == '-' || text[0] == '+' || text[0] == ' ')) ? 1 : 0;
    text.insert(signEnd, missing, '0');
  } else {
    text.insert(0, missing, ' ');
  }
}

// Reads one conversion's flags, width, precision and length from `p` (just
// past its '%'), taking '*' values from the arguments.
Directive ReadDirective(const char*& p, va_list& ap) {
  Directive directive;
  while (IsFlag(*p)) directive.flags += *p++;
  if (*p == '*') {
    directive.width = va_arg(ap, int);
    if (directive.width < 0) {
      directive.flags += '-';
      directive.width = -directive.width;
    }
    ++p;
  } else {
    while (*p >= '0' && *p <= '9') directive.width = (directive.width < 0 ? 0 : directive.width * 10) + (*p++ - '0');
  }
  if (*p == '.') {
    ++p;
    directive.precision = 0;
    if (*p == '*') {
      directive.precision = va_arg(ap, int);
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p++ - '0');
    }
  }
  while (*p == 'h' || *p == 'l' || *p == 'L' || *p == 'z' || *p == 'j' || *p == 't') directive.length += *p++;
  directive.conversion = *p;
  if (*p != '\0') ++p;
  return directive;
}

// Takes the conversion's argument and formats it; false for a conversion
// this formatter does not know.
bool AppendConversion(std::string& out, const Directive& directive, va_list& ap) {
  switch (directive.conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
    case 'c':
      if (directive.length == "l") {
        out += FormatOne(directive, true, va_arg(ap, long));
      } else if (directive.length == "ll" || directive.length == "j") {
        out += FormatOne(directive, true, va_arg(ap, long long));
      } else if (directive.length == "z" || directive.length == "t") {
        out += FormatOne(directive, true, va_arg(ap, size_t));
      } else {
        out += FormatOne(directive, true, va_arg(ap, int));
      }
      return true;
    case 's':
      out += FormatOne(directive, true, va_arg(ap, const char*));
      return true;
    case 'p':
      out += FormatOne(directive, true, va_arg(ap, void*));
      return true;
    case 'f':
    case 'F':
    case 'a':
    case 'A':
      out += directive.length == "L" ? FormatOne(directive, true, va_arg(ap, long double))
                                     : FormatOne(directive, true, va_arg(ap, double));
      return true;
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
      std::string number = directive.length == "L" ? FormatOne(directive, false, va_arg(ap, long double))
                                                   : FormatOne(directive, false, va_arg(ap, double));
      WidenExponent(number);
      PadToWidth(number, directive);
      out += number;
      return true;
    }
    default:
      return false;
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
    const Directive directive = ReadDirective(p, ap);
    if (!AppendConversion(out, directive, ap)) {
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
