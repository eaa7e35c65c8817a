#include <gtest/gtest.h>

#include <tuple>

#include "support/Records.h"
#include "tav/loads/TavLoadHistory.h"
#include "tav/loads/TavLoadMoving.h"
#include "tav/loads/TavLoadResponseSpectrum.h"

namespace tav {
namespace {

CDoubleArray Parameters(const CString& text, TaV_INTEGRATION_METHOD method = TaV_METHOD_NEWMARK_BETA) {
  CTavLoadHistory loadCase;
  loadCase.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_DIRECT_INTEGRATION, method, 0, 100, 0.01, text);
  return loadCase.m_arrParameter;
}

TEST(LoadHistoryTest, ParametersReadEveryBlankSeparatedToken) {
  EXPECT_EQ(Parameters("0.25 0.5"), (CDoubleArray{0.25, 0.5}));
  EXPECT_EQ(Parameters("0.25  0.5"), (CDoubleArray{0.25, 0.0, 0.5}));
  EXPECT_EQ(Parameters("0.25 0.5 // average acceleration"), (CDoubleArray{0.25, 0.5, 0.0}));
  EXPECT_EQ(Parameters("1.4", TaV_METHOD_WILSON_THETA), (CDoubleArray{1.4}));
  EXPECT_EQ(Parameters("1e-2 x 3abc"), (CDoubleArray{0.01, 0.0, 3.0}));
  EXPECT_EQ(Parameters("   "), CDoubleArray{});
  EXPECT_EQ(Parameters("// nothing"), CDoubleArray{});
  EXPECT_EQ(Parameters("0.25 0.5", TaV_METHOD_CENTRAL_DIFFERENCE), CDoubleArray{});
}

TEST(LoadHistoryTest, ParametersAccumulateAndNstChangesOnlyStepsAndType) {
  CTavLoadHistory loadCase;
  loadCase.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_WILSON_THETA, 5, 200, 0.02, "1.4");
  loadCase.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_WILSON_THETA, 6, 300, 0.01, "1.4");
  EXPECT_EQ(loadCase.m_arrParameter, (CDoubleArray{1.4, 1.4}));
  EXPECT_EQ(std::tuple(loadCase.m_nModes, loadCase.m_nHistoryType), std::tuple(6, 1));
  loadCase.AddLoadHistory_NST(50, 0.1);
  EXPECT_EQ(std::tuple(loadCase.m_nHistoryType, loadCase.m_dNste, loadCase.m_dDt, loadCase.m_eMode, loadCase.m_nModes),
            std::tuple(0, 50.0, 0.1, TaV_MODE_SUPERPOSITION, 6));
  loadCase.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_RESPONSE_SPECTRUM, TaV_METHOD_NEWMARK_BETA, 1, 2, 3);
  EXPECT_EQ(loadCase.GetStringLoadHistoryParameters(), "1.4 1.4 ");
  loadCase.Init();
  EXPECT_EQ(loadCase.m_arrParameter.GetSize(), 2);  // Init keeps them
}

TEST(LoadHistoryTest, TextsAndValuesOutOfRange) {
  CTavLoadHistory loadCase;
  const auto texts = [&loadCase] {
    return CStringArray{loadCase.GetStringLoadHistoryType(), loadCase.GetStringLoadHistoryMode(),
                        loadCase.GetStringLoadHistoryMethod()};
  };
  EXPECT_EQ(texts(), (CStringArray{"NST", "DIRECT INTRGRATION", "NEWMARK BETA"}));
  EXPECT_EQ(loadCase.GetStringLoadHistoryParameters(), " ");
  loadCase.m_nHistoryType = 1;
  loadCase.m_eMode = TaV_MODE_RESPONSE_SPECTRUM;
  loadCase.m_eMethod = TaV_METHOD_CENTRAL_DIFFERENCE;
  EXPECT_EQ(texts(), (CStringArray{"DYNAMIC ANALYSYS", "RESPONSE SPECTRUM", "CENTRAL DIFFERENCE"}));
  loadCase.m_nHistoryType = 2;
  loadCase.m_eMode = static_cast<TaV_DYNAMIC_ANALYSYS_MODE>(-1);
  loadCase.m_eMethod = static_cast<TaV_INTEGRATION_METHOD>(3);
  EXPECT_EQ(texts(), (CStringArray{"", "", ""}));
}

TEST(LoadHistoryTest, RecordKeepsTheSettingsNameAndLoads) {
  CTavLoadHistory loadCase;
  loadCase.m_nHistoryIndex = 2;
  loadCase.m_strName = "EQ";
  loadCase.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_WILSON_THETA, 7, 400, 0.005, "1.4 2");
  loadCase.AddLoadStatic_Joint(3, 0, 1, 0, 0, 0, 0, 1);
  loadCase.AddLoadStatic_Displacement(0, 0.01, 0, 0, 0, 0, 0, 1);
  loadCase.AddSelfWeight(TaV_DIR_X, 1, 9.81, 1);
  CTavLoadHistory back;
  back.m_arrParameter = CDoubleArray{9, 9, 9};
  const auto bytes = test::RoundTrip(loadCase, back);
  const size_t v0Bytes = 4U + 4U + 8U + 8U + 4U + 4U + 4U + 4U + 4U + 2 * 8U;
  EXPECT_EQ(bytes.size(), v0Bytes + (1 + 2) + 4 + (4 + 60) + 4 + (4 + 60) + (4 + 28));

  // Version 0 holds the settings only: name and loads stay as they were.
  auto v0 = std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(v0Bytes));
  v0[0] = 0;
  CTavLoadHistory old;
  old.m_strName = "KEPT";
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(std::tuple(old.m_strName, old.m_nModes, old.GetSizeLoadJoint()), std::tuple("KEPT", 7, 0));
}

TEST(LoadResponseSpectrumTest, DampingIsReadForCqcOnlyAndAccumulates) {
  CTavLoadResponseSpectrum loadCase;
  loadCase.AddLoadResponseSpectrum_Combination(99, 6, TaV_MODECOMB_CQC, "0.05 0.02");
  EXPECT_EQ(std::tuple(loadCase.m_arrDamping, loadCase.m_nModes), std::tuple(CDoubleArray{0.05, 0.02}, 6));
  EXPECT_EQ(loadCase.GetStringLoadResponseDamping(), "0.05 0.02 ");
  loadCase.AddLoadResponseSpectrum_Combination(0, 8, TaV_MODECOMB_SRSS, "0.05 0.02");
  EXPECT_EQ(std::tuple(loadCase.GetSizeDamping(), loadCase.m_eCombination), std::tuple(2, TaV_MODECOMB_SRSS));
  loadCase.AddLoadResponseSpectrum_Combination(0, 8, TaV_MODECOMB_CQC, " 0.1");
  EXPECT_EQ(loadCase.m_arrDamping, (CDoubleArray{0.05, 0.02, 0.0, 0.1}));
}

// The excitation is a self-weight record, there from the start (factor 0
// along X) until Destroy.
TEST(LoadResponseSpectrumTest, ExcitationRecordExistsFromTheStartUntilDestroy) {
  CTavLoadResponseSpectrum loadCase;
  EXPECT_EQ(std::tuple(loadCase.GetStringSelfWeight(), loadCase.GetStringLoadResponseDamping()),
            std::tuple("SELF WEIGHT", ""));
  ASSERT_EQ(loadCase.IsSelfWeight(), 1);
  EXPECT_EQ(std::tuple(loadCase.GetSelfWeight()->m_dFactor, loadCase.GetSelfWeight()->m_eDir),
            std::tuple(0.0, TaV_DIR_X));
  loadCase.Destroy();
  EXPECT_EQ(std::tuple(loadCase.IsSelfWeight(), loadCase.GetStringSelfWeight()), std::tuple(0, ""));
  loadCase.AddSelfWeight(TaV_DIR_Y, 1.0, 9.81, 1);
  ASSERT_EQ(loadCase.IsSelfWeight(), 1);
  EXPECT_EQ(loadCase.GetSelfWeight()->m_nFunction, 1);
}

TEST(LoadResponseSpectrumTest, RecordKeepsEveryField) {
  CTavLoadResponseSpectrum loadCase;
  loadCase.m_nIndex = 1;
  loadCase.m_strName = "EQX";
  loadCase.AddLoadResponseSpectrum_Combination(0, 12, TaV_MODECOMB_CQC, "0.05 0.03 0.02");
  loadCase.AddSelfWeight(TaV_DIR_Y, 1.5, 9.81, 2);
  CTavLoadResponseSpectrum back;
  back.m_nModes = 4;
  test::RoundTrip(loadCase, back);

  // Version 0 has no modes and no excitation: they stay as they were.
  const auto v0 = test::Bytes(
      [](CArchive& ar) { ar << int32_t{0} << int32_t{0} << CString("R") << int32_t{1} << int32_t{1} << 0.05; });
  CTavLoadResponseSpectrum old;
  old.m_nModes = 4;
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(std::tuple(old.m_nModes, old.m_eCombination, old.m_arrDamping),
            std::tuple(4, TaV_MODECOMB_SRSS, CDoubleArray{0.05}));
  ASSERT_EQ(old.IsSelfWeight(), 1);
  EXPECT_EQ(old.GetSelfWeight()->m_dFactor, 0.0);
}

TEST(LoadMovingTest, LanesKeepTheirOrderAndTheRecordResizes) {
  CTavLoadMoving loadCase;
  loadCase.m_nIndex = 0;
  loadCase.m_strName = "DB-24";
  loadCase.AddMovingLoad_Lane(0, 1, 0.5, 0.5);
  CTavLane* lane = loadCase.AddMovingLoad_Lane(1, 2, 0.25, -0.5);
  EXPECT_EQ(loadCase.GetLane(1), lane);
  EXPECT_EQ(std::tuple(lane->m_nElement1, lane->m_nElement2, lane->m_dEcc1, lane->m_dEcc2),
            std::tuple(1, 2, 0.25, -0.5));
  EXPECT_EQ(test::StoreRecord(*lane).size(), 28U);

  CTavLoadMoving larger;
  for (int i = 0; i < 5; ++i) larger.AddMovingLoad_Lane(9, 9, 9, 9);
  test::RoundTrip(loadCase, larger);
  test::RoundTrip(loadCase);
  EXPECT_EQ(larger.GetCountLane(), 2);
}

}  // namespace
}  // namespace tav
