#include "tav/elements/TavSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "support/Records.h"
#include "tav/elements/TavGroupElement.h"

namespace tav {
namespace {

// Rectangles are computed with the exact doubles: 1/12, and one unit in the
// last place below 5/6 for the shear areas; the text computes them once.
TEST(SectionTest, RectanglePropertiesUseTheExactFactorsAndTheTextSkipsZeros) {
  CTavGroupElement group;
  CTavSection* unit = group.AddSection_Rect(1.0, 1.0, 1.0);
  unit->AutoPropCalc();
  EXPECT_EQ(std::tuple(unit->m_dIS, unit->m_dIT, unit->m_dASHT), std::tuple(1.0 / 12.0, 1.0 / 12.0, unit->m_dASHS));
  EXPECT_EQ(unit->m_dASHS, 0.8333333333333333);
  EXPECT_EQ(std::nextafter(unit->m_dASHS, 1.0), 5.0 / 6.0);

  // The height is the strong axis; material values replace the area.
  CTavSection* section = group.AddSection_Rect(1.0, 0.2, 0.4);
  section->SetMaterialValue(2e8, 78.5, 1.0);
  section->AutoPropCalc();
  EXPECT_EQ(section->m_dASHS, 0.8333333333333333);
  EXPECT_DOUBLE_EQ(section->m_dIS, 0.4 * 0.4 * 0.4 * 0.2 / 12.0);

  CTavSection* rect = group.AddSection_Rect(2.1e7, 0.3, 0.5);
  EXPECT_EQ(std::tuple(rect->m_eType, rect->GetWidth(), rect->GetHeight(), rect->m_dArea, rect->m_dIS),
            std::tuple(TaV_SECTION_RECT, 0.3, 0.5, 0.3 * 0.5, 0.0));
  const CString first = rect->GetStringSectionProp_Tav();
  EXPECT_EQ(first, "E=2.1e+007 IS=0.003125 IT=0.001125 AREA=0.15 ASHS=0.125 ASHT=0.125");
  EXPECT_DOUBLE_EQ(rect->m_dIS, 0.003125);  // kept in the model
  EXPECT_EQ(rect->GetStringSectionProp_Tav(), first);

  EXPECT_EQ(group.AddSection(TaV_SECTION_GENERAL, nullptr)->GetStringSectionProp_Tav(), "");
  // A general section is never computed, whatever its dimensions.
  CTavSection* general = group.AddSection(3e7, 0.2, 0.0, 0.0, 0.5, 25.0, 1.0, 0.01, 0.0, 0.0);
  general->m_dDim[0] = 1.0;
  general->m_dDim[1] = 2.0;
  general->AutoPropCalc();
  EXPECT_EQ(std::tuple(general->m_dIS, general->m_dASHS), std::tuple(0.0, 0.0));
  EXPECT_EQ(general->GetStringSectionProp_Tav(), "E=3e+007. J=0.01 POISSON'S RATIO=0.2 AREA=0.5");
}

TEST(SectionTest, TypedSectionsAreNumberedAndTakeTheDimensionsWhenGiven) {
  CTavGroupElement group;
  double dims[4] = {0.4, 0.6, 7.0, 8.0};
  const CTavSection* rect = group.AddSection(TaV_SECTION_RECT, dims);
  EXPECT_EQ(std::tuple(rect->m_eType, rect->m_dDim[3], rect->m_dArea), std::tuple(TaV_SECTION_RECT, 8.0, 0.4 * 0.6));
  const CTavSection* general = group.AddSection(TaV_SECTION_GENERAL, dims);
  EXPECT_EQ(std::tuple(general->m_dDim[1], general->m_dArea), std::tuple(0.6, 0.0));
  const CTavSection* empty = group.AddSection(TaV_SECTION_RECT, nullptr);
  EXPECT_EQ(std::tuple(empty->m_nIndex, empty->m_dDim[0], empty->m_dArea), std::tuple(2, 0.0, 0.0));
  EXPECT_EQ(group.GetCountSection(), 3);
  EXPECT_EQ(group.GetSection(2), empty);
}

TEST(SectionTest, TenValueSectionTakesItsArgumentsInOrderAndItsRecordIs132Bytes) {
  CTavGroupElement group;
  group.AddSection_Rect(1, 1, 1);
  CTavSection* s = group.AddSection(1, 2, 3, 4, 5, 6, 7, 8, 9, 10);
  EXPECT_EQ(std::tuple(s->m_nIndex, s->m_eType), std::tuple(1, TaV_SECTION_GENERAL));
  const double got[] = {s->m_dE, s->m_dPoisson,     s->m_dIS, s->m_dIT,   s->m_dArea,
                        s->m_dW, s->m_dMaterialAux, s->m_dJ,  s->m_dASHS, s->m_dASHT};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(got[i], i + 1.0) << i;
  for (int i = 0; i < 4; ++i) s->m_dDim[i] = 11.0 + i;
  s->m_dSectionAux = 15.0;
  EXPECT_EQ(test::RoundTrip(*s).size(), 132U);
}

TEST(GroupElementTest, RecordResizesTheSectionListAndBeamNumbers) {
  CTavGroupElement group;
  group.AddSection_Rect(1.0, 0.2, 0.3);
  group.AddSection(5, 0, 1, 1, 1, 0, 0, 0, 0, 0);
  group.m_arrBeam = CLongArray{7, 3};
  CTavGroupElement larger;
  for (int i = 0; i < 5; ++i) larger.AddSection_Rect(9, 9, 9);
  larger.m_arrBeam.Add(1);
  EXPECT_EQ(test::RoundTrip(group, larger).size(), 4U + 4U + 2 * 132U + 4U + 2 * 4U);
  CTavGroupElement empty;
  test::RoundTrip(group, empty);

  auto bytes = test::StoreRecord(group);
  bytes[4] = 0x40;  // claims 64 sections
  EXPECT_THROW(test::LoadRecord(bytes, empty), ArchiveError);
}

}  // namespace
}  // namespace tav
