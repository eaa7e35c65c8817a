#include "tav/model/TavText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "tav/platform/Format.h"

namespace tav {
namespace {

// "%g" shows this many significant digits; full precision never shows fewer,
// so that it lays a number out exactly as "%g" would whenever it can.
constexpr int kGeneralDigits = 6;
// Exponents are written with at least this many digits, as everywhere in
// the solver inputs.
constexpr size_t kExponentDigits = 3;

// The significant digits of the shortest text that reads back to `value`,
// without sign or point, and the decimal exponent of the first one.
struct ShortestDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

ShortestDigits Shortest(double value) {
  std::string text(32, '\0');  // the longest scientific form is 24 characters
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific).ptr;
  text.resize(static_cast<size_t>(end - text.data()));
  ShortestDigits result;
  size_t at = 0;
  if (text[at] == '-') {
    result.negative = true;
    ++at;
  }
  const size_t e = text.find('e', at);
  for (size_t i = at; i < e; ++i) {
    if (text[i] != '.') result.digits += text[i];
  }
  result.exponent = std::atoi(text.c_str() + e + 1);
  return result;
}

CString GeneralText(double value) {
  CString text;
  AppendGeneral(text, value);
  return text;
}

// The %g layout of the shortest digits: exponent form when the exponent is
// below -4 or not below the digits shown, otherwise positional.
CString FullText(double value) {
  if (!std::isfinite(value)) return GeneralText(value);
  const ShortestDigits s = Shortest(value);
  const int shown = std::max(kGeneralDigits, static_cast<int>(s.digits.size()));
  CString text = s.negative ? "-" : "";
  if (s.exponent < -4 || s.exponent >= shown) {
    text += s.digits[0];
    if (s.digits.size() > 1) text.append(".").append(s.digits, 1);
    const std::string magnitude = std::to_string(std::abs(s.exponent));
    text += s.exponent < 0 ? "e-" : "e+";
    text.append(kExponentDigits - std::min(kExponentDigits, magnitude.size()), '0').append(magnitude);
  } else if (s.exponent < 0) {
    text.append("0.").append(static_cast<size_t>(-s.exponent - 1), '0').append(s.digits);
  } else {
    const auto whole = static_cast<size_t>(s.exponent) + 1;
    if (s.digits.size() <= whole) {
      text.append(s.digits).append(whole - s.digits.size(), '0');
    } else {
      text.append(s.digits, 0, whole).append(".").append(s.digits, whole);
    }
  }
  return text;
}

}  // namespace

CString GetPlainRealText(double value, TaV_REAL_PRECISION precision) {
  return precision == TaV_PRECISION_FULL ? FullText(value) : GeneralText(value);
}

CString GetRealText(double value, TaV_REAL_PRECISION precision) {
  CString text;
  AppendRealText(text, value, precision);
  return text;
}

void AppendRealText(CString& out, double value, TaV_REAL_PRECISION precision) {
  const size_t start = out.size();
  if (precision == TaV_PRECISION_FULL) {
    out += FullText(value);
  } else {
    AppendGeneral(out, value);
  }
  if (std::none_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), [](char c) { return c == '.'; })) {
    out += '.';
  }
}

CString JoinFlagNames(uint8_t flags, const words::Words<6>& names, const char* separator) {
  CString text;
  for (int bit = 0; bit < 6; ++bit) {
    if (((flags >> bit) & 1U) == 0) continue;
    if (!text.empty()) text += separator;
    text += names[bit];
  }
  return text;
}

const char* SeparatorText(TaV_TEXT_SEPERATE_TYPE type) { return type == TaV_SEPERATE_COMMA ? "," : " "; }

CString JoinNonZeroValues(const double (&values)[6], const words::Words<6>& names, TaV_REAL_PRECISION precision) {
  CString text;
  AppendNonZeroValues(text, values, names, precision);
  return text;
}

void AppendNonZeroValues(CString& out, const double (&values)[6], const words::Words<6>& names,
                         TaV_REAL_PRECISION precision) {
  bool first = true;
  for (int i = 0; i < 6; ++i) {
    if (values[i] == 0.0) continue;
    if (!first) out += ' ';
    first = false;
    out += names[i];
    out += '=';
    AppendRealText(out, values[i], precision);
  }
}

}  // namespace tav
