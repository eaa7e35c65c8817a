// The own input from the title to the initial conditions.
#include <gtest/gtest.h>

#include <cmath>

#include "support/Golden.h"
#include "tav/writers/OwnInputWriter.h"
#include "writers/WriterTesting.h"

namespace tav::test {
namespace {

std::vector<std::string> SystemLines(const CTavData& doc) {
  return SplitLines(WriteSection(doc, &OwnInputWriter::WriteSystem));
}

// A wrapped statement's first line: `text` and the mark in column 80.
std::string Marked(const std::string& text) { return text + std::string(79 - text.size(), ' ') + "*"; }

// The eigen solution by `method` with these counts; the other options keep their defaults.
CTavGlobalOption& Eigen(CTavData& doc, int32_t method, int32_t modes, int32_t vectors, int32_t iterations) {
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = method;
  options.m_nModes = modes;
  options.m_nSubspaceVectors = vectors;
  options.m_nIterations = iterations;
  return options;
}

TEST(OwnHeaderWriterTest, InitialConditionsThatExistAreWrappedAfterTheSecondTemperature) {
  CTavData doc;
  doc.GetGlobalOption()->m_bInitTemperature = 1;
  EXPECT_EQ(WriteSection(doc, &OwnInputWriter::WriteInitialConditions),
            CrLfLines({Marked("INITIAL CONDITIONS EXIST INITIAL TEMPERATURE EXIST INITIAL TEMPERATURE").c_str(),
                       "  GRADIENT NOT EXIST"}));
  doc.GetGlobalOption()->m_bInitTemperature = 0;
  doc.GetGlobalOption()->m_bInitTemperatureGradient = 7;
  EXPECT_EQ(WriteSection(doc, &OwnInputWriter::WriteInitialConditions),
            CrLfLines({Marked("INITIAL CONDITIONS EXIST INITIAL TEMPERATURE NOT EXIST INITIAL TEMPERATURE").c_str(),
                       "  GRADIENT EXIST"}));
}

TEST(OwnHeaderWriterTest, NoActiveDegreeOfFreedomLeavesTheListEmpty) {
  CTavData doc;
  doc.GetGlobalOption()->SetDOF(false, false, false, false, false, false);
  doc.GetGlobalOption()->m_Check.byFlags = 0;
  EXPECT_EQ(WriteSection(doc, &OwnInputWriter::WriteSystem),
            CrLfLines({"SYSTEM", "   MASTER DOF=", "   NUMBER OF NODES=0", "   CHECK "}));
}

TEST(OwnHeaderWriterTest, DeterminantSearchKeepsTwoBlanksOnlyWhileUnwrapped) {
  CTavData doc;
  CTavGlobalOption& options = Eigen(doc, 1, 3, 6, 5);
  const std::string unwrapped = "   ITERATION NUMBERS=5  RIGID BODY MODE SHIFTE=0 CUT_OFF CIRCLULAR FREQUENCY=0.";
  ASSERT_EQ(unwrapped.size(), 79U);
  EXPECT_EQ(SystemLines(doc)[4], unwrapped);
  options.m_nIterations = 50;
  const auto lines = SystemLines(doc);
  EXPECT_EQ(lines[4], Marked("   ITERATION NUMBERS=50 RIGID BODY MODE SHIFTE=0 CUT_OFF CIRCLULAR"));
  EXPECT_EQ(lines[5], "     FREQUENCY=0.");
}

// A model without joints whose method is neither determinant search nor subspace
// iteration writes no iteration statement, its count set or not; determinant search does.
TEST(OwnHeaderWriterTest, EigenMethodGoldens) {
  CTavData other;
  other.SetTitle("EIGEN OTHER");
  Eigen(other, 3, 10, 20, 99);
  EXPECT_TRUE(MatchesGolden("own_eigen_other.tav", SaveToString(other, TaV_FORMAT_TAV)));

  CTavData doc;
  doc.SetTitle("EIGEN DETERMINANT");
  CTavGlobalOption& options = Eigen(doc, 1, 4, 8, 30);
  options.m_nEigenRange = 1;
  options.m_bRigidBodyMode = 1;
  options.m_nRigidBodyShift = -2;
  options.m_dCutOffFrequency = 12.5;
  options.SetDOF(true, false, true, false, true, false);
  doc.AddJoint(0, 0, 0, true, true, true, true, true, true, -1);
  doc.AddJoint(5, 0, 0, -1);
  EXPECT_TRUE(MatchesGolden("own_eigen_determinant.tav", SaveToString(doc, TaV_FORMAT_TAV)));
}

// Every block of the header: subspace iteration, functions, local systems,
// joints, restraints, constraints, masses, dampers, initial conditions.
TEST(OwnHeaderWriterTest, FullHeaderGolden) {
  CTavData doc;
  doc.SetTitle("HEADER 모델 1");
  CTavGlobalOption& options = Eigen(doc, 2, 12, 24, 16);
  options.m_bRigidBodyMode = 1;
  options.m_nRigidBodyShift = 2;
  options.m_dCutOffFrequency = 0.5;
  options.m_dTolerance = 1e-6;
  options.m_bLanczosVectors = 1;
  options.m_nStartingVectors = 3;
  options.m_Check.byFlags = 0x05;
  options.m_bInitTemperature = 1;
  options.m_bInitTemperatureGradient = 1;

  CTavFunction& functions = *doc.GetFunction();
  functions.AddFunctionDefault();
  const int32_t sine = functions.AddFunction(TaV_FUNCTION_SINUSOIDAL, 0.5, 0.0);
  functions.AddFunctionValue(sine, 0.0, 0.0);
  functions.AddFunctionValue(sine, 0.25, 1.0);
  functions.AddFunctionValue(sine, 0.5, -1e-5);
  functions.AddFunction(TaV_FUNCTION_CONSTANT, 0.0, 2.5);  // no points
  const int32_t long_one = functions.AddFunction(TaV_FUNCTION_CONSTANT, 1.5, 1234567.0);
  for (int i = 0; i < 40; ++i) functions.AddFunctionValue(long_one, 0.1 * i, std::sin(0.1 * i));

  doc.AddLocalCoordSystem(M_PI / 2, 0.0, 0.0, 0);
  doc.AddLocalCoordSystem(30.0, -45.0, 1e-7, 1);

  for (int i = 0; i < 11; ++i) doc.AddJoint(1.5 * i, i % 2 == 0 ? 0.0 : -2.0, 1e7 * (i == 10), -1);
  doc.SetLocalCoodSystem(1, 0);
  doc.SetLocalCoodSystem(10, 1);
  doc.SetJointRestraint(0, true, true, true, true, true, true);
  doc.SetJointRestraint(9, false, false, true, false, false, false);
  doc.SetJointRestraint(10, true, false, false, false, false, true);

  doc.AddJointConstraintDiap(4, CString("5 6 7"));
  doc.AddJointConstraintDiap(8, CString(""));
  doc.GetConstraint()->AddRigidLink(0, 1, CLongArray{2, 3});
  doc.GetConstraint()->AddRigidLink(1, 9, CLongArray{10});

  doc.AddJointMass(2, 1.0, 1.0, 0.0, 0.0, 0.0, 0.25);
  doc.AddJointMass(9, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  doc.AddJointMass(2, 0.0, 0.0, 3e-6, 0.0, 0.0, 0.0);
  doc.AddJointDamping(10, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  doc.AddJointDamping(0, 0.05, 0.0, 0.0, 1.0, 2.0, 3.0);

  EXPECT_TRUE(MatchesGolden("own_header_full.tav", SaveToString(doc, TaV_FORMAT_TAV)));
}

// The count statement names the groups and local systems; a joint without
// restraints has its row, and the restraints their heading alone.
TEST(OwnHeaderWriterTest, CountStatementAndAJointWithoutRestraints) {
  CTavData doc;
  doc.AddGroupElement();
  doc.AddGroupSpringConstants();
  doc.AddGroupNllink();
  doc.AddLocalCoordSystem(0, 0, 0, 1);
  doc.AddJoint(0, 0, 0, -1);
  const auto lines = SystemLines(doc);
  EXPECT_EQ(lines[2], Marked("   NUMBER OF NODES=1 LINEAR ELEMENT GROUP=2 NONLINEAR ELEMENT GROUP=1 LOCAL"));
  EXPECT_EQ(lines[3], "     COORNATE SYSTEM=1");
  EXPECT_EQ(WriteSection(doc, &OwnInputWriter::WriteJoints), CrLfLines({"JOINT INFORMATIONS", "  1  X=0. Y=0. Z=0."}));
  EXPECT_EQ(WriteSection(doc, &OwnInputWriter::WriteRestraints), CrLfLines({"JOINT RESTRAINTS"}));
}

}  // namespace
}  // namespace tav::test
