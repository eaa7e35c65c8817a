#include "tav/platform/Format.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

namespace tav {
namespace {

// Exponents are written with a sign and three digits, and a field width
// counts the widened exponent; nothing else printf writes changes.
TEST(FormatTest, ExponentsHaveASignAndThreeDigits) {
  EXPECT_EQ(Format("%g", 1e10), "1e+010");
  EXPECT_EQ(Format("%g", 1e-5), "1e-005");
  EXPECT_EQ(Format("%g", 1234567.0), "1.23457e+006");
  EXPECT_EQ(Format("%g", -2.5e-123), "-2.5e-123");
  EXPECT_EQ(Format("%e", 12345.678), "1.234568e+004");
  EXPECT_EQ(Format("%E", 0.5), "5.000000E-001");
  EXPECT_EQ(Format("%G", 1e20), "1E+020");
  EXPECT_EQ(Format("[%12g]", 1e10), "[      1e+010]");
  EXPECT_EQ(Format("[%-9g]", 1e10), "[1e+010   ]");
  EXPECT_EQ(Format("[%010g]", -1e10), "[-0001e+010]");
  EXPECT_EQ(Format("[%+g]", 1e10), "[+1e+010]");
  EXPECT_EQ(Format("[%*g]", 8, 1e10), "[  1e+010]");
  EXPECT_EQ(Format("[%.*g]", 2, 123456.0), "[1.2e+005]");
}

TEST(FormatTest, EverythingElseFollowsPrintf) {
  EXPECT_EQ(Format("%g", 0.0), "0");
  EXPECT_EQ(Format("%g", -12.5), "-12.5");
  EXPECT_EQ(Format("%g", 0.0001), "0.0001");
  EXPECT_EQ(Format("%g", 123456.0), "123456");
  EXPECT_EQ(Format("%.0f", 2.4), "2");
  EXPECT_EQ(Format("%f", 1e10), "10000000000.000000");
  EXPECT_EQ(Format("TAV %s", "load e+10 case 1e-05"), "TAV load e+10 case 1e-05");
  EXPECT_EQ(Format("x=%g e+10", 1e10), "x=1e+010 e+10");
  EXPECT_EQ(Format("%-2d|%2d|%d", 1, 2, -30), "1 | 2|-30");
  EXPECT_EQ(Format("%ld %5s|%-4s|%c%%", 123456789012L, "ab", "cd", 'x'), "123456789012    ab|cd  |x%");
  EXPECT_EQ(Format("%x %o %u", 255, 8, 7U), "ff 10 7");
  const std::string long_text(5000, 'a');
  EXPECT_EQ(Format("<%s>", long_text.c_str()), "<" + long_text + ">");
}

// What the C library writes for one value, with the exponent widened and
// the field then padded: the formatter's result by a second, slower road.
std::string ByTheCLibrary(const std::string& flags, int width, const std::string& conversion, double value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::string text(512, '\0');
  text.resize(static_cast<size_t>(std::snprintf(text.data(), text.size(), ("%" + flags + conversion).c_str(), value)));
#pragma GCC diagnostic pop
  const size_t e = text.find_first_of("eE");
  if (e != std::string::npos && text.size() - (e + 2) < 3) text.insert(e + 2, 3 - (text.size() - (e + 2)), '0');
  if (static_cast<int>(text.size()) >= width) return text;
  const size_t missing = static_cast<size_t>(width) - text.size();
  if (flags.find('-') != std::string::npos) return text + std::string(missing, ' ');
  if (flags.find('0') != std::string::npos && std::isfinite(value)) {
    const size_t sign = text[0] == '-' || text[0] == '+' || text[0] == ' ' ? 1 : 0;
    return text.insert(sign, missing, '0');
  }
  return std::string(missing, ' ') + text;
}

// Every floating conversion the writers could meet, against the C library.
TEST(FormatTest, RealsMatchTheCLibraryWithWideExponents) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           0.1,
                           2.5,
                           0.5,
                           1e-5,
                           1e-4,
                           123456.0,
                           1234567.0,
                           999999.5,
                           9.9999995e-5,
                           1e100,
                           -1e-300,
                           5e-324,
                           std::numeric_limits<double>::max(),
                           1.0 / 3.0,
                           -2.0 / 3.0,
                           1e15 + 0.3,
                           5.0,
                           -40.0,
                           100.0,
                           999999.0,
                           1e6,
                           123456789012345.0,
                           HUGE_VAL,
                           -HUGE_VAL,
                           std::nan(""),
                           -std::nan("")};
  const char* conversions[] = {"g", ".3g", ".0g", ".1g", ".15g", ".17g", "e", ".0e", "E", "G", "f", ".0f", ".12f", "F"};
  const std::pair<std::string, int> fields[] = {{"", -1},  {"", 14}, {"-", 14},  {"0", 14},
                                                {"+", -1}, {" ", 9}, {"+0", 16}, {"#", 12}};
  for (const double value : values) {
    for (const char* conversion : conversions) {
      for (const auto& [flags, width] : fields) {
        const std::string format = "%" + flags + (width >= 0 ? std::to_string(width) : "") + conversion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        EXPECT_EQ(Format(format.c_str(), value), ByTheCLibrary(flags, width, conversion, value))
            << format << " " << value;
#pragma GCC diagnostic pop
      }
    }
  }
  EXPECT_EQ(Format("%Lg|%La", 1e10L, 1.0L), "1e+010|0x8p-3");
}

// Decimals of a few places and doubles of every kind, drawn at random,
// against the C library.
TEST(FormatTest, RandomRealsMatchTheCLibrary) {
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<long long> digits(-9999999, 9999999);
  std::uniform_int_distribution<int> places(0, 9);
  std::uniform_int_distribution<uint64_t> bits;
  for (int i = 0; i < 20000; ++i) {
    const double decimal = static_cast<double>(digits(random)) / std::pow(10.0, places(random));
    const double any = std::bit_cast<double>(bits(random));
    for (const double value : {decimal, any, decimal * 1e-3}) {
      for (const char* conversion : {"g", ".3g", ".15g", "f"}) {
        const std::string format = std::string("%") + conversion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        ASSERT_EQ(Format(format.c_str(), value), ByTheCLibrary("", -1, conversion, value)) << format << " " << value;
#pragma GCC diagnostic pop
      }
    }
  }
}

// Integer, character and text conversions follow the C library byte for byte.
TEST(FormatTest, IntegersAndTextsMatchTheCLibrary) {
  const int ints[] = {0, 7, -7, 42, INT_MAX, INT_MIN};
  const char* directives[] = {"%d",    "%5d", "%-5d|", "%05d", "%+d", "% d",  "%.3d",
                              "%+06d", "%u",  "%x",    "%#o",  "%hd", "%-3c|"};
  for (const int value : ints) {
    for (const char* directive : directives) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
      std::string expected(64, '\0');
      expected.resize(static_cast<size_t>(std::snprintf(expected.data(), expected.size(), directive, value)));
      EXPECT_EQ(Format(directive, value), expected) << directive << " " << value;
#pragma GCC diagnostic pop
    }
  }
  EXPECT_EQ(Format("%ld|%lld|%zu|%zd|%lu", LONG_MIN, LLONG_MAX, static_cast<size_t>(-1),
                   static_cast<std::ptrdiff_t>(-3), 5UL),
            std::to_string(LONG_MIN) + "|" + std::to_string(LLONG_MAX) + "|" + std::to_string(static_cast<size_t>(-1)) +
                "|-3|5");
  EXPECT_EQ(Format("[%.2s|%-4.3s|%6s]", "abcd", "abcd", "ab"), "[ab|abc |    ab]");
}

TEST(FormatTest, UnsupportedConversionIsAnError) {
  const char* format = "%q";
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  EXPECT_THROW(Format(format, 1), std::invalid_argument);
#pragma GCC diagnostic pop
}

}  // namespace
}  // namespace tav
