#include "tav/elements/TavSection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/Records.h"
#include "tav/elements/TavGroupElement.h"

namespace tav {
namespace {

TEST(SectionTest, RectangleGetsItsAreaAndComputedProperties) {
  CTavGroupElement group;
  CTavSection* section = group.AddSection_Rect(2.1e7, 0.3, 0.5);
  EXPECT_EQ(section->m_eType, TaV_SECTION_RECT);
  EXPECT_EQ(section->m_dArea, 0.3 * 0.5);
  EXPECT_EQ(section->GetWidth(), 0.3);
  EXPECT_EQ(section->GetHeight(), 0.5);
  EXPECT_EQ(section->m_dIS, 0.0);
  section->AutoPropCalc();
  EXPECT_DOUBLE_EQ(section->m_dIS, 0.003125);
  EXPECT_DOUBLE_EQ(section->m_dIT, 0.001125);
  EXPECT_EQ(section->m_dASHS, section->m_dArea * 0.8333333333333333);
  EXPECT_EQ(section->m_dASHT, section->m_dASHS);
}

TEST(SectionTest, FactorsAreTheExactDoubles) {
  CTavGroupElement group;
  CTavSection* unit = group.AddSection_Rect(1.0, 1.0, 1.0);
  unit->AutoPropCalc();
  EXPECT_EQ(unit->m_dIS, 0.08333333333333333);
  EXPECT_EQ(unit->m_dIT, 1.0 / 12.0);
  // One unit in the last place below 5/6.
  EXPECT_EQ(unit->m_dASHS, 0.8333333333333333);
  EXPECT_NE(unit->m_dASHS, 5.0 / 6.0);
  EXPECT_EQ(std::nextafter(unit->m_dASHS, 1.0), 5.0 / 6.0);
}

TEST(SectionTest, AutoPropCalcLeavesGeneralSectionsAlone) {
  CTavGroupElement group;
  CTavSection* section = group.AddSection(3e7, 0.2, 0.0, 0.0, 0.5, 25.0, 1.0, 0.01, 0.0, 0.0);
  section->m_dDim[0] = 1.0;
  section->m_dDim[1] = 2.0;
  section->AutoPropCalc();
  EXPECT_EQ(section->m_dIS, 0.0);
  EXPECT_EQ(section->m_dASHS, 0.0);
  EXPECT_EQ(section->GetStringSectionProp_Tav(), "E=3e+007. J=0.01 POISSON'S RATIO=0.2 AREA=0.5");
}

TEST(SectionTest, MaterialValuesReplaceTheArea) {
  CTavGroupElement group;
  CTavSection* section = group.AddSection_Rect(1.0, 0.2, 0.4);
  section->SetMaterialValue(2e8, 78.5, 1.0);
  section->AutoPropCalc();
  EXPECT_EQ(section->m_dASHS, 0.8333333333333333);
  EXPECT_DOUBLE_EQ(section->m_dIS, 0.4 * 0.4 * 0.4 * 0.2 / 12.0);
}

TEST(SectionTest, SectionsAreNumberedInTheirGroup) {
  CTavGroupElement group;
  group.AddSection_Rect(1, 1, 1);
  EXPECT_EQ(group.AddSection(1, 0, 1, 1, 1, 0, 0, 0, 0, 0)->m_nIndex, 1);
  EXPECT_EQ(group.AddSection(TaV_SECTION_GENERAL, nullptr)->m_nIndex, 2);
  EXPECT_EQ(group.GetCountSection(), 3);
  EXPECT_EQ(group.GetSection(2)->m_nIndex, 2);
}

TEST(SectionTest, TenValueSectionTakesItsArgumentsInOrder) {
  CTavGroupElement group;
  const CTavSection* s = group.AddSection(1, 2, 3, 4, 5, 6, 7, 8, 9, 10);
  EXPECT_EQ(s->m_eType, TaV_SECTION_GENERAL);
  const double got[] = {s->m_dE, s->m_dPoisson,     s->m_dIS, s->m_dIT,   s->m_dArea,
                        s->m_dW, s->m_dMaterialAux, s->m_dJ,  s->m_dASHS, s->m_dASHT};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(got[i], i + 1.0) << i;
}

TEST(SectionTest, TypedSectionTakesTheDimensionsWhenGiven) {
  CTavGroupElement group;
  double dims[4] = {0.4, 0.6, 7.0, 8.0};
  const CTavSection* rect = group.AddSection(TaV_SECTION_RECT, dims);
  EXPECT_EQ(rect->m_eType, TaV_SECTION_RECT);
  EXPECT_EQ(rect->m_dDim[3], 8.0);
  EXPECT_EQ(rect->m_dArea, 0.4 * 0.6);
  const CTavSection* general = group.AddSection(TaV_SECTION_GENERAL, dims);
  EXPECT_EQ(general->m_dDim[1], 0.6);
  EXPECT_EQ(general->m_dArea, 0.0);
  const CTavSection* empty = group.AddSection(TaV_SECTION_RECT, nullptr);
  EXPECT_EQ(empty->m_dDim[0], 0.0);
  EXPECT_EQ(empty->m_dArea, 0.0);
}

TEST(SectionTest, PropertyTextComputesRectanglesOnceAndSkipsZeros) {
  CTavGroupElement group;
  CTavSection* rect = group.AddSection_Rect(2.1e7, 0.3, 0.5);
  const CString first = rect->GetStringSectionProp_Tav();
  EXPECT_EQ(first, "E=2.1e+007 IS=0.003125 IT=0.001125 AREA=0.15 ASHS=0.125 ASHT=0.125");
  EXPECT_NE(rect->m_dIS, 0.0);  // kept in the model
  EXPECT_EQ(rect->GetStringSectionProp_Tav(), first);

  EXPECT_EQ(group.AddSection(TaV_SECTION_GENERAL, nullptr)->GetStringSectionProp_Tav(), "");
}

TEST(SectionTest, RecordIs132BytesAndComesBackWhole) {
  CTavSection section;
  section.m_nIndex = 2;
  section.m_eType = TaV_SECTION_RECT;
  double* values[] = {&section.m_dDim[0], &section.m_dDim[1], &section.m_dDim[2],    &section.m_dDim[3],
                      &section.m_dW,      &section.m_dE,      &section.m_dPoisson,   &section.m_dMaterialAux,
                      &section.m_dJ,      &section.m_dIS,     &section.m_dIT,        &section.m_dArea,
                      &section.m_dASHS,   &section.m_dASHT,   &section.m_dSectionAux};
  for (int i = 0; i < 15; ++i) *values[i] = 0.5 + i;
  const auto bytes = test::StoreRecord(section);
  EXPECT_EQ(bytes.size(), 132U);
  CTavSection back;
  test::RoundTrip(section, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);
}

TEST(GroupElementTest, RecordResizesTheSectionListAndBeamNumbers) {
  CTavGroupElement group;
  group.AddSection_Rect(1.0, 0.2, 0.3);
  group.AddSection(5, 0, 1, 1, 1, 0, 0, 0, 0, 0);
  group.m_arrBeam.Add(7);
  group.m_arrBeam.Add(3);
  const auto bytes = test::StoreRecord(group);
  EXPECT_EQ(bytes.size(), 4U + 4U + 2 * 132U + 4U + 2 * 4U);

  CTavGroupElement larger;
  for (int i = 0; i < 5; ++i) larger.AddSection_Rect(9, 9, 9);
  larger.m_arrBeam.Add(1);
  EXPECT_EQ(test::LoadRecord(bytes, larger), 0U);
  ASSERT_EQ(larger.GetCountSection(), 2);
  EXPECT_EQ(larger.GetSection(0)->m_dDim[1], 0.3);
  EXPECT_EQ(larger.GetSection(1)->m_dE, 5.0);
  EXPECT_EQ(larger.GetSection(1)->m_eType, TaV_SECTION_GENERAL);
  EXPECT_EQ(larger.m_arrBeam, (CLongArray{7, 3}));

  CTavGroupElement empty;
  EXPECT_EQ(test::LoadRecord(bytes, empty), 0U);
  EXPECT_EQ(empty.GetCountSection(), 2);
  EXPECT_EQ(empty.GetType(), 0);
}

TEST(GroupElementTest, ADamagedSectionCountIsAnError) {
  CTavGroupElement group;
  group.AddSection_Rect(1.0, 0.2, 0.3);
  auto bytes = test::StoreRecord(group);
  bytes[4] = 0x40;  // claims 64 sections
  CTavGroupElement back;
  EXPECT_THROW(test::LoadRecord(bytes, back), ArchiveError);
}

}  // namespace
}  // namespace tav
