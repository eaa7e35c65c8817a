#include "tav/loads/TavLoadStatic.h"

#include <gtest/gtest.h>

#include <tuple>

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
  EXPECT_EQ(std::tuple(loadCase.GetSizeLoadJoint(), loadCase.GetSizeLoadBeam(), loadCase.GetSizeLoadDisplacement()),
            std::tuple(2, 2, 1));
  EXPECT_EQ(std::tuple(loadCase.GetLoadBeam(1)->m_nIndex, loadCase.GetLoadBeam(1)->m_bAbsoluteDist), std::tuple(1, 1));
  // A direction outside X, Y and Z adds nothing.
  for (const int32_t dir : {-1, 3, 0x7FFFFFFF}) {
    EXPECT_EQ(loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(0, static_cast<TaV_DIR>(dir), 1, 1, 0, 1, 0, 0), -1);
  }
  EXPECT_EQ(loadCase.GetSizeLoadBeam(), 2);
}

TEST(LoadStaticTest, DistributedLoadFillsOnlyItsDirection) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(4, TaV_DIR_Y, 10, 20, 0.25, 0.75, 2, 0);
  const CTavLoadBeam* load = loadCase.GetLoadBeam(0);
  EXPECT_EQ(std::tuple(load->m_nBeam, load->m_eType, load->m_nFunction), std::tuple(4, TaV_BEAMLOAD_DISTRIBUTED, 2));
  const TaV_TYPED_LOAD& y = load->m_Load[1];
  EXPECT_EQ(std::tuple(y.nValue, y.nDist, y.dValue[0], y.dValue[1], y.dDist[0], y.dDist[1]),
            std::tuple(2, 2, 10.0, 20.0, 0.25, 0.75));
  EXPECT_EQ(std::tuple(load->m_Load[0].nValue, load->m_Load[2].nValue), std::tuple(0, 0));
}

TEST(LoadStaticTest, SelfWeightIsCreatedByItsFirstUseAndNamesItsDirection) {
  CTavLoadStatic loadCase;
  EXPECT_EQ(std::tuple(loadCase.IsSelfWeight(), loadCase.GetSelfWeight(), loadCase.GetStringSelfWeight()),
            std::tuple(0, nullptr, ""));
  loadCase.AddSelfWeight(TaV_DIR_Z, 1.0, 9.81, 0);
  ASSERT_EQ(loadCase.IsSelfWeight(), 1);
  EXPECT_EQ(loadCase.GetStringSelfWeight(), "SELF WEIGHT");
  CTavSelfWeight* first = loadCase.GetSelfWeight();
  loadCase.AddSelfWeight(TaV_DIR_X, 2.0, 1.5, 3);  // fills the same record again
  EXPECT_EQ(loadCase.GetSelfWeight(), first);
  EXPECT_EQ(std::tuple(first->m_eDir, first->m_dFactor, first->m_dAcceleration, first->m_nFunction),
            std::tuple(TaV_DIR_X, 2.0, 1.5, 3));
  const char* names[] = {"FX", "FY", "FZ", ""};
  for (int dir = 0; dir < 4; ++dir) {
    first->m_eDir = static_cast<TaV_DIR>(dir);
    EXPECT_EQ(first->GetStringDir(), names[dir]);
  }
}

TEST(LoadStaticTest, TitleCountsEachKindOfLoadAndDestroyDeletesThem) {
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
  loadCase.Destroy();
  EXPECT_EQ(loadCase.GetStringTitle(), "STATIC LOAD CONDITION 12");
}

TEST(LoadStaticTest, RecordKeepsNameFlagAndEveryLoad) {
  CTavLoadStatic loadCase;
  loadCase.m_nIndex = 3;
  loadCase.m_strName = "고정하중 DL";
  loadCase.m_bSelfWeight = 1;
  loadCase.AddLoadStatic_Joint(5, 1, 2, 3, 4, 5, 6, 7);
  const TaV_TYPED_LOAD x{1, 1, {-12.5, 0, 0, 0, 0, 99.0}, {0.4}};
  loadCase.AddLoadStatic_Beam(8, TaV_BEAMLOAD_FORCE, x, {}, {}, 1, 1);
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(9, TaV_DIR_Z, 3, 4, 0.1, 0.9, 0, 0);
  loadCase.AddLoadStatic_Displacement(6, 0, 0, -0.02, 0, 0.001, 0, 2);
  loadCase.AddSelfWeight(TaV_DIR_Y, 1.2, 9.81, 4);
  CTavLoadStatic back;
  for (int i = 0; i < 4; ++i) back.AddLoadStatic_Joint(0, 0, 0, 0, 0, 0, 0, 0);
  const auto bytes = test::RoundTrip(loadCase, back);
  const size_t nameBytes = 1 + loadCase.m_strName.size();
  EXPECT_EQ(bytes.size(), 4 + 4 + nameBytes + 4 + (4 + 60) + (4 + 2 * 336) + (4 + 60) + (4 + 28));
  EXPECT_EQ(std::tuple(test::StoreRecord(*back.GetLoadJoint(0)).size(), test::StoreRecord(*back.GetLoadBeam(0)).size(),
                       test::StoreRecord(*back.GetLoadDisplacement(0)).size(),
                       test::StoreRecord(*back.GetSelfWeight()).size()),
            std::tuple(60U, 336U, 60U, 28U));

  // Version 0 ends with the displacements: the self weight is not read.
  auto v0 = std::vector<uint8_t>(bytes.begin(), bytes.end() - (4 + 28));
  v0[0] = 0;
  CTavLoadStatic old;
  old.AddSelfWeight(TaV_DIR_X, 5, 5, 5);
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(std::tuple(old.GetSelfWeight()->m_dFactor, old.GetSizeLoadBeam()), std::tuple(5.0, 2));

  // A stored case without self weight removes the record of the one loaded.
  CTavLoadStatic plain;
  test::RoundTrip(plain, old);
  EXPECT_EQ(old.IsSelfWeight(), 0);
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

// Distributed pieces give negated intensities, start and length; forces the
// negated force and its position; moments, other types and unused
// directions give nothing.
TEST(LoadBeamTextTest, PiecesAsTheOwnFormatWritesThem) {
  // Of three points only the first two are used.
  const TaV_TYPED_LOAD three{3, 0, {1.5, -2.0, 100.0}, {0.25, 0.5, 1.0}}, two{2, 0, {1.5, -2.0}, {0.25, 0.5}};
  const TaV_TYPED_LOAD absolute{3, 0, {1.5, -2.0, 100.0}, {1.0, 3.5, 1.0}}, w1w2{2, 2, {5.0, 5.0}, {0.0, 1.0}};
  const TaV_TYPED_LOAD x{1, 0, {10.0}, {0.5}}, z{1, 0, {-4.0}, {0.25}}, m{1, 0, {10.0}, {}}, unused{-1, 0, {10.0}, {}};
  struct Case {
    TaV_BEMALOAD_TYPE type;
    TaV_TYPED_LOAD x, y, z;
    int absolute;
    double length;
    const char* text;
  };
  const Case cases[] = {
      {TaV_BEAMLOAD_DISTRIBUTED, {}, w1w2, {}, 0, 4.0, "WY=-5. -5. 0. 4. "},
      {TaV_BEAMLOAD_DISTRIBUTED, three, {}, two, 0, 8.0, "WX=-1.5 2. 2. 2. WZ=-1.5 2. 2. 2. "},
      {TaV_BEAMLOAD_DISTRIBUTED, absolute, {}, {}, 1, 8.0, "WX=-1.5 2. 1. 2.5 "},
      {TaV_BEAMLOAD_FORCE, x, {}, z, 0, 6.0, "PX=-10. 3. 0. 1. PZ=4. 1.5 0. 1. "},
      {TaV_BEAMLOAD_FORCE, x, {}, z, 1, 6.0, "PX=-10. 0.5 0. 1. PZ=4. 0.25 0. 1. "},
      {TaV_BEAMLOAD_MOMENT, m, m, m, 0, 2.0, ""},
      {static_cast<TaV_BEMALOAD_TYPE>(3), m, m, m, 0, 2.0, ""},
      {TaV_BEAMLOAD_FORCE, unused, {}, {}, 0, 2.0, ""},
  };
  for (const Case& c : cases) {
    CTavLoadStatic loadCase;
    loadCase.AddLoadStatic_Beam(0, c.type, c.x, c.y, c.z, 0, c.absolute);
    EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Tav(c.length), c.text) << c.text;
  }
}

}  // namespace
}  // namespace tav
