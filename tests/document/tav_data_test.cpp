#include "tav/document/TavData.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(TavDataTest, NewDocumentHasNoCasesAndEveryCompanion) {
  CTavData doc;
  EXPECT_EQ(doc.GetCountLoadCase(0), 0);
  EXPECT_EQ(doc.GetCountLoadCase(1), 0);
  CStringArray names = {"kept"};
  EXPECT_EQ(doc.GetStringLoadCaseAll(names), 0);
  EXPECT_EQ(names, CStringArray{"kept"});
  EXPECT_NE(doc.GetGlobalOption(), nullptr);
  EXPECT_NE(doc.GetFunction(), nullptr);
  EXPECT_NE(doc.GetConstraint(), nullptr);
  EXPECT_NE(doc.GetJointMass(), nullptr);
  EXPECT_NE(doc.GetJointDamping(), nullptr);
}

TEST(TavDataTest, CombinationsTakeTwoResultCasesEach) {
  CTavData doc;
  doc.AddLoadStatic("DL", 0);
  doc.AddLoadStatic("LL", 0);
  doc.AddMovingLoad("TRUCK");
  doc.AddCombo("C1", TaV_COMBO_ADD);
  doc.AddCombo("C2", TaV_COMBO_ENVE);

  EXPECT_EQ(doc.GetCountLoadCase(0), 3);
  EXPECT_EQ(doc.GetCountLoadCase(1), 7);
  CStringArray names = {"before"};
  EXPECT_EQ(doc.GetStringLoadCaseAll(names), 1);
  EXPECT_EQ(names, (CStringArray{"before", "DL", "LL", "TRUCK", "C1", "C2"}));
  EXPECT_EQ(doc.GetLoadCaseReal(0), 0);
  EXPECT_EQ(doc.GetLoadCaseReal(3), 3);
  EXPECT_EQ(doc.GetLoadCaseReal(4), 5);
}

TEST(TavDataTest, LoadCaseSequenceRunsThroughEveryKind) {
  CTavData doc;
  doc.AddLoadStatic("S", 0);
  doc.AddLoadHistory("H");
  doc.AddLoadResponseSpectrum("R");
  doc.AddMovingLoad("M");
  doc.AddCombo("C", TaV_COMBO_ABS);
  CStringArray names;
  ASSERT_EQ(doc.GetStringLoadCaseAll(names), 1);
  EXPECT_EQ(names, (CStringArray{"S", "H", "R", "M", "C"}));
  EXPECT_EQ(doc.GetLoadCaseReal(4), 4);
  EXPECT_EQ(doc.GetCountLoadCase(1), 6);
}

// Combinations are found where the result buffers keep them: after the load
// cases of every kind.
TEST(TavDataTest, LoadCaseIndexFindsStaticCasesAndCombinationHalves) {
  CTavData doc;
  doc.AddLoadStatic("DL", 0);
  doc.AddLoadStatic("LL", 0);
  doc.AddLoadHistory("EQ");
  doc.AddLoadResponseSpectrum("RS");
  doc.AddMovingLoad("TRUCK");
  doc.AddCombo("K1", TaV_COMBO_ADD);
  doc.AddCombo("K2", TaV_COMBO_ADD);
  const int32_t k2 = doc.GetLoadCaseReal(6);  // K2's place in the list of names

  int32_t index = 99;
  EXPECT_EQ(doc.GetLoadCaseIndex("LL", index), 1);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(doc.GetLoadCaseIndex("K2", index), 1);
  EXPECT_EQ(index, k2);
  EXPECT_EQ(index, 7);
  EXPECT_EQ(doc.GetLoadCaseIndex("K2 MIN", index), 1);
  EXPECT_EQ(index, k2 + 1);
  EXPECT_EQ(doc.GetLoadCaseIndex("K1", index), 1);
  EXPECT_EQ(index, 5);
  EXPECT_EQ(doc.GetLoadCaseIndex("K1 MAX", index), 1);
  EXPECT_EQ(index, 5);
  // Counted after the static cases alone, as hosts with results of their own may want.
  EXPECT_EQ(doc.GetLoadCaseIndex("K2 MIN", index, true), 1);
  EXPECT_EQ(index, 5);
  // Other kinds are not searched; names compare exactly.
  EXPECT_EQ(doc.GetLoadCaseIndex("EQ", index), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(doc.GetLoadCaseIndex("k1", index), 0);
  EXPECT_EQ(doc.GetLoadCaseIndex("K1 min", index), 0);
  EXPECT_EQ(index, -1);
}

TEST(TavDataTest, LoadNamesByKind) {
  CTavData doc;
  doc.AddLoadStatic("S0", 0);
  doc.AddLoadStatic("S1", 1);
  doc.AddLoadHistory("H0");
  doc.AddLoadResponseSpectrum("R0");
  doc.AddMovingLoad("M0");
  doc.AddCombo("C0", TaV_COMBO_ADD);
  EXPECT_EQ(doc.GetLoadName(1, TaV_LOAD_STATIC), "S1");
  EXPECT_EQ(doc.GetLoadName(0, TaV_LOAD_HISTORY), "H0");
  EXPECT_EQ(doc.GetLoadName(0, TaV_LOAD_RESPONSE_SPECTRUM), "R0");
  EXPECT_EQ(doc.GetLoadName(0, TaV_LOAD_MOVING), "M0");
  EXPECT_EQ(doc.GetLoadName(0, TaV_LOAD_COMBO), "C0");
  EXPECT_EQ(doc.GetLoadName(0, static_cast<TaV_LOAD_TYPE>(7)), "");
  EXPECT_EQ(doc.GetStaticLoad(1)->m_nIndex, 1);
  EXPECT_EQ(doc.GetHistoryLoad(0)->m_nHistoryIndex, 0);
  EXPECT_EQ(doc.GetCombo(0)->GetStringType(), "ADD");
}

TEST(TavDataTest, GroupsShareOneNumbering) {
  CTavData doc;
  CTavGroupElement* beams = doc.AddGroupElement();
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  CTavGroupNllink* links = doc.AddGroupNllink();
  CTavGroupElement* more = doc.AddGroupElement();
  EXPECT_EQ(beams->GetIndex(), 0);
  EXPECT_EQ(springs->GetIndex(), 1);
  EXPECT_EQ(links->GetIndex(), 2);
  EXPECT_EQ(more->GetIndex(), 3);
  EXPECT_EQ(doc.GetGroup(1)->GetType(), 1);
  EXPECT_EQ(doc.GetGroup(2)->GetType(), 2);
  EXPECT_EQ(doc.GetGroup(3)->GetType(), 0);
  EXPECT_EQ(doc.GetCountLinearGroup(), 3);
  EXPECT_EQ(doc.GetCountNonLinearGroup(), 1);
}

TEST(TavDataTest, BeamsAndLinksAreNumberedModelWide) {
  CTavData doc;
  CTavGroupElement* first = doc.AddGroupElement();
  CTavGroupElement* second = doc.AddGroupElement();
  CTavBeam* a = doc.AddBeam(first, 2, 3, 4, 30.0, 1, 0, 0.5, 0.25, 0.75, 8.0);
  CTavBeam* b = doc.AddBeam(second, 0, 1, 2, 0.0, 0, 0, 0.0, 0.0, 0.0, 0.0);
  EXPECT_EQ(a->m_nIndex, 0);
  EXPECT_EQ(b->m_nIndex, 1);
  EXPECT_EQ(doc.GetBeam(1), b);
  EXPECT_EQ(first->GetCountBeam(), 1);
  EXPECT_EQ(second->GetCountBeam(), 1);
  EXPECT_EQ(second->m_arrBeam[0], 1);

  CTavGroupNllink* g1 = doc.AddGroupNllink();
  CTavGroupNllink* g2 = doc.AddGroupNllink();
  CTavNLLink* l0 = doc.AddNllink(g2, 2, 3, 0, 45.0);
  CTavNLLink* l1 = doc.AddNllink(g1, 4, 5, 1, 0.0);
  EXPECT_EQ(l0->m_nIndex, 0);
  EXPECT_EQ(l1->m_nIndex, 1);
  EXPECT_EQ(g1->GetCountNllink(), 1);
  EXPECT_EQ(g2->GetCountNllink(), 1);
  EXPECT_EQ(doc.GetCountNLLink(), 2);
}

TEST(TavDataTest, ClearDataEmptiesTheModelAndKeepsTheSettings) {
  CTavData doc;
  doc.SetTitle("BRIDGE");
  doc.SetViewOptionMode(5);
  doc.SetMidasVersion("7.2.0");
  doc.SetSetting(3, 42);
  doc.LockInput();
  doc.GetGlobalOption()->SetNumberOfModes(12);
  doc.GetFunction()->AddFunctionDefault();
  doc.AddJoint(0, 0, 0, -1);
  doc.AddJointMass(0, 1, 1, 1, 0, 0, 0);
  doc.AddJointDamping(0, 1, 1, 1, 0, 0, 0);
  doc.AddJointConstraintDiap(0, CString("1 2"));
  doc.AddLocalCoordSystem(0, 0, 0, 1);
  doc.AddBeam(doc.AddGroupElement(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("S", 0);
  doc.AddLoadHistory("H");
  doc.AddCombo("C", TaV_COMBO_ADD);

  doc.ClearData();
  EXPECT_EQ(doc.GetCountJoint(), 0);
  EXPECT_EQ(doc.GetCountBeam(), 0);
  EXPECT_EQ(doc.GetCountLocalCoord(), 0);
  EXPECT_EQ(doc.GetCountLinearGroup(), 0);
  EXPECT_EQ(doc.GetCountLoadCase(1), 0);
  EXPECT_EQ(doc.GetFunction()->GetCount(), 0);
  EXPECT_EQ(doc.GetJointMass()->GetCount(), 0);
  EXPECT_EQ(doc.GetJointDamping()->GetCount(), 0);
  EXPECT_EQ(doc.GetConstraint()->GetCountDiaphragm(), 0);
  EXPECT_EQ(doc.GetGlobalOption()->m_nModes, 0);
  EXPECT_EQ(doc.GetTitle(), "BRIDGE");
  EXPECT_EQ(doc.GetViewOptionMode(), 5);
  EXPECT_EQ(doc.GetMidasVersion(), "7.2.0");
  EXPECT_EQ(doc.GetSetting(3), 42);
  EXPECT_EQ(doc.IsLockInput(), 1);

  // Numbers start again from 0.
  EXPECT_EQ(doc.AddJoint(1, 1, 1, -1), 0);
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
