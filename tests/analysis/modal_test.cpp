// Masses, self weight, modes and response spectrum conditions of the
// bundled program against closed forms: each model is built with the
// library, written as own input in full precision and analysed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>

#include "analysis/DiscreteModel.h"
#include "analysis/EigenSolver.h"
#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "support/Frames.h"
#include "support/Golden.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

constexpr double kE = 2.1e7;

struct Analysed {
  InputDeck deck;
  std::vector<CaseResult> results;
  ModalSolution modes;
  std::vector<std::string> warnings;
};

Analysed Analyse(CTavData& doc) {
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  std::istringstream in(test::SaveToString(doc, TaV_FORMAT_TAV));
  Analysed out;
  out.deck = ReadInput(in);
  Messages messages;
  messages.warning = [&out](const std::string& text) { out.warnings.push_back(text); };
  FrameAnalysis analysis(out.deck, messages);
  out.results = analysis.Run();
  out.modes = analysis.Modes();
  return out;
}

void AskModes(CTavData& doc, int modes) {
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = 2;
  options.SetNumberOfModes(modes);
}

CTavGroupElement* Group(CTavData& doc, double inertia) {
  return test::AddBeamGroup(doc, {kE, 0.3, inertia, inertia, 1e3, 2 * inertia});
}

// A cantilever of length 3 along Z with a mass of 10 at its tip, in Z and
// in X (and Y when `sideways`).
void BuildCantilever(CTavData& doc, double inertia, bool sideways) {
  const int32_t tip = test::AddCantilever(doc, Group(doc, inertia), {0, 0, 0}, {0, 0, 3});
  doc.AddJointMass(tip, 10, sideways ? 10 : 0, 10, 0, 0, 0);
}

// Two storeys of height 4, each of two columns fixed against rotation at
// both ends (so 12 EI / h^3 each); the floors are diaphragms whose masters
// carry the mass and sway in X alone.
void BuildShearBuilding(CTavData& doc, double inertia, double mass) {
  CTavGroupElement* group = Group(doc, inertia);
  for (int level = 0; level < 3; ++level) {
    const bool base = level == 0;
    for (double x : {0.0, 6.0}) doc.AddJoint(x, 0, 4.0 * level, base, base, true, true, true, base, -1);
  }
  for (int level = 1; level < 3; ++level) {
    const int left = 2 * level;
    doc.AddJointConstraintDiap(left, CLongArray{left + 1});
    doc.AddJointMass(left, mass, 0, 0, 0, 0, 0);
    doc.SetJointRestraint(left, false, true, true, true, true, true);
    for (int side = 0; side < 2; ++side) doc.AddBeam(group, 0, left - 2 + side, left + side, 0, 0, 0, 0, 0, 0, 4);
  }
}

// A response spectrum condition combining `modes` modes by `rule` with
// `damping`, excited along X by `factor` g of the spectrum `points` (period,
// acceleration).
CTavLoadResponseSpectrum& AddQuake(CTavData& doc, int modes, TaV_MODE_COMBINATION rule, double factor,
                                   std::initializer_list<std::array<double, 2>> points, const CString& damping = "") {
  const int32_t spectrum = doc.GetFunction()->AddFunction(TaV_FUNCTION_CONSTANT, 0, 0);
  for (const auto& [period, acceleration] : points) doc.GetFunction()->AddFunctionValue(spectrum, period, acceleration);
  CTavLoadResponseSpectrum& loadCase = *doc.AddLoadResponseSpectrum("quake");
  loadCase.AddLoadResponseSpectrum_Combination(0, modes, rule, damping);
  loadCase.AddSelfWeight(TaV_DIR_X, factor, 9.81, spectrum);
  return loadCase;
}

// The exact modes of two equal storeys of stiffness k and mass m:
// lambda = (k / m)(3 -+ sqrt 5) / 2, top over bottom (1 +- sqrt 5) / 2.
struct TwoStoreys {
  double k, m;
  double Lambda(int n) const { return k / m * (3.0 + (n == 0 ? -1 : 1) * std::sqrt(5.0)) / 2.0; }
  double Ratio(int n) const { return (1.0 + (n == 0 ? 1 : -1) * std::sqrt(5.0)) / 2.0; }
};

TEST(ModalTest, SingleMassOnAMasslessCantilever) {
  CTavData doc;
  BuildCantilever(doc, 0.003, true);
  AskModes(doc, 2);
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.modes.modes.size(), 2u);
  const double lambda = 3 * kE * 0.003 / (10 * 27.0);
  for (const Mode& mode : run.modes.modes) {
    EXPECT_NEAR(mode.eigenvalue / lambda, 1.0, 1e-12);  // bending about X and about Y alike
    EXPECT_NEAR(mode.period, 2 * std::numbers::pi / std::sqrt(lambda), 1e-12);
    EXPECT_NEAR(mode.frequency * mode.period, 1.0, 1e-14);
    EXPECT_NEAR(std::hypot(mode.shape[1][0], mode.shape[1][1]), 1 / std::sqrt(10.0), 1e-12);  // mass-normalised
  }
  const Six ratios = {1, 1, 0, 1, 1, 0};  // UX and UY wholly; RX, RY by the tip's lever arm
  for (size_t d = 0; d < 6; ++d) {
    EXPECT_NEAR(run.modes.modes[0].massRatio[d] + run.modes.modes[1].massRatio[d], ratios[d], 1e-12) << d;
  }
  EXPECT_EQ(run.modes.totalMass[3], 90.0);  // 10 at a height of 3 turning about X
}

TEST(ModalTest, TwoStoreyShearBuilding) {
  CTavData doc;
  BuildShearBuilding(doc, 0.002, 50.0);
  AskModes(doc, 5);
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.modes.modes.size(), 2u);  // only the two floors carry mass
  EXPECT_THAT(run.warnings.at(0), HasSubstr("5 modes are asked for, but only 2"));
  const TwoStoreys exact{2 * 12 * kE * 0.002 / 64.0, 50.0};
  double massRatios = 0;
  for (int n = 0; n < 2; ++n) {
    const Mode& mode = run.modes.modes[static_cast<size_t>(n)];
    EXPECT_NEAR(mode.eigenvalue / exact.Lambda(n), 1.0, 1e-12) << n;
    EXPECT_NEAR(mode.shape[4][0] / mode.shape[2][0], exact.Ratio(n), 1e-12) << n;
    EXPECT_NEAR(mode.shape[5][0], mode.shape[4][0], 1e-15);  // the diaphragm's slave follows
    massRatios += mode.massRatio[0];
  }
  EXPECT_NEAR(massRatios, 1.0, 1e-12);
}

TEST(ModalTest, FreeBarHasItsRigidBodyModeAtZero) {
  // Three joints along X, UX alone active: lambda = 0, k/m, 3 k/m.
  CTavData doc;
  doc.GetGlobalOption()->SetDOF(true, false, false, false, false, false);
  test::AddLine(doc, Group(doc, 1.0), 2, 4.0);
  for (int j = 0; j < 3; ++j) doc.AddJointMass(j, 5, 0, 0, 0, 0, 0);
  AskModes(doc, 3);
  EXPECT_THAT([&] { Analyse(doc); }, ThrowsMessage<AnalysisError>(HasSubstr("RIGID BODY MODE EXIST")));
  doc.GetGlobalOption()->m_bRigidBodyMode = 1;
  const Analysed run = Analyse(doc);
  const double kOverM = kE * 1e3 / 2.0 / 5.0;
  ASSERT_EQ(run.modes.modes.size(), 3u);
  const double ratios[] = {0, 1, 3};
  for (size_t n = 0; n < 3; ++n) EXPECT_NEAR(run.modes.modes[n].eigenvalue / kOverM, ratios[n], 1e-9) << n;
  EXPECT_EQ(run.modes.modes[0].period, 0.0);
  EXPECT_NEAR(run.modes.modes[0].massRatio[0], 1.0, 1e-9);  // the bar moving as a whole
}

TEST(ModalTest, FrequenciesWithinAnIntervalStopAtTheCutOff) {
  CTavData doc;
  BuildShearBuilding(doc, 0.002, 50.0);
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = 1;
  options.m_nEigenRange = 1;
  const TwoStoreys exact{2 * 12 * kE * 0.002 / 64.0, 50.0};
  options.m_dCutOffFrequency = std::sqrt(std::sqrt(exact.Lambda(0) * exact.Lambda(1)));  // between the two
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.modes.modes.size(), 1u);
  EXPECT_NEAR(run.modes.modes[0].eigenvalue / exact.Lambda(0), 1.0, 1e-12);
}

// A bar of n equal masses m on n equal springs k, fixed at one end (UX
// alone): lambda_j = 4 k/m sin^2((2j - 1) pi / (2 (2n + 1))). A cut-off
// above them all needs a second batch beyond the first twelve; none needs
// a positive cut-off.
TEST(ModalTest, AnIntervalBeyondTheFirstBatchFindsEveryModeBelowItsCutOff) {
  CTavData doc;
  doc.GetGlobalOption()->SetDOF(true, false, false, false, false, false);
  const int n = 20;
  test::AddLine(doc, Group(doc, 1.0), n, 2.0 * n);
  doc.SetJointRestraint(0, true, true, true, true, true, true);
  for (int j = 1; j <= n; ++j) doc.AddJointMass(j, 5, 0, 0, 0, 0, 0);
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = 2;
  options.m_nEigenRange = 1;
  EXPECT_THAT([&] { Analyse(doc); }, ThrowsMessage<AnalysisError>(HasSubstr("needs a positive CUT_OFF")));
  const double kOverM = kE * 1e3 / 2.0 / 5.0;
  options.m_dCutOffFrequency = 2 * std::sqrt(kOverM);
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.modes.modes.size(), static_cast<size_t>(n));
  for (int j = 1; j <= n; ++j) {
    const double exact = 4 * kOverM * std::pow(std::sin((2 * j - 1) * std::numbers::pi / (2 * (2 * n + 1))), 2);
    EXPECT_NEAR(run.modes.modes[static_cast<size_t>(j - 1)].eigenvalue / exact, 1.0, 1e-10) << j;
  }
}

TEST(ModalTest, ModesAskedOfAStructureWithoutMassAreAnError) {
  CTavData doc;
  BuildCantilever(doc, 0.003, true);
  doc.GetJointMass()->ClearData();
  AskModes(doc, 1);
  EXPECT_THAT([&] { Analyse(doc); }, ThrowsMessage<AnalysisError>(HasSubstr("no free degree of freedom carries")));
}

// Self weight: FZ=-1 with ACCELERATION=9.81 is gravity on a Z-up model. A
// cantilever along X with masses 10 and 20 at 2 and 4 bends by the closed
// form of two point loads; a mass on a support loads that support alone.
TEST(ModalTest, SelfWeightIsTheMassesWeightAndTheSupportsCarryIt) {
  CTavData doc;
  test::AddLine(doc, Group(doc, 0.003), 2, 4.0);
  doc.SetJointRestraint(0, true, true, true, true, true, true);
  for (int j = 1; j < 3; ++j) doc.AddJointMass(j, 0, 0, 10.0 * j, 0, 0, 0);
  doc.AddJointMass(test::AddFixedJoint(doc, 9, 0, 0), 0, 0, 7, 0, 0, 0);
  doc.AddLoadStatic("gravity", 1)->AddSelfWeight(TaV_DIR_Z, -1.0, 9.81, 0);
  const CaseResult result = Analyse(doc).results.at(0);
  const double p1 = 9.81 * 10, p2 = 9.81 * 20, ei = kE * 0.003;
  EXPECT_NEAR(result.reactions[0][2], p1 + p2, 1e-9);
  EXPECT_NEAR(result.reactions[3][2], 9.81 * 7, 1e-12);
  const double tip = p2 * 64 / (3 * ei) + p1 * 4 * (12 - 2) / (6 * ei);
  EXPECT_NEAR(result.displacements[2][2] / -tip, 1.0, 1e-12);
}

// Response spectrum of a single mass: u = m Sa / k, with Sa read off the
// spectrum at the mode's period.
TEST(ModalTest, SpectrumOfASingleDegreeOfFreedom) {
  CTavData doc;
  BuildCantilever(doc, 0.003, false);
  const double k = 3 * kE * 0.003 / 27.0;
  const double period = 2 * std::numbers::pi * std::sqrt(10 / k);
  AddQuake(doc, 1, TaV_MODECOMB_SRSS, 0.5, {{0.0, 1.0}, {2 * period, 3.0}});  // 2 at the mode's period
  const Analysed run = Analyse(doc);
  const double u = 10 * 2.0 * 0.5 * 9.81 / k;
  const CaseResult& result = run.results.at(0);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_NEAR(result.displacements[1][0] / u, 1.0, 1e-12);
  EXPECT_NEAR(result.reactions[0][0] / (k * u), 1.0, 1e-12);
  EXPECT_NEAR(result.reactions[0][4] / (k * u * 3), 1.0, 1e-12);  // the base moment
  EXPECT_EQ(result.displacements[1][1], 0.0);
}

// Two storeys under a spectrum that differs at the two periods: each
// floor's modal peaks from the closed-form modes, combined by ABS, SRSS
// and CQC (Der Kiureghian's correlation at 5 % and 2 % damping).
TEST(ModalTest, SpectrumOfTwoStoreysCombinedByEachRule) {
  const TwoStoreys exact{2 * 12 * kE * 0.002 / 64.0, 50.0};
  const double periods[2] = {2 * std::numbers::pi / std::sqrt(exact.Lambda(0)),
                             2 * std::numbers::pi / std::sqrt(exact.Lambda(1))};
  const auto sa = [&](double t) { return 1.0 + t / periods[0]; };  // 2 and 1 + T2/T1
  double peaks[2][2];                                              // [mode][floor]
  for (int n = 0; n < 2; ++n) {
    const double r = exact.Ratio(n);
    const double phi1 = 1 / std::sqrt(exact.m * (1 + r * r));  // mass-normalised, lower floor
    const double gamma = exact.m * phi1 * (1 + r);
    const double q = gamma * sa(periods[n]) * 9.81 / exact.Lambda(n);
    peaks[n][0] = phi1 * q;
    peaks[n][1] = phi1 * r * q;
  }
  const double zeta[2] = {0.05, 0.02};
  const double w = std::sqrt(exact.Lambda(1) / exact.Lambda(0));
  const double rho = 8 * std::sqrt(zeta[0] * zeta[1]) * (zeta[0] + w * zeta[1]) * std::pow(w, 1.5) /
                     (std::pow(1 - w * w, 2) + 4 * zeta[0] * zeta[1] * w * (1 + w * w) +
                      4 * (zeta[0] * zeta[0] + zeta[1] * zeta[1]) * w * w);
  struct Case {
    TaV_MODE_COMBINATION rule;
    double (*combine)(double, double, double);
  };
  const Case cases[] = {
      {TaV_MODECOMB_ABS, [](double a, double b, double) { return std::fabs(a) + std::fabs(b); }},
      {TaV_MODECOMB_SRSS, [](double a, double b, double) { return std::hypot(a, b); }},
      {TaV_MODECOMB_CQC, [](double a, double b, double c) { return std::sqrt(a * a + b * b + 2 * c * a * b); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.rule));
    CTavData doc;
    BuildShearBuilding(doc, 0.002, 50.0);
    AddQuake(doc, 3, c.rule, 1.0, {{0.0, 1.0}, {periods[0], 2.0}}, "0.05 0.02");
    const Analysed run = Analyse(doc);
    EXPECT_THAT(run.warnings.back(), HasSubstr("asks for 3 modes; the 2 found are combined"));
    for (int floor = 0; floor < 2; ++floor) {
      const double expected = c.combine(peaks[0][floor], peaks[1][floor], rho);
      EXPECT_NEAR(run.results.at(0).displacements[2 + 2 * floor][0] / expected, 1.0, 1e-12) << floor;
    }
  }
}

// A response spectrum condition that cannot be analysed fails alone.
TEST(ModalTest, SpectrumConditionsThatCannotBeAnalysedFailAlone) {
  struct Case {
    const char* error;
    std::function<void(CTavData&, CTavLoadResponseSpectrum&)> spoil;
  };
  const Case cases[] = {
      {"it combines NUMBER OF MODES=0",
       [](CTavData&, CTavLoadResponseSpectrum& c) { c.AddLoadResponseSpectrum_Combination(0, 0, TaV_MODECOMB_SRSS); }},
      {"its spectrum, function 9, does not exist",
       [](CTavData&, CTavLoadResponseSpectrum& c) { c.AddSelfWeight(TaV_DIR_X, 1, 1, 8); }},
      {"its spectrum, function 2, is not a table of points (CONSTANT)",
       [](CTavData& doc, CTavLoadResponseSpectrum& c) {
         c.AddSelfWeight(TaV_DIR_X, 1, 1, doc.GetFunction()->AddFunction(TaV_FUNCTION_SINUSOIDAL, 1, 2));
       }},
      {"the periods of its spectrum, function 2, do not increase",
       [](CTavData& doc, CTavLoadResponseSpectrum& c) {
         const int32_t f = doc.GetFunction()->AddFunction(TaV_FUNCTION_CONSTANT, 0, 0);
         doc.GetFunction()->AddFunctionValue(f, 1, 1);
         doc.GetFunction()->AddFunctionValue(f, 1, 2);
         c.AddSelfWeight(TaV_DIR_X, 1, 1, f);
       }},
      {"its excitation names no direction",
       [](CTavData&, CTavLoadResponseSpectrum& c) { c.AddSelfWeight(static_cast<TaV_DIR>(5), 1, 1, 0); }},
  };
  for (const Case& c : cases) {
    CTavData doc;
    BuildCantilever(doc, 0.003, false);
    c.spoil(doc, AddQuake(doc, 1, TaV_MODECOMB_ABS, 1.0, {{0, 1}, {1, 1}}));
    AddQuake(doc, 1, TaV_MODECOMB_ABS, 1.0, {{0, 1}, {1, 1}});  // one that is fine
    const Analysed run = Analyse(doc);
    EXPECT_EQ(run.results.at(0).error, std::string("response spectrum load condition 1: ") + c.error);
    EXPECT_EQ(run.results.at(1).error, "");
    EXPECT_GT(run.results.at(1).displacements[1][0], 0.0);
  }
}

// Random small frames: the eigenvalues of both paths of the solver against
// a dense generalized eigensolution of the same matrices.
TEST(ModalTest, BothPathsAgreeWithADenseGeneralizedSolution) {
  std::srand(7);
  const auto random = [] { return std::rand() / double(RAND_MAX); };
  for (int trial = 0; trial < 3; ++trial) {
    CTavData doc;
    CTavGroupElement* group = Group(doc, 0.001 + 0.002 * random());
    for (int j = 0; j < 8; ++j) {
      const bool base = j < 2;
      doc.AddJoint(4 * random(), 4 * random(), 3.0 * j / 2, base, base, base, base, base, base, -1);
      doc.AddJointMass(j, 1 + random(), 1 + random(), 1 + random(), 0.1 + random(), 0.1 + random(), 0.1 + random());
    }
    for (int j = 2; j < 8; ++j) doc.AddBeam(group, 0, j - 2, j, 0, 0, 0, 0, 0, 0, 4);
    for (int j = 2; j < 8; j += 2) doc.AddBeam(group, 0, j, j + 1, 30.0, 0, 0, 0, 0, 0, 4);
    std::istringstream in(test::SaveToString(doc, TaV_FORMAT_TAV));
    const InputDeck deck = ReadInput(in);
    const DiscreteModel model(deck, Messages());
    const int n = static_cast<int>(model.Equations());
    const std::vector<MatrixEntry> k = model.BaseStiffness().freeFree, m = model.Mass().freeFree;
    const Eigen::GeneralizedSelfAdjointEigenSolver<Eigen::MatrixXd> dense(Eigen::MatrixXd(Symmetric(n, k)),
                                                                          Eigen::MatrixXd(Symmetric(n, m)));
    for (int denseUpTo : {0, n}) {
      EigenRequest request;
      request.wanted = 6;
      request.denseUpTo = denseUpTo;
      SparseCholesky factor;
      int32_t failed = 0;
      ASSERT_TRUE(FactoriseShifted(n, k, m, 0.0, factor, failed));
      const EigenPairs pairs = LowestEigenpairs(n, k, m, request, factor);
      ASSERT_EQ(pairs.values.size(), 6u);
      for (size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(pairs.values[i] / dense.eigenvalues()(static_cast<Eigen::Index>(i)), 1.0, 1e-8)
            << trial << " " << denseUpTo << " " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tav::analysis
