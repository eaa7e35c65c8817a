#include "tav/loads/TavCombo.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(ComboTest, TermsAreKeptInOrderAndNeverMerged) {
  CTavCombo combo;
  EXPECT_EQ(combo.GetCountLoad(), 0);
  EXPECT_EQ(combo.GetType(), TaV_COMBO_ADD);
  EXPECT_EQ(combo.GetStringType(), "ADD");
  combo.AddLoad(TaV_LOAD_STATIC, 0, 1.2, 0.0);
  combo.AddLoad(TaV_LOAD_STATIC, 0, 1.6, 0.5);
  ASSERT_EQ(combo.GetCountLoad(), 2);
  EXPECT_EQ(combo.GetLoad(1)->dFactor, 1.6);
  EXPECT_EQ(combo.GetLoad(1)->dFactor2, 0.5);
  EXPECT_EQ(combo.GetLoad(1)->nCase, 0);
}

TEST(ComboTest, TypeTexts) {
  CTavCombo combo;
  combo.m_eType = TaV_COMBO_ENVE;
  EXPECT_EQ(combo.GetStringType(), "ENVE");
  combo.m_eType = TaV_COMBO_ABS;
  EXPECT_EQ(combo.GetStringType(), "ABS");
  combo.m_eType = static_cast<TaV_COMBO_TYPE>(5);
  EXPECT_EQ(combo.GetStringType(), "");
}

}  // namespace
}  // namespace tav
