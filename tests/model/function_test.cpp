#include "tav/model/TavFunction.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tav {
namespace {

TEST(FunctionTest, DefaultFunctionIsAConstantOneAndClearDataStartsNumberingAgain) {
  CTavFunction table;
  EXPECT_EQ(table.AddFunctionDefault(), 0);
  EXPECT_EQ(table.AddFunctionDefault(), 1);
  EXPECT_EQ(table.GetFunction(1)->arrX, (CDoubleArray{0.0, 1.0}));
  EXPECT_EQ(table.GetFunction(1)->arrY, (CDoubleArray{1.0, 1.0}));
  EXPECT_EQ(table.GetStringData_Tav(1), "   2 TYPE=CONSTANT POINTS=2");
  table.ClearData();
  EXPECT_EQ(table.GetCount(), 0);
  EXPECT_EQ(table.AddFunction(TaV_FUNCTION_CONSTANT, 0, 0), 0);
}

TEST(FunctionTest, HeadLineShowsOnlyTheParametersThatAreNotZero) {
  CTavFunction table;
  EXPECT_EQ(table.AddFunction(TaV_FUNCTION_SINUSOIDAL, 0.5, 0.0), 0);
  for (int i = 0; i < 3; ++i) table.AddFunctionValue(0, i, i * i);
  EXPECT_EQ(table.GetFunction(0)->arrY, (CDoubleArray{0.0, 1.0, 4.0}));
  EXPECT_EQ(table.GetStringData_Tav(0), "   1 TYPE=SINUSOIDAL POINTS=3 0.5");

  EXPECT_EQ(table.AddFunction(TaV_FUNCTION_CONSTANT, 0.0, 2.5), 1);
  EXPECT_EQ(table.GetStringData_Tav(1), "   2 TYPE=CONSTANT POINTS=0 2.5");
  EXPECT_EQ(table.AddFunction(static_cast<TaV_FUNCTION_TYPE>(9), 3.0, 1e-5), 2);
  EXPECT_EQ(table.GetStringData_Tav(2), "   3 TYPE=SINUSOIDAL POINTS=0 3. 1e-005.");
}

TEST(FunctionTest, CopiesAreDeep) {
  CTavFunction a;
  a.AddFunctionDefault();
  CTavFunction b, c(a);
  b = a;
  b.AddFunctionValue(0, 2.0, 0.0);
  c.AddFunctionValue(0, 5.0, 5.0);
  EXPECT_EQ(std::tuple(b.GetFunction(0)->nPoints, c.GetFunction(0)->nPoints), std::tuple(3, 3));
  CTavFunction& self = a;
  a = self;
  ASSERT_EQ(a.GetCount(), 1);
  EXPECT_EQ(std::tuple(a.GetFunction(0)->nPoints, a.GetFunction(0)->arrX, a.GetFunction(0)->arrY),
            std::tuple(2, CDoubleArray{0.0, 1.0}, CDoubleArray{1.0, 1.0}));
}

}  // namespace
}  // namespace tav
