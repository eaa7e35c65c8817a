#include "tav/document/TavData.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/Fixtures.h"
#include "support/Records.h"

namespace tav {
namespace {

// Two static cases, one case of each dynamic kind and two combinations.
class LoadCaseTest : public testing::Test {
 protected:
  LoadCaseTest() {
    doc.AddLoadStatic("DL", 0);
    doc.AddLoadStatic("LL", 1);
    doc.AddLoadHistory("EQ");
    doc.AddLoadResponseSpectrum("RS");
    doc.AddMovingLoad("TRUCK");
    doc.AddCombo("K1", TaV_COMBO_ADD);
    doc.AddCombo("K2", TaV_COMBO_ENVE);
  }
  CTavData doc;
};

TEST_F(LoadCaseTest, CombinationsTakeTwoResultCasesEachAfterEveryOtherKind) {
  CStringArray names = {"kept"};
  EXPECT_EQ(CTavData().GetStringLoadCaseAll(names), 0);
  EXPECT_EQ(names, CStringArray{"kept"});
  EXPECT_EQ(doc.GetStringLoadCaseAll(names), 1);
  EXPECT_EQ(names, (CStringArray{"kept", "DL", "LL", "EQ", "RS", "TRUCK", "K1", "K2"}));
  EXPECT_EQ(std::tuple(doc.GetCountLoadCase(0), doc.GetCountLoadCase(1)), std::tuple(5, 9));
  for (int32_t position = 0; position < 7; ++position) {
    EXPECT_EQ(doc.GetLoadCaseReal(position), position < 6 ? position : 7) << position;
  }
  EXPECT_EQ((CStringArray{doc.GetLoadName(1, TaV_LOAD_STATIC), doc.GetLoadName(0, TaV_LOAD_HISTORY),
                          doc.GetLoadName(0, TaV_LOAD_RESPONSE_SPECTRUM), doc.GetLoadName(0, TaV_LOAD_MOVING),
                          doc.GetLoadName(1, TaV_LOAD_COMBO), doc.GetLoadName(0, static_cast<TaV_LOAD_TYPE>(7))}),
            (CStringArray{"LL", "EQ", "RS", "TRUCK", "K2", ""}));
  EXPECT_EQ(std::tuple(doc.GetStaticLoad(1)->m_nIndex, doc.GetHistoryLoad(0)->m_nHistoryIndex), std::tuple(1, 0));
}

// Combinations are found where the result buffers keep them.
TEST_F(LoadCaseTest, IndexFindsStaticCasesAndCombinationHalves) {
  const struct {
    const char* name;
    bool afterStaticOnly;
    int32_t index;  // -1: not found
  } cases[] = {
      {"LL", false, 1},      {"K2", false, 7},    {"K2 MIN", false, 8}, {"K1", false, 5},
      {"K1 MAX", false, 5},  {"K2 MIN", true, 5},  // counted after the static cases alone, for hosts' own results
      {"EQ", false, -1},                           // other kinds are not searched
      {"k1", false, -1},                           // names compare exactly
      {"K1 min", false, -1},
  };
  for (const auto& c : cases) {
    int32_t index = 99;
    EXPECT_EQ(doc.GetLoadCaseIndex(c.name, index, c.afterStaticOnly), c.index >= 0 ? 1 : 0) << c.name;
    EXPECT_EQ(index, c.index) << c.name;
  }
}

TEST(TavDataTest, GroupsBeamsAndLinksAreNumberedModelWide) {
  CTavData doc;
  CTavGroupElement* first = doc.AddGroupElement();
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  CTavGroupNllink* links = doc.AddGroupNllink();
  CTavGroupElement* second = doc.AddGroupElement();
  CTavGroupNllink* more = doc.AddGroupNllink();
  EXPECT_EQ(std::make_tuple(first->GetIndex(), springs->GetIndex(), links->GetIndex(), second->GetIndex()),
            std::make_tuple(0, 1, 2, 3));
  EXPECT_EQ(std::tuple(doc.GetGroup(1)->GetType(), doc.GetGroup(3)->GetType(), doc.GetCountLinearGroup(),
                       doc.GetCountNonLinearGroup()),
            std::tuple(CTavGroup::kSpring, CTavGroup::kBeam, 3, 2));

  EXPECT_EQ(doc.AddBeam(first, 2, 3, 4, 30.0, 1, 0, 0.5, 0.25, 0.75, 8.0)->m_nIndex, 0);
  CTavBeam* b = doc.AddBeam(second, 0, 1, 2, 0.0, 0, 0, 0.0, 0.0, 0.0, 0.0);
  EXPECT_EQ(b->m_nIndex, 1);
  EXPECT_EQ(doc.GetBeam(1), b);
  EXPECT_EQ(std::tuple(first->m_arrBeam, second->m_arrBeam), std::tuple(CLongArray{0}, CLongArray{1}));
  EXPECT_EQ(doc.AddNllink(more, 2, 3, 0, 45.0)->m_nIndex, 0);
  EXPECT_EQ(doc.AddNllink(links, 4, 5, 1, 0.0)->m_nIndex, 1);
  EXPECT_EQ(std::tuple(links->GetCountNllink(), more->GetCountNllink(), doc.GetCountNLLink()), std::tuple(1, 1, 2));
}

TEST(TavDataTest, ClearDataEmptiesTheModelAndKeepsTheSettings) {
  CTavData doc;
  doc.SetTitle("BRIDGE");
  doc.SetViewOptionMode(5);
  doc.SetMidasVersion("7.2.0");
  doc.SetSetting(3, 42);
  const auto settingsAlone = test::StoreRecord(doc);
  doc.LockInput();
  doc.GetGlobalOption()->SetNumberOfModes(12);
  doc.GetFunction()->AddFunctionDefault();
  test::AddBeamBetween(doc, {0, 0, 0}, {1, 0, 0});
  doc.AddJointMass(0, 1, 1, 1, 0, 0, 0);
  doc.AddJointDamping(0, 1, 1, 1, 0, 0, 0);
  doc.AddJointConstraintDiap(0, CString("1 2"));
  doc.AddLocalCoordSystem(0, 0, 0, 1);
  doc.AddLoadStatic("S", 0);
  doc.AddLoadHistory("H");
  doc.AddCombo("C", TaV_COMBO_ADD);
  doc.AllocResultForceBuff();

  doc.ClearData();
  EXPECT_EQ(test::StoreRecord(doc), settingsAlone);
  EXPECT_FALSE(doc.HasResults());
  EXPECT_EQ(doc.IsLockInput(), 1);
  EXPECT_EQ(doc.AddJoint(1, 1, 1, -1), 0);  // numbers start again from 0
}

TEST(TavDataTest, DestroyRemovesTheCompanionsAndInitBringsThemBack) {
  CTavData doc;
  doc.AddJoint(0, 0, 0, -1);
  doc.Destroy();
  EXPECT_EQ(doc.GetGlobalOption(), nullptr);
  EXPECT_EQ(doc.GetFunction(), nullptr);
  EXPECT_EQ(doc.GetCountJoint(), 0);
  doc.Destroy();  // a second time is harmless, as is the destructor after it
  doc.Init();
  ASSERT_NE(doc.GetGlobalOption(), nullptr);
  EXPECT_EQ(doc.GetGlobalOption()->GetCountForceSegment(), 4);
}

}  // namespace
}  // namespace tav
