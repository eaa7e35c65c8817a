#include "tav/loads/TavCombo.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(ComboTest, TermsAreKeptInOrderAndNeverMerged) {
  CTavCombo combo;
  combo.AddLoad(TaV_LOAD_STATIC, 0, 1.2, 0.0);
  combo.AddLoad(TaV_LOAD_STATIC, 0, 1.6, 0.5);
  ASSERT_EQ(combo.GetCountLoad(), 2);
  EXPECT_EQ(combo.GetLoad(1)->dFactor, 1.6);
  EXPECT_EQ(combo.GetLoad(1)->dFactor2, 0.5);
  EXPECT_EQ(combo.GetLoad(1)->nCase, 0);
}

TEST(ComboTest, TypeTexts) {
  CTavCombo combo;
  EXPECT_EQ(combo.GetStringType(), "ADD");  // a new combination adds
  const std::pair<int, const char*> texts[] = {{TaV_COMBO_ENVE, "ENVE"}, {TaV_COMBO_ABS, "ABS"}, {5, ""}};
  for (const auto& [type, text] : texts) {
    combo.m_eType = static_cast<TaV_COMBO_TYPE>(type);
    EXPECT_EQ(combo.GetStringType(), text) << type;
  }
}

}  // namespace
}  // namespace tav
