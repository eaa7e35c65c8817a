#include "tav/loads/TavLoadStatic.h"

#include <gtest/gtest.h>

#include "support/Records.h"

namespace tav {
namespace {

TEST(LoadStaticTest, EachKindOfLoadCountsItsOwnPositions) {
  CTavLoadStatic loadCase;
  EXPECT_EQ(loadCase.AddLoadStatic_Joint(0, 1, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, 1, 1, 0, 1, 0, 0), 0);
  EXPECT_EQ(loadCase.AddLoadStatic_Joint(1, 1, 0, 0, 0, 0, 0, 0), 1);
  EXPECT_EQ(loadCase.AddLoadStatic_Displacement(2, 0, 0, 0.01, 0, 0, 0, 0), 0);
  EXPECT_EQ(loadCase.AddLoadStatic_Beam(3, TaV_BEAMLOAD_MOMENT, {}, {}, {}, 0, 1), 1);
  EXPECT_EQ(loadCase.GetSizeLoadJoint(), 2);
  EXPECT_EQ(loadCase.GetSizeLoadBeam(), 2);
  EXPECT_EQ(loadCase.GetSizeLoadDisplacement(), 1);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->m_nIndex, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->m_bAbsoluteDist, 1);
}

TEST(LoadStaticTest, DistributedLoadFillsOnlyItsDirection) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(4, TaV_DIR_Y, 10, 20, 0.25, 0.75, 2, 0);
  const CTavLoadBeam* load = loadCase.GetLoadBeam(0);
  EXPECT_EQ(load->m_nBeam, 4);
  EXPECT_EQ(load->m_eType, TaV_BEAMLOAD_DISTRIBUTED);
  EXPECT_EQ(load->m_nFunction, 2);
  EXPECT_EQ(load->m_Load[1].nValue, 2);
  EXPECT_EQ(load->m_Load[1].nDist, 2);
  EXPECT_EQ(load->m_Load[1].dValue[0], 10.0);
  EXPECT_EQ(load->m_Load[1].dValue[1], 20.0);
  EXPECT_EQ(load->m_Load[1].dDist[0], 0.25);
  EXPECT_EQ(load->m_Load[1].dDist[1], 0.75);
  EXPECT_EQ(load->m_Load[0].nValue, 0);
  EXPECT_EQ(load->m_Load[2].nValue, 0);
}

TEST(LoadStaticTest, SelfWeightIsCreatedByItsFirstUse) {
  CTavLoadStatic loadCase;
  loadCase.m_nIndex = 0;
  EXPECT_EQ(loadCase.IsSelfWeight(), 0);
  EXPECT_EQ(loadCase.GetSelfWeight(), nullptr);
  EXPECT_EQ(loadCase.GetStringSelfWeight(), "");
  loadCase.AddSelfWeight(TaV_DIR_Z, 1.0, 9.81, 0);
  ASSERT_EQ(loadCase.IsSelfWeight(), 1);
  EXPECT_EQ(loadCase.GetSelfWeight()->m_dAcceleration, 9.81);
  EXPECT_EQ(loadCase.GetStringSelfWeight(), "SELF WEIGHT");
  loadCase.AddSelfWeight(TaV_DIR_X, 2.0, 1.0, 3);  // fills the same record again
  EXPECT_EQ(loadCase.GetSelfWeight()->m_eDir, TaV_DIR_X);
  EXPECT_EQ(loadCase.GetSelfWeight()->m_nFunction, 3);
  EXPECT_EQ(loadCase.GetStringTitle(), "STATIC LOAD CONDITION 1 SELF WEIGHT");
}

TEST(LoadStaticTest, TitleCountsEachKindOfLoad) {
  CTavLoadStatic loadCase;
  loadCase.m_nIndex = 0;
  loadCase.AddLoadStatic_Joint(0, 1, 0, 0, 0, 0, 0, 0);
  loadCase.AddLoadStatic_Joint(1, 1, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(loadCase.GetStringTitle(), "STATIC LOAD CONDITION 1 JOINT LOAD=2");
  loadCase.m_nIndex = 11;
  loadCase.AddLoadStatic_Displacement(0, 0, 0, 0, 0, 0, 0, 0);
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_X, 1, 1, 0, 1, 0, 0);
  loadCase.AddSelfWeight(TaV_DIR_Z, 1, 9.81, 0);
  EXPECT_EQ(loadCase.GetStringTitle(),
            "STATIC LOAD CONDITION 12 SELF WEIGHT JOINT LOAD=2 BEAM LOAD=1 PRESCRIBED DISPLACEMENT LOAD=1");
}

TEST(LoadStaticTest, DestroyDeletesEveryLoad) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_Joint(0, 1, 0, 0, 0, 0, 0, 0);
  loadCase.AddSelfWeight(TaV_DIR_Z, 1, 9.81, 0);
  loadCase.Destroy();
  EXPECT_EQ(loadCase.GetSizeLoadJoint(), 0);
  EXPECT_EQ(loadCase.IsSelfWeight(), 0);
}

TEST(LoadStaticTest, RecordKeepsNameFlagAndEveryLoad) {
  CTavLoadStatic loadCase;
  loadCase.m_nIndex = 3;
  loadCase.m_strName = "고정하중 DL";
  loadCase.m_bSelfWeight = 1;
  loadCase.AddLoadStatic_Joint(5, 1, 2, 3, 4, 5, 6, 7);
  TaV_TYPED_LOAD x;
  x.nValue = 1;
  x.nDist = 1;
  x.dValue[0] = -12.5;
  x.dDist[0] = 0.4;
  x.dValue[5] = 99.0;
  loadCase.AddLoadStatic_Beam(8, TaV_BEAMLOAD_FORCE, x, {}, {}, 1, 1);
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(9, TaV_DIR_Z, 3, 4, 0.1, 0.9, 0, 0);
  loadCase.AddLoadStatic_Displacement(6, 0, 0, -0.02, 0, 0.001, 0, 2);
  loadCase.AddSelfWeight(TaV_DIR_Z, 1, 9.81, 0);
  const auto bytes = test::StoreRecord(loadCase);
  const size_t nameBytes = 1 + loadCase.m_strName.size();
  EXPECT_EQ(bytes.size(), 4 + 4 + nameBytes + 4 + (4 + 60) + (4 + 2 * 336) + (4 + 60) + (4 + 28));

  CTavLoadStatic back;
  for (int i = 0; i < 4; ++i) back.AddLoadStatic_Joint(0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(test::LoadRecord(bytes, back), 0U);
  EXPECT_EQ(back.m_nIndex, 3);
  EXPECT_EQ(back.m_strName, loadCase.m_strName);
  EXPECT_EQ(back.m_bSelfWeight, 1);
  ASSERT_EQ(back.GetSizeLoadJoint(), 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(back.GetLoadJoint(0)->m_dValue[i], i + 1.0);
  EXPECT_EQ(back.GetLoadJoint(0)->m_nFunction, 7);
  ASSERT_EQ(back.GetSizeLoadBeam(), 2);
  const CTavLoadBeam* force = back.GetLoadBeam(0);
  EXPECT_EQ(force->m_eType, TaV_BEAMLOAD_FORCE);
  EXPECT_EQ(force->m_nBeam, 8);
  EXPECT_EQ(force->m_bAbsoluteDist, 1);
  EXPECT_EQ(force->m_Load[0].dValue[0], -12.5);
  EXPECT_EQ(force->m_Load[0].dValue[5], 99.0);
  EXPECT_EQ(force->m_Load[0].dDist[0], 0.4);
  EXPECT_EQ(back.GetLoadBeam(1)->m_Load[2].dDist[1], 0.9);
  EXPECT_EQ(back.GetLoadBeam(1)->m_nIndex, 1);
  ASSERT_EQ(back.GetSizeLoadDisplacement(), 1);
  EXPECT_EQ(back.GetLoadDisplacement(0)->m_dValue[2], -0.02);
  ASSERT_EQ(back.IsSelfWeight(), 1);
  EXPECT_EQ(back.GetSelfWeight()->m_dAcceleration, 9.81);

  // Version 0 ends with the displacements: the self weight is not read.
  auto v0 = std::vector<uint8_t>(bytes.begin(), bytes.end() - (4 + 28));
  v0[0] = 0;
  CTavLoadStatic old;
  old.AddSelfWeight(TaV_DIR_X, 5, 5, 5);
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(old.GetSelfWeight()->m_dFactor, 5.0);
  EXPECT_EQ(old.GetSizeLoadBeam(), 2);

  // A stored case without self weight removes the record of the one loaded.
  CTavLoadStatic plain;
  test::RoundTrip(plain, old);
  EXPECT_EQ(old.IsSelfWeight(), 0);
}

TEST(LoadRecordsTest, RecordSizes) {
  CTavLoadJoint joint;
  CTavLoadDisplacement displacement;
  CTavLoadBeam beam;
  CTavSelfWeight weight;
  EXPECT_EQ(test::StoreRecord(joint).size(), 60U);
  EXPECT_EQ(test::StoreRecord(displacement).size(), 60U);
  EXPECT_EQ(test::StoreRecord(beam).size(), 336U);
  EXPECT_EQ(test::StoreRecord(weight).size(), 28U);

  weight.m_eDir = TaV_DIR_Y;
  weight.m_dFactor = 1.2;
  weight.m_dAcceleration = 9.81;
  weight.m_nFunction = 4;
  CTavSelfWeight back;
  test::RoundTrip(weight, back);
  EXPECT_EQ(back.m_eDir, TaV_DIR_Y);
  EXPECT_EQ(back.m_dFactor, 1.2);
  EXPECT_EQ(back.m_dAcceleration, 9.81);
  EXPECT_EQ(back.m_nFunction, 4);
}

TEST(LoadRecordsTest, ComponentTextsNameTheValuesThatAreNotZero) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_Joint(0, 0, 0, -10, 0, 0, 0, 0);
  loadCase.AddLoadStatic_Joint(0, 0, 0, 0, 0, 0, 0, 0);
  loadCase.AddLoadStatic_Displacement(0, 0.5, 0, 0, 0, 0, -1e-5, 0);
  EXPECT_EQ(loadCase.GetLoadJoint(0)->GetStringComponent(), "PZ=-10.");
  EXPECT_EQ(loadCase.GetLoadJoint(1)->GetStringComponent(), "");
  EXPECT_EQ(loadCase.GetLoadDisplacement(0)->GetStringComponent(), "DX=0.5 RZ=-1e-005.");
  EXPECT_EQ(CTavLoadDisplacement().GetStringComponent(), "");
}

TEST(LoadRecordsTest, SelfWeightDirections) {
  CTavSelfWeight weight;
  const char* expected[] = {"FX", "FY", "FZ", ""};
  for (int dir = 0; dir < 4; ++dir) {
    weight.m_eDir = static_cast<TaV_DIR>(dir);
    EXPECT_EQ(weight.GetStringDir(), expected[dir]);
  }
}

TEST(LoadBeamTextTest, DistributedPiecesGiveNegatedIntensitiesStartAndLength) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Y, 5, 5, 0, 1, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Tav(4.0), "WY=-5. -5. 0. 4. ");

  TaV_TYPED_LOAD x;
  x.nValue = 3;  // only the first two points are used
  x.dValue[0] = 1.5;
  x.dValue[1] = -2.0;
  x.dValue[2] = 100.0;
  x.dDist[0] = 0.25;
  x.dDist[1] = 0.5;
  x.dDist[2] = 1.0;
  TaV_TYPED_LOAD z = x;
  z.nValue = 2;
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_DISTRIBUTED, x, {}, z, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->GetStringLoad_Tav(8.0), "WX=-1.5 2. 2. 2. WZ=-1.5 2. 2. 2. ");

  x.dDist[0] = 1.0;
  x.dDist[1] = 3.5;
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_DISTRIBUTED, x, {}, {}, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(2)->GetStringLoad_Tav(8.0), "WX=-1.5 2. 1. 2.5 ");
}

TEST(LoadBeamTextTest, ConcentratedForcesGiveNegatedForceAndPosition) {
  TaV_TYPED_LOAD x;
  x.nValue = 1;
  x.dValue[0] = 10.0;
  x.dDist[0] = 0.5;
  TaV_TYPED_LOAD z;
  z.nValue = 1;
  z.dValue[0] = -4.0;
  z.dDist[0] = 0.25;
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, x, {}, z, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Tav(6.0), "PX=-10. 3. 0. 1. PZ=4. 1.5 0. 1. ");
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, x, {}, z, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->GetStringLoad_Tav(6.0), "PX=-10. 0.5 0. 1. PZ=4. 0.25 0. 1. ");
}

TEST(LoadBeamTextTest, MomentsOtherTypesAndUnusedDirectionsGiveNothing) {
  TaV_TYPED_LOAD x;
  x.nValue = 1;
  x.dValue[0] = 10.0;
  TaV_TYPED_LOAD unused = x;
  unused.nValue = -1;
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_MOMENT, x, x, x, 0, 0);
  loadCase.AddLoadStatic_Beam(0, static_cast<TaV_BEMALOAD_TYPE>(3), x, x, x, 0, 0);
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, unused, {}, {}, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Tav(2.0), "");
  EXPECT_EQ(loadCase.GetLoadBeam(1)->GetStringLoad_Tav(2.0), "");
  EXPECT_EQ(loadCase.GetLoadBeam(2)->GetStringLoad_Tav(2.0), "");
}

}  // namespace
}  // namespace tav
