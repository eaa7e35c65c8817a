#include "tav/platform/Format.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

TEST(FormatTest, UnsupportedConversionIsAnError) {
  const char* format = "%q";
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  EXPECT_THROW(Format(format, 1), std::invalid_argument);
#pragma GCC diagnostic pop
}

}  // namespace
}  // namespace tav
