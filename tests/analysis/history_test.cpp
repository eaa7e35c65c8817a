// History load conditions of the bundled program against closed forms:
// each model is built with the library, written as own input in full
// precision, read and analysed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>

#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "support/Frames.h"
#include "support/Golden.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

constexpr double kE = 2.1e7, kInertia = 0.003, kPi = std::numbers::pi;
constexpr int32_t kTip = 1;

struct Analysed {
  std::vector<CaseResult> results;
  std::vector<CaseResponse> responses;
  std::vector<std::string> warnings;
};

// `edit` changes the deck as read: what the library cannot write.
Analysed Analyse(CTavData& doc, const std::function<void(InputDeck&)>& edit = nullptr) {
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  std::istringstream in(test::SaveToString(doc, TaV_FORMAT_TAV));
  InputDeck deck = ReadInput(in);
  if (edit) edit(deck);
  Analysed run;
  Messages messages;
  messages.warning = [&run](const std::string& text) { run.warnings.push_back(text); };
  FrameAnalysis analysis(deck, messages);
  run.results = analysis.Run();
  run.responses = analysis.Responses();
  return run;
}

CTavGroupElement* Group(CTavData& doc, double area = 1e3) {
  return test::AddBeamGroup(doc, {kE, 0.3, kInertia, kInertia, area, 2 * kInertia});
}

// One degree of freedom: a cantilever 3 long along Z with a mass of 10 at
// its tip along X alone (the tip's rotation and the rest follow
// statically), k = 3 EI / L^3, and a damper `c` beside the mass.
struct Sdof {
  double m = 10, k = 3 * kE * kInertia / 27;
  double Omega() const { return std::sqrt(k / m); }
  double Period() const { return 2 * kPi / Omega(); }
  double Damper(double xi) const { return 2 * xi * std::sqrt(k * m); }
  void Build(CTavData& doc, double c = 0) const {
    test::AddCantilever(doc, Group(doc), {0, 0, 0}, {0, 0, 3});
    doc.AddJointMass(kTip, m, 0, 0, 0, 0, 0);
    if (c > 0) doc.AddJointDamping(kTip, c, 0, 0, 0, 0, 0);
  }
};

// Three storeys as a bar along X (UX alone) of springs EA/h = 5250 carrying
// masses 20, 15 and 10, with dampers `c` at the floors.
void BuildStoreys(CTavData& doc, std::array<double, 3> c) {
  doc.GetGlobalOption()->SetDOF(true, false, false, false, false, false);
  test::AddLine(doc, Group(doc, 1e-3), 3, 12.0);
  doc.SetJointRestraint(0, true, true, true, true, true, true);
  const double masses[] = {20, 15, 10};
  for (int j = 1; j <= 3; ++j) {
    doc.AddJointMass(j, masses[j - 1], 0, 0, 0, 0, 0);
    if (c[j - 1] > 0) doc.AddJointDamping(j, c[j - 1], 0, 0, 0, 0, 0);
  }
}

int32_t Table(CTavData& doc, std::initializer_list<std::array<double, 2>> points, bool sine = false,
              double period = 0) {
  CTavFunction& functions = *doc.GetFunction();
  const int32_t f = functions.AddFunction(sine ? TaV_FUNCTION_SINUSOIDAL : TaV_FUNCTION_CONSTANT, period, 0);
  for (const auto& [t, v] : points) functions.AddFunctionValue(f, t, v);
  return f;
}

struct Solution {
  const char* name;
  TaV_DYNAMIC_ANALYSYS_MODE mode;
  TaV_INTEGRATION_METHOD method;
  const char* parameters = "";
  bool nst = false;
};
const Solution kNewmark{"Newmark", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_NEWMARK_BETA};
const Solution kWilson{"Wilson", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_WILSON_THETA};
const Solution kCentral{"central difference", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_CENTRAL_DIFFERENCE};
const Solution kModes{"modes", TaV_MODE_SUPERPOSITION, TaV_METHOD_NEWMARK_BETA};
const Solution kNst{"NST", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_NEWMARK_BETA, "", true};

CTavLoadHistory& AddHistory(CTavData& doc, const Solution& s, int steps, double dt, int modes = 0) {
  CTavLoadHistory& history = *doc.AddLoadHistory("TH");
  if (s.nst) {
    history.AddLoadHistory_NST(steps, dt);
  } else {
    history.AddLoadHistory_DYNAMIC_ANALYSYS(s.mode, s.method, modes, steps, dt, s.parameters);
  }
  return history;
}

// The largest difference of a joint's UX series from `exact` at its times.
double LargestError(const ResponseSeries& series, size_t joint, const std::function<double(double)>& exact) {
  double largest = 0;
  for (size_t k = 0; k < series.times.size(); ++k) {
    largest = std::max(largest, std::fabs(series.displacements[k][joint][0] - exact(series.times[k])));
  }
  return largest;
}

// A force applied suddenly and kept, or the support moved suddenly by as
// much as the force would bend the cantilever: u = u_s (1 - cos wt) with
// w = sqrt(k/m), twice the static value at its peak; over two periods at
// T/200 each method stays within its own phase error, mode superposition
// is exact. The support's force is the spring's.
TEST(HistoryTest, SuddenLoadOnOneDegreeOfFreedom) {
  const Sdof sdof;
  const double us = 0.01;
  struct Case {
    Solution solution;
    bool settlement;
    double tolerance;  // of u_s
  };
  const Case cases[] = {{kNewmark, false, 1.5e-3}, {kWilson, false, 3e-3},   {kCentral, false, 1e-3},
                        {kModes, false, 1e-9},     {kNewmark, true, 1.5e-3}, {kCentral, true, 1e-3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.solution.name) + (c.settlement ? " settlement" : " force"));
    CTavData doc;
    sdof.Build(doc);
    CTavLoadHistory& history = AddHistory(doc, c.solution, 400, sdof.Period() / 200, 1);
    const int32_t kept = Table(doc, {{0, 1}, {1, 1}});
    if (c.settlement) {
      history.AddLoadStatic_Displacement(0, us, 0, 0, 0, 0, 0, kept);
    } else {
      history.AddLoadStatic_Joint(kTip, sdof.k * us, 0, 0, 0, 0, 0, kept);
    }
    const Analysed run = Analyse(doc);
    ASSERT_EQ(run.results.at(0).error, "");
    const ResponseSeries& series = run.responses.at(0).series;
    ASSERT_EQ(series.times.size(), 401u);
    EXPECT_LT(LargestError(series, kTip, [&](double t) { return us * (1 - std::cos(sdof.Omega() * t)); }),
              c.tolerance * us);
    EXPECT_NEAR(run.results[0].displacements[kTip][0], 2 * us, c.tolerance * us);
    for (size_t k = 0; k < series.times.size(); k += 37) {
      const double stretch = series.displacements[k][kTip][0] - series.displacements[k][0][0];
      EXPECT_NEAR(series.reactions[k][0][0], -sdof.k * stretch, 1e-9 * sdof.k * us) << k;
    }
  }
}

// Ground acceleration a sin(Wt) on the damped degree of freedom (10 %):
// once the start has died away the motion relative to the ground swings
// with m a / sqrt((k - m W^2)^2 + (c W)^2).
TEST(HistoryTest, HarmonicGroundAccelerationReachesTheSteadyStateAmplitude) {
  const Sdof sdof;
  const double c = sdof.Damper(0.1), forcing = 0.8 * sdof.Omega(), a = 2.0;
  const double amplitude = sdof.m * a / std::hypot(sdof.k - sdof.m * forcing * forcing, c * forcing);
  const double period = 2 * kPi / forcing;
  for (const Solution& solution : {kNewmark, kModes}) {
    SCOPED_TRACE(solution.name);
    CTavData doc;
    sdof.Build(doc, c);
    AddHistory(doc, solution, 24 * 400, period / 400, 1).AddSelfWeight(TaV_DIR_X, 1.0, a, Table(doc, {}, true, period));
    const Analysed run = Analyse(doc);
    ASSERT_EQ(run.results.at(0).error, "");
    const auto& steps = run.responses.at(0).series.displacements;
    double largest = 0;
    for (size_t k = steps.size() - 800; k < steps.size(); ++k) {
      largest = std::max(largest, std::fabs(steps[k][kTip][0]));  // over the last two periods
    }
    EXPECT_NEAR(largest / amplitude, 1.0, 5e-4);
  }
}

// A force held for half a second and let go: the free decay's successive
// peaks fall by the logarithmic decrement 2 pi xi / sqrt(1 - xi^2), xi =
// c / (2 sqrt(k m)) from the damper, by every method at T/1000.
TEST(HistoryTest, FreeDecayFallsByTheLogarithmicDecrement) {
  const Sdof sdof;
  const double xi = 0.05, decrement = 2 * kPi * xi / std::sqrt(1 - xi * xi);
  for (const Solution& solution : {kModes, kNewmark, kWilson, kCentral}) {
    SCOPED_TRACE(solution.name);
    CTavData doc;
    sdof.Build(doc, sdof.Damper(xi));
    AddHistory(doc, solution, 8000, sdof.Period() / 1000, 1)
        .AddLoadStatic_Joint(kTip, 70, 0, 0, 0, 0, 0, Table(doc, {{0, 1}, {0.5, 1}, {0.5, 0}}));
    const Analysed run = Analyse(doc);
    const ResponseSeries& series = run.responses.at(0).series;
    std::vector<double> peaks;
    for (size_t k = 1; k + 1 < series.times.size(); ++k) {
      const double u = series.displacements[k][kTip][0];
      if (series.times[k] > 0.5 && u > series.displacements[k - 1][kTip][0] &&
          u >= series.displacements[k + 1][kTip][0]) {
        peaks.push_back(u);
      }
    }
    ASSERT_GE(peaks.size(), 4u);
    for (size_t i = 0; i + 1 < peaks.size(); ++i) EXPECT_NEAR(std::log(peaks[i] / peaks[i + 1]) / decrement, 1, 1e-4);
  }
}

// Undamped vibration about the static deflection at coarse steps: average
// acceleration turns the state by 2 atan(w dt / 2) each step, the central
// difference by acos(1 - (w dt)^2 / 2), both exactly; the central
// difference even just inside its limit dt = 2 / w.
TEST(HistoryTest, CoarseStepsTurnByTheMethodsOwnAngle) {
  const Sdof sdof;
  const double us = 0.01;
  struct Case {
    Solution solution;
    double omegaDt;
    double (*turn)(double);
  };
  const auto newmark = [](double x) { return 2 * std::atan(x / 2); };
  const auto central = [](double x) { return std::acos(1 - x * x / 2); };
  const Case cases[] = {{kNewmark, 1.0, newmark}, {kCentral, 1.0, central}, {kCentral, 0.99 * 2, central}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.solution.name) + " " + std::to_string(c.omegaDt));
    CTavData doc;
    sdof.Build(doc);
    const double dt = c.omegaDt / sdof.Omega();
    AddHistory(doc, c.solution, 60, dt).AddLoadStatic_Joint(kTip, sdof.k * us, 0, 0, 0, 0, 0, Table(doc, {{0, 1}}));
    const Analysed run = Analyse(doc);
    ASSERT_EQ(run.results.at(0).error, "");
    const double angle = c.turn(c.omegaDt) / dt;
    EXPECT_LT(LargestError(run.responses[0].series, kTip, [&](double t) { return us * (1 - std::cos(angle * t)); }),
              1e-9 * us);
  }
}

// A free bar of two masses (UX alone) under a constant force at one end:
// its centre of mass moves as F t^2 / (2 (m1 + m2)), exactly both by the
// modes (one of them rigid, RIGID BODY MODE EXIST) and by average
// acceleration.
TEST(HistoryTest, FreeBarsCentreOfMassFollowsTheForce) {
  const double f = 10, m1 = 5, m2 = 3;
  for (const Solution& solution : {kModes, kNewmark}) {
    SCOPED_TRACE(solution.name);
    CTavData doc;
    CTavGlobalOption& options = *doc.GetGlobalOption();
    options.m_nEigenMethod = 2;  // which RIGID BODY MODE EXIST goes with
    options.SetNumberOfModes(2);
    options.m_bRigidBodyMode = 1;
    options.SetDOF(true, false, false, false, false, false);
    test::AddLine(doc, Group(doc, 1e-3), 1, 4.0);
    doc.AddJointMass(0, m1, 0, 0, 0, 0, 0);
    doc.AddJointMass(1, m2, 0, 0, 0, 0, 0);
    AddHistory(doc, solution, 50, 0.01, 2).AddLoadStatic_Joint(0, f, 0, 0, 0, 0, 0, Table(doc, {{0, 1}}));
    const Analysed run = Analyse(doc);
    ASSERT_EQ(run.results.at(0).error, "");
    const ResponseSeries& series = run.responses[0].series;
    for (size_t k = 0; k < series.times.size(); ++k) {
      const double centre = (m1 * series.displacements[k][0][0] + m2 * series.displacements[k][1][0]) / (m1 + m2);
      EXPECT_NEAR(centre, f * std::pow(series.times[k], 2) / (2 * (m1 + m2)), 1e-12) << series.times[k];
    }
  }
}

// The central difference runs at 0.99 of its limit 2 / w_max and refuses
// 1.01 of it, naming the limit: one degree of freedom (w = sqrt(k/m)), and
// a bar of 250 equal springs and masses fixed at one end (beyond the dense
// eigensolution: w_max^2 = 4 k/m sin^2((2n - 1) pi / (2 (2n + 1)))).
TEST(HistoryTest, CentralDifferenceRefusesAStepBeyondItsLimit) {
  const int n = 250;
  const double k = kE * 1e-3 / 4, m = 5;
  const auto bar = [&](CTavData& doc) {
    doc.GetGlobalOption()->SetDOF(true, false, false, false, false, false);
    test::AddLine(doc, Group(doc, 1e-3), n, 4.0 * n);
    doc.SetJointRestraint(0, true, true, true, true, true, true);
    for (int j = 1; j <= n; ++j) doc.AddJointMass(j, m, 0, 0, 0, 0, 0);
  };
  struct Case {
    std::function<void(CTavData&)> build;
    double omega;
  };
  const Case cases[] = {{[](CTavData& doc) { Sdof().Build(doc); }, Sdof().Omega()},
                        {bar, 2 * std::sqrt(k / m) * std::sin((2 * n - 1) * kPi / (2 * (2 * n + 1)))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.omega);
    for (const double share : {0.99, 1.01}) {
      CTavData doc;
      c.build(doc);
      AddHistory(doc, kCentral, 10, share * 2 / c.omega)
          .AddLoadStatic_Joint(kTip, 1, 0, 0, 0, 0, 0, Table(doc, {{0, 1}}));
      const std::string error = Analyse(doc).results.at(0).error;
      if (share < 1) {
        EXPECT_EQ(error, "");
        continue;
      }
      EXPECT_THAT(error, HasSubstr("is beyond the stability limit of the central difference"));
      const size_t at = error.find("2/ω_max = ");
      ASSERT_NE(at, std::string::npos);
      EXPECT_NEAR(std::stod(error.substr(at + std::string("2/ω_max = ").size())) * c.omega / 2, 1, 1e-9);
    }
  }
}

// Mode superposition with all three modes and Newmark at a small step
// agree on every floor's peak under a ground acceleration of one second,
// undamped and with dampers proportional to the masses (which the modes
// uncouple, so nothing is left out).
TEST(HistoryTest, ThreeStoreysByModesAndByNewmarkAgree) {
  for (const double alpha : {0.0, 1.5}) {
    SCOPED_TRACE(alpha);
    double peaks[2][3];
    for (int s = 0; s < 2; ++s) {
      CTavData doc;
      BuildStoreys(doc, {20 * alpha, 15 * alpha, 10 * alpha});
      const int32_t ground = Table(doc, {{0, 1}, {1, 1}, {1, 0}}, true, 0.4);
      AddHistory(doc, s == 0 ? kModes : kNewmark, 6000, 0.0005, 3).AddSelfWeight(TaV_DIR_X, 1.0, 3.0, ground);
      const Analysed run = Analyse(doc);
      ASSERT_EQ(run.results.at(0).error, "");
      EXPECT_TRUE(run.warnings.empty()) << run.warnings.front();
      for (int floor = 0; floor < 3; ++floor) peaks[s][floor] = run.results[0].displacements[floor + 1][0];
    }
    for (int floor = 0; floor < 3; ++floor) EXPECT_NEAR(peaks[1][floor] / peaks[0][floor], 1.0, 2e-4) << floor;
  }
}

// NST: each step is the static solution of the loads at that time. A
// cantilever 4 long along X under a tip force P f1(t), a uniform load
// w f2(t) and its tip mass m under the ground acceleration a f3(t), all
// along Z: tip deflection (P f1 - m a f3) L^3 / 3EI + w f2 L^4 / 8EI; the
// support's force and moment balance the loads, and so does the moment at
// midspan at its peak.
TEST(HistoryTest, NstIsASequenceOfStaticSolutions) {
  const double length = 4, p = 3, w = 2, m = 5, a = 9.81, ei = kE * kInertia;
  CTavData doc;
  const int32_t tip = test::AddCantilever(doc, Group(doc), {0, 0, 0}, {length, 0, 0});
  doc.AddJointMass(tip, 0, 0, m, 0, 0, 0);
  const std::function<double(double)> f1 = [](double t) { return t; },
                                      f2 = [](double t) { return std::sin(2 * kPi * t / 0.7); },
                                      f3 = [](double t) { return 1 - 4 * t; };
  CTavLoadHistory& history = AddHistory(doc, kNst, 20, 0.05);
  history.AddLoadStatic_Joint(tip, 0, 0, p, 0, 0, 0, Table(doc, {{0, 0}, {1, 1}}));
  history.AddLoadStatic_Beam(0, TaV_BEAMLOAD_DISTRIBUTED, {}, {}, {2, 2, {w, w}, {0, 1}}, Table(doc, {}, true, 0.7), 0);
  history.AddSelfWeight(TaV_DIR_Z, 1.0, a, Table(doc, {{0, 1}, {0.5, -1}}));
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.results.at(0).error, "");
  const ResponseSeries& series = run.responses.at(0).series;
  ASSERT_EQ(series.times.size(), 21u);
  double middle = 0;  // the largest bending moment at midspan over the steps
  for (size_t k = 0; k < series.times.size(); ++k) {
    const double t = series.times[k], force = p * f1(t) - m * a * f3(std::min(t, 0.5)), load = w * f2(t);
    const double deflection = force * std::pow(length, 3) / (3 * ei) + load * std::pow(length, 4) / (8 * ei);
    EXPECT_NEAR(series.displacements[k][tip][2], deflection, 1e-12 * std::fabs(deflection) + 1e-15) << t;
    EXPECT_NEAR(series.reactions[k][0][2], -(force + load * length), 1e-9) << t;
    EXPECT_NEAR(series.reactions[k][0][4], length * force + load * length * length / 2, 1e-9) << t;
    middle = std::max(middle, std::fabs(force * length / 2 + load * length * length / 8));
  }
  EXPECT_NEAR(std::fabs(run.results[0].beams[0].stations[2][6]), middle, 1e-9);  // M3 at the third of five stations
}

// A condition that cannot be solved fails alone, its message naming it.
TEST(HistoryTest, ConditionsThatCannotBeSolvedFailAlone) {
  struct Case {
    std::string error;
    Solution solution;
    std::function<void(InputDeck&)> edit = nullptr;
  };
  const auto history = [](InputDeck& deck) -> LoadCase& { return deck.cases.front(); };
  const Case cases[] = {
      {"a history condition cannot be solved by response spectrum; use a RESPONSE SPECTRUM LOAD CONDITION",
       {"spectrum", TaV_MODE_RESPONSE_SPECTRUM, TaV_METHOD_NEWMARK_BETA}},
      {"it is solved BY neither DIRECT INTRGRATION nor MODE SUPERPOSITION", kNewmark,
       [&](InputDeck& deck) { history(deck).history.solution = HistorySolution::kUnknown; }},
      {"its TYPE is neither NST nor DYNAMIC ANALYSYS", kNewmark,
       [&](InputDeck& deck) { history(deck).history.type = HistoryType::kUnknown; }},
      {"its joint load names function 10, which the input does not define", kNewmark,
       [&](InputDeck& deck) { history(deck).jointLoads.front().function = 9; }},
      {"INTEGRATION PARAMETERS give γ = 0.25 and β = 0.5, under which the response grows without bound; NEWMARK "
       "BETA takes γ then β: 0.5 0.25 is average acceleration",
       {"beta first", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_NEWMARK_BETA, "0.25 0.5"}},
      {"NSTE=2.5 is not a whole number of steps (0 or more)", kNewmark,
       [&](InputDeck& deck) { history(deck).history.steps = 2.5; }},
      {"INTEGRATION PARAMETERS give θ = 0.9, and WILSON THETA takes θ of 1 or more (1.4 when none is given)",
       {"theta", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_WILSON_THETA, "0.9"}},
      {"mode superposition needs modes, and the analysis found none", kModes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    CTavData doc;
    Sdof().Build(doc);
    const int32_t kept = Table(doc, {{0, 1}});
    AddHistory(doc, c.solution, 10, 0.01).AddLoadStatic_Joint(kTip, 1, 0, 0, 0, 0, 0, kept);
    AddHistory(doc, kNewmark, 10, 0.01).AddLoadStatic_Joint(kTip, 1, 0, 0, 0, 0, 0, kept);
    const Analysed run = Analyse(doc, c.edit);
    EXPECT_THAT(run.results.at(0).error, HasSubstr(c.error));
    EXPECT_EQ(run.results.at(0).error.rfind("history load condition 1: ", 0), 0u) << run.results[0].error;
    EXPECT_EQ(run.results.at(1).error, "");
  }
}

// What a solved condition warns of: a Wilson theta that is only
// conditionally stable, more modes asked for than found, dampers that
// couple the modes, a load that the modes cannot carry (a moment on the
// tip's massless rotation).
TEST(HistoryTest, SolvedConditionsWarn) {
  struct Case {
    std::string warning;
    Solution solution;
    int modes;
    bool storeys;
    Six load = {1, 0, 0, 0, 0, 0};
  };
  const Case cases[] = {
      {"integrates by WILSON THETA with θ = 1.2 below 1.37: only conditionally stable",
       {"theta", TaV_MODE_DIRECT_INTEGRATION, TaV_METHOD_WILSON_THETA, "1.2"},
       0,
       false},
      {"asks for 2 modes; the 1 found are superposed", kModes, 2, false},
      {"superposes modes that its dampers couple (modes 1 and 2 by", kModes, 3, true},
      {"loads joint 2 in RY, which has no mass: the modes carry none of its static response",
       kModes,
       1,
       false,
       {0, 0, 0, 0, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.warning);
    CTavData doc;
    c.storeys ? BuildStoreys(doc, {0, 0, 30}) : Sdof().Build(doc);
    const auto& [px, py, pz, mx, my, mz] = c.load;
    AddHistory(doc, c.solution, 10, 0.001, c.modes)
        .AddLoadStatic_Joint(kTip, px, py, pz, mx, my, mz, Table(doc, {{0, 1}}));
    const Analysed run = Analyse(doc);
    EXPECT_EQ(run.results.at(0).error, "");
    EXPECT_THAT(run.warnings, Contains(HasSubstr(c.warning)));
  }
}

}  // namespace
}  // namespace tav::analysis
