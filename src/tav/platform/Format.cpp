#include "tav/platform/Format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace tav {
namespace {

// The exponent of an e-style number has at least this many digits.
constexpr size_t kExponentDigits = 3;
// Room for any integer std::to_chars writes.
constexpr size_t kIntegerRoom = 24;
// Room for a %e or %g number besides its precision; %f adds the integer
// digits of the largest double.
constexpr size_t kFloatRoom = 32;
constexpr size_t kFixedIntegerDigits = 310;
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Below this a %f number's integer digits fit the room of a %e number.
constexpr double kShortFixed = 1e15;

enum Flag : unsigned { kLeft = 1, kZero = 2, kPlus = 4, kSpace = 8, kAlternate = 16 };

// One conversion directive ("%-8.3f"), read once and formatted from.
struct Directive {
  unsigned flags = 0;
  int width = -1;  // -1: none
  int precision = -1;
  std::string_view length;
  char conversion = 0;

  bool Has(Flag flag) const { return (flags & flag) != 0; }
};

unsigned FlagOf(char c) {
  switch (c) {
    case '-':
      return kLeft;
    case '0':
      return kZero;
    case '+':
      return kPlus;
    case ' ':
      return kSpace;
    case '#':
      return kAlternate;
    default:
      return 0;
  }
}

// Reads one conversion's flags, width, precision and length from `p` (just
// past its '%'), taking '*' values from the arguments.
Directive ReadDirective(const char*& p, va_list& ap) {
  Directive directive;
  while (const unsigned flag = FlagOf(*p)) {
    directive.flags |= flag;
    ++p;
  }
  if (*p == '*') {
    directive.width = va_arg(ap, int);
    if (directive.width < 0) {
      directive.flags |= kLeft;
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
      directive.precision = std::max(-1, va_arg(ap, int));
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p++ - '0');
    }
  }
  const char* length = p;
  while (*p == 'h' || *p == 'l' || *p == 'L' || *p == 'z' || *p == 'j' || *p == 't') ++p;
  directive.length = std::string_view(length, static_cast<size_t>(p - length));
  directive.conversion = *p;
  if (*p != '\0') ++p;
  return directive;
}

// Pads what was appended since `start` to the field width the way printf
// does: blanks after it with '-', zeros after the sign with '0' where the
// conversion allows them, blanks in front otherwise.
void PadField(std::string& out, size_t start, const Directive& directive, bool zerosAllowed) {
  const size_t length = out.size() - start;
  if (directive.width < 0 || length >= static_cast<size_t>(directive.width)) return;
  const size_t missing = static_cast<size_t>(directive.width) - length;
  if (directive.Has(kLeft)) {
    out.append(missing, ' ');
  } else if (zerosAllowed && directive.Has(kZero)) {
    const char first = out[start];
    out.insert(start + (first == '-' || first == '+' || first == ' ' ? 1 : 0), missing, '0');
  } else {
    out.insert(start, missing, ' ');
  }
}

// Widens the exponent of the e-style number appended since `start` to
// three digits: "1e+10" becomes "1e+010". Fixed notation, inf and nan have
// no exponent and stay as they are.
void WidenExponent(std::string& out, size_t start) {
  size_t e = start;
  while (e < out.size() && out[e] != 'e' && out[e] != 'E') ++e;
  if (e + 1 >= out.size()) return;
  const size_t digits = (out[e + 1] == '+' || out[e + 1] == '-') ? e + 2 : e + 1;
  const size_t count = out.size() - digits;
  if (count < kExponentDigits) out.insert(digits, kExponentDigits - count, '0');
}

template <typename T>
bool IsNegative(T value) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::signbit(value);
  } else {
    return value < 0;
  }
}

// '+' or ' ' in front of a signed conversion's value that has no '-'.
template <typename T>
void AppendSignFlag(std::string& out, const Directive& directive, T value) {
  if (IsNegative(value)) return;
  if (directive.Has(kPlus)) {
    out += '+';
  } else if (directive.Has(kSpace)) {
    out += ' ';
  }
}

template <typename T>
void AppendDigits(std::string& out, T value) {
  const size_t at = out.size();
  out.resize(at + kIntegerRoom);
  const char* end = std::to_chars(out.data() + at, out.data() + out.size(), value).ptr;
  out.resize(static_cast<size_t>(end - out.data()));
}

template <typename T>
void AppendInteger(std::string& out, const Directive& directive, T value) {
  const size_t start = out.size();
  if constexpr (std::is_signed_v<T>) AppendSignFlag(out, directive, value);
  AppendDigits(out, value);
  PadField(out, start, directive, true);
}

std::chars_format FloatStyle(char conversion) {
  switch (conversion) {
    case 'f':
    case 'F':
      return std::chars_format::fixed;
    case 'e':
    case 'E':
      return std::chars_format::scientific;
    default:
      return std::chars_format::general;
  }
}

// The integer digits of a whole number below 1e15, which std::to_chars
// writes many times faster for an integer than for a double.
void AppendWholeDigits(std::string& out, double value) {
  if (value == 0.0) {
    out += std::signbit(value) ? "-0" : "0";
    return;
  }
  AppendDigits(out, static_cast<long long>(value));
}

// %g of a whole number with no more digits than the precision is its
// integer digits ("-40", "0", "-0"); %f is those digits and the
// precision's zeros ("-40.00"). Whole numbers are what models are mostly
// made of; false for any other value or conversion.
bool AppendWhole(std::string& out, double value, std::chars_format style, int precision) {
  constexpr int kMostDigits = 15;  // whole doubles below 1e15 convert exactly
  if (value != std::trunc(value) || !(std::fabs(value) < kPowersOfTen[kMostDigits])) return false;
  if (style == std::chars_format::general) {
    if (precision > kMostDigits || !(std::fabs(value) < kPowersOfTen[std::max(precision, 1)])) return false;
    AppendWholeDigits(out, value);
    return true;
  }
  if (style != std::chars_format::fixed) return false;
  AppendWholeDigits(out, value);
  if (precision > 0) out.append(1, '.').append(static_cast<size_t>(precision), '0');
  return true;
}

// %g of a decimal of few digits (0.3125, -40.125, 12345.6), laid out from
// its integer digits. `value` is such a decimal when some count of places
// k makes value * 10^k a whole number n that divides back to exactly
// `value`: then n / 10^k is the decimal nearest to it, and with no more
// digits than the precision it is also what rounding to the precision
// gives, the double being far closer to it than to any rounding midpoint.
// Fixed layout only (1e-4 <= |value| < 10^precision); false otherwise.
bool AppendShortDecimal(std::string& out, double value, int precision) {
  constexpr int kMostDigits = 15;
  const double magnitude = std::fabs(value);
  if (precision < 1 || precision > kMostDigits || !(magnitude >= 1e-4 && magnitude < kPowersOfTen[precision])) {
    return false;
  }
  for (int places = 1; places <= precision; ++places) {
    const double digits = std::nearbyint(magnitude * kPowersOfTen[places]);
    if (!(digits < kPowersOfTen[precision])) return false;  // more digits than the precision shows
    if (digits / kPowersOfTen[places] != magnitude) continue;
    const auto number = static_cast<long long>(digits);
    const auto scale = static_cast<long long>(kPowersOfTen[places]);
    long long fraction = number % scale;
    if (fraction == 0) return false;  // whole: not laid out here
    int shown = places;
    for (; fraction % 10 == 0; fraction /= 10) --shown;
    if (std::signbit(value)) out += '-';
    AppendDigits(out, number / scale);
    out += '.';
    const size_t at = out.size();
    AppendDigits(out, fraction);
    out.insert(at, static_cast<size_t>(shown) - (out.size() - at), '0');
    return true;
  }
  return false;
}

// std::to_chars with a precision writes what printf writes for the same
// conversion (lower case); false when the number does not fit the room.
bool AppendFloating(std::string& out, const Directive& directive, double value) {
  const size_t start = out.size();
  AppendSignFlag(out, directive, value);
  const std::chars_format style = FloatStyle(directive.conversion);
  const int precision = directive.precision < 0 ? 6 : directive.precision;
  const size_t at = out.size();
  if (AppendWhole(out, value, style, precision) ||
      (style == std::chars_format::general && AppendShortDecimal(out, value, precision))) {
    PadField(out, start, directive, true);
    return true;
  }
  const bool longFixed = style == std::chars_format::fixed && !(std::fabs(value) < kShortFixed);
  const size_t room = kFloatRoom + static_cast<size_t>(precision) + (longFixed ? kFixedIntegerDigits : 0);
  out.resize(at + room);
  const auto [end, error] = std::to_chars(out.data() + at, out.data() + out.size(), value, style, precision);
  if (error != std::errc()) {
    out.resize(start);
    return false;
  }
  out.resize(static_cast<size_t>(end - out.data()));
  if (directive.conversion >= 'A' && directive.conversion <= 'Z') {
    std::transform(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(),
                   out.begin() + static_cast<std::ptrdiff_t>(at),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  }
  if (style != std::chars_format::fixed) WidenExponent(out, at);
  PadField(out, start, directive, std::isfinite(value));
  return true;
}

void AppendText(std::string& out, const Directive& directive, const char* text) {
  const size_t start = out.size();
  if (text == nullptr) text = "(null)";
  const size_t length =
      directive.precision < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(directive.precision));
  out.append(text, length);
  PadField(out, start, directive, false);
}

// The conversion rebuilt as a printf directive, for what the fast paths
// leave to the C library.
std::string PrintfDirective(const Directive& directive, bool withWidth) {
  std::string fmt(1, '%');
  for (const char flag : {'-', '0', '+', ' ', '#'}) {
    if ((directive.flags & FlagOf(flag)) != 0) fmt += flag;
  }
  if (withWidth && directive.width >= 0) fmt += std::to_string(directive.width);
  if (directive.precision >= 0) fmt += '.' + std::to_string(directive.precision);
  fmt += directive.length;
  fmt += directive.conversion;
  return fmt;
}

// Formats one value with the C library; the format is made here, never
// taken from outside, so the non-literal format is safe.
template <typename T>
void AppendPrintf(std::string& out, const Directive& directive, bool withWidth, T value) {
  const std::string fmt = PrintfDirective(directive, withWidth);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int size = std::snprintf(nullptr, 0, fmt.c_str(), value);
  if (size < 0) throw std::runtime_error("invalid conversion directive " + fmt);
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(size) + 1);
  std::snprintf(out.data() + at, static_cast<size_t>(size) + 1, fmt.c_str(), value);
#pragma GCC diagnostic pop
  out.resize(at + static_cast<size_t>(size));
}

// An e- or g-style number the fast path cannot take (long double, '#'):
// formatted without its width, widened, then padded.
template <typename T>
void AppendPrintfFloating(std::string& out, const Directive& directive, T value) {
  const size_t start = out.size();
  AppendPrintf(out, directive, false, value);
  WidenExponent(out, start);
  PadField(out, start, directive, std::isfinite(value));
}

// Integer conversions: to_chars for the common lengths without precision
// or '#', the C library for the rest.
template <typename Signed, typename Unsigned>
void AppendIntegerArgument(std::string& out, const Directive& directive, va_list& ap) {
  const bool plain = directive.precision < 0 && !directive.Has(kAlternate);
  if (directive.conversion == 'd' || directive.conversion == 'i') {
    const Signed value = va_arg(ap, Signed);
    plain ? AppendInteger(out, directive, value) : AppendPrintf(out, directive, true, value);
  } else if (directive.conversion == 'u' && plain) {
    AppendInteger(out, directive, va_arg(ap, Unsigned));
  } else {
    AppendPrintf(out, directive, true, va_arg(ap, Unsigned));
  }
}

void AppendIntegerConversion(std::string& out, const Directive& directive, va_list& ap) {
  const std::string_view length = directive.length;
  if (length == "l") {
    AppendIntegerArgument<long, unsigned long>(out, directive, ap);
  } else if (length == "ll" || length == "j") {
    AppendIntegerArgument<long long, unsigned long long>(out, directive, ap);
  } else if (length == "z" || length == "t") {
    AppendIntegerArgument<std::ptrdiff_t, size_t>(out, directive, ap);
  } else if (length.empty()) {
    AppendIntegerArgument<int, unsigned>(out, directive, ap);
  } else {  // h and hh: the C library narrows the value
    AppendPrintf(out, directive, true, va_arg(ap, int));
  }
}

void AppendFloatingConversion(std::string& out, const Directive& directive, va_list& ap) {
  const char c = directive.conversion;
  const bool eStyle = c == 'e' || c == 'E' || c == 'g' || c == 'G';
  if (directive.length == "L") {
    const long double value = va_arg(ap, long double);
    eStyle ? AppendPrintfFloating(out, directive, value) : AppendPrintf(out, directive, true, value);
    return;
  }
  const double value = va_arg(ap, double);
  const bool plain = !directive.Has(kAlternate) && c != 'a' && c != 'A';
  if (plain && AppendFloating(out, directive, value)) return;
  eStyle ? AppendPrintfFloating(out, directive, value) : AppendPrintf(out, directive, true, value);
}

// Takes the conversion's argument and appends it; false for a conversion
// this formatter does not know.
bool AppendConversion(std::string& out, const Directive& directive, va_list& ap) {
  const char conversion = directive.conversion;
  switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
      AppendIntegerConversion(out, directive, ap);
      return true;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
      AppendFloatingConversion(out, directive, ap);
      return true;
    default:
      break;
  }
  if (conversion == 's' && (directive.flags & ~kLeft) == 0 && directive.length.empty()) {
    AppendText(out, directive, va_arg(ap, const char*));
  } else if (conversion == 's') {
    AppendPrintf(out, directive, true, va_arg(ap, const char*));
  } else if (conversion == 'c' && (directive.flags & ~kLeft) == 0 && directive.length.empty()) {
    const size_t start = out.size();
    out += static_cast<char>(static_cast<unsigned char>(va_arg(ap, int)));
    PadField(out, start, directive, false);
  } else if (conversion == 'c') {
    AppendPrintf(out, directive, true, va_arg(ap, int));
  } else if (conversion == 'p') {
    AppendPrintf(out, directive, true, va_arg(ap, void*));
  } else {
    return false;
  }
  return true;
}

}  // namespace

void AppendFormatV(CString& out, const char* format, va_list args) {
  va_list ap;
  va_copy(ap, args);
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') {
      const char* next = p;
      while (*next != '\0' && *next != '%') ++next;
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
}

CString FormatV(const char* format, va_list args) {
  CString out;
  AppendFormatV(out, format, args);
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

void AppendFormat(CString& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    AppendFormatV(out, format, args);
    va_end(args);
  } catch (...) {
    va_end(args);
    throw;
  }
}

void AppendGeneral(CString& out, double value) {
  Directive directive;
  directive.conversion = 'g';
  AppendFloating(out, directive, value);
}

}  // namespace tav
