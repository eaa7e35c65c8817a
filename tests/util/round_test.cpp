#include "tav/util/Round.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(RoundTest, HalvesGoUp) {
  EXPECT_DOUBLE_EQ(RoundResult(1.2345675), 1.234568);
  EXPECT_DOUBLE_EQ(RoundResult(1.2345674), 1.234567);
  EXPECT_EQ(RoundResult(-0.0000004), 0.0);
  EXPECT_DOUBLE_EQ(RoundResult(-0.0000016), -0.000002);
  EXPECT_DOUBLE_EQ(RoundResult(-2.0), -2.0);
  EXPECT_DOUBLE_EQ(RoundResult(123456.789), 123456.789);
  EXPECT_DOUBLE_EQ(RoundDecimals(2.35, 0), 2.0);
  EXPECT_DOUBLE_EQ(RoundDecimals(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(RoundDecimals(-2.5, 0), -2.0);
  EXPECT_DOUBLE_EQ(RoundDecimals(0.126, 2), 0.13);
}

}  // namespace
}  // namespace tav
