#include "tav/model/TavGlobalOption.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tav {
namespace {

TEST(GlobalOptionTest, SetDofKeepsBitsSixAndSeven) {
  CTavGlobalOption options;
  options.SetDOF(true, true, false, false, false, true);
  EXPECT_EQ(options.GetDof().byFlags, 0xE3);
  EXPECT_EQ(options.GetStringDOF(TaV_SEPERATE_COMMA), "UX,UY,RZ");
  options.SetDOF(false, false, false, false, false, false);
  EXPECT_EQ(options.GetDof().byFlags, 0xC0);
  EXPECT_EQ(options.GetStringDOF(TaV_SEPERATE_BLANK), "");
}

TEST(GlobalOptionTest, CheckAndEigenPhrases) {
  CTavGlobalOption options;
  options.m_Check.byFlags = 0x14;
  EXPECT_EQ(options.GetStringCheck(), "LOAD-VECTOR DISPLACEMENT-VECTOR");

  EXPECT_EQ(options.GetStringEigen(), "EIGEN SOLUTION OF SMALLEST FREQUENCIES BY SUBSPACE ITERATION");
  options.m_nEigenRange = 3;
  options.m_nEigenMethod = 1;
  EXPECT_EQ(options.GetStringEigen(), "EIGEN SOLUTION OF FREQUENCIES WITHIN INTERVAL BY DETERMINANT SEARCH");
  options.m_nEigenMethod = 7;
  EXPECT_EQ(options.GetStringEigenSolutionMethod(), "SUBSPACE ITERATION");

  EXPECT_EQ(options.GetStringRigidBodyExist() + options.GetStringLanzosMethod(), "");
  options.m_bRigidBodyMode = 1;
  options.m_bLanczosVectors = 2;
  EXPECT_EQ(options.GetStringRigidBodyExist(), "RIGID BODY MODE EXIST");
  EXPECT_EQ(options.GetStringLanzosMethod(), "GENERATE LANZOS STARTING ITERATION VECTORS");
}

TEST(GlobalOptionTest, ClearDataRestoresEveryDefaultAndCopiesAreIndependent) {
  CTavGlobalOption options;
  options.SetNumberOfModes(12);
  options.m_dTolerance = 1e-6;
  options.m_nForceSegments = 10;
  CTavGlobalOption copy(options);
  options.ClearData();
  EXPECT_EQ(std::tuple(options.m_nModes, options.m_dTolerance, options.GetCountForceSegment()), std::tuple(0, 0.0, 4));
  EXPECT_EQ(std::tuple(copy.m_nModes, copy.GetCountForceSegment()), std::tuple(12, 10));
}

}  // namespace
}  // namespace tav
