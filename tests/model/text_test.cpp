// The real texts of the solver inputs: six significant digits, or each real
// in full.
#include "tav/model/TavText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <random>

#include "tav/platform/Format.h"

namespace tav {
namespace {

// Six digits are "%g" with a point appended when the text has none; full
// precision gives the shortest text that reads back, laid out alike.
TEST(TextRealTest, SixDigitsAndTheShortestTextThatReadsBack) {
  const struct {
    double value;
    const char* six;
    const char* full;
  } cases[] = {
      {0.0, "0.", "0."},
      {2.0, "2.", "2."},
      {-3.0, "-3.", "-3."},
      {-0.0, "-0.", "-0."},
      {-12.5, "-12.5", "-12.5"},
      {123456.25, "123456.", "123456.25"},
      {1234567.0, "1.23457e+006", "1234567."},  // seven digits stay positional, as "%.7g" would
      {2.2360679774997898, "2.23607", "2.23606797749979"},
      {0.0021333333333333334, "0.00213333", "0.0021333333333333334"},
      {0.30000000000000004, "0.3", "0.30000000000000004"},
      {1.2345678901234567e20, "1.23457e+020", "1.2345678901234567e+020"},
      {1e10, "1e+010.", "1e+010."},
      {1e-5, "1e-005.", "1e-005."},
      {0.0001, "0.0001", "0.0001"},
      {5e-324, "4.94066e-324", "5e-324."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetRealText(c.value), c.six) << c.full;
    EXPECT_EQ(GetRealText(c.value, TaV_PRECISION_FULL), c.full) << c.full;
  }
  EXPECT_EQ(GetPlainRealText(2.0, TaV_PRECISION_FULL), "2");
  EXPECT_EQ(GetPlainRealText(0.1234567, TaV_PRECISION_FULL), "0.1234567");
}

TEST(TextRealTest, FullPrecisionReadsBackExactlyAndMatchesSixDigitsWhereTheyAreEnough) {
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    const CString text = GetRealText(value, TaV_PRECISION_FULL);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
  // A value of at most six significant digits has one text in both forms.
  std::uniform_int_distribution<int> digits(1, 6), exponent(-12, 12), mantissa(0, 999999);
  for (int i = 0; i < 20000; ++i) {
    const int kept = digits(random);
    const double value =
        std::strtod(Format("%.*e", kept - 1, mantissa(random) * std::pow(10.0, exponent(random))).c_str(), nullptr);
    EXPECT_EQ(GetRealText(value, TaV_PRECISION_FULL), GetRealText(value)) << value;
  }
}

}  // namespace
}  // namespace tav
