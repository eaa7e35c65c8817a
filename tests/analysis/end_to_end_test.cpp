// From the library to the bundled program and back: build a model, save the
// own input, run TaV through RunSolver, import its output, and compare the
// results with closed forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/Frames.h"
#include "support/Golden.h"
#include "support/MessageLog.h"
#include "support/TempDir.h"
#include "tav/Tav.h"

namespace tav {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr double kE = 2.0e8;
constexpr double kNu = 0.25;
constexpr double kG = kE / (2 * (1 + kNu));

// Collects the lines the dialog shows, answers its boxes and closes it when
// the run is over.
class Quiet : public CSolverFrontEnd {
 public:
  void OnLineInserted(int /*index*/, const CString& text) override { lines.push_back(text); }
  int OnMessageBox(const CString& /*text*/, unsigned /*type*/) override { return IDOK; }
  void OnRunFinished(CTavSolverMsgDlg& dialog) override { dialog.PressButton(IDOK); }
  std::vector<CString> lines;
};

struct Outcome {
  int verdict = 0;
  int imported = 0;
  std::vector<CString> lines;
};

Outcome Analyse(CTavData& doc) {
  test::TempDir dir;
  EXPECT_EQ(doc.Save(dir.File("model.tAv"), TaV_FORMAT_TAV), 1);
  Quiet frontEnd;
  Outcome outcome;
  {
    CTavSolverMsgDlg dialog;
    dialog.SetFrontEnd(&frontEnd);
    outcome.verdict = dialog.RunSolver(nullptr, dir.Path().string(), TAV_SOLVER_DIR, "model.tAv", TaV_FORMAT_TAV);
  }
  outcome.lines = frontEnd.lines;
  test::MessageLog log;  // an import that fails shows its message here
  CTavImportTavOutput reader(&doc);
  outcome.imported = reader.LoadData(dir.File("model.tvo"));
  return outcome;
}

void ExpectNear(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 1e-6 * std::max(std::fabs(expected), 1e-9)) << what;
}

// Sums the reactions of a result case and the loads of static case `s`
// (joint loads and beam loads) as forces and moments about the origin; both
// together must vanish.
void ExpectEquilibrium(const CTavData& doc, int32_t s) {
  Eigen::Matrix<double, 6, 1> total = Eigen::Matrix<double, 6, 1>::Zero();
  double magnitude = 0.0;  // of everything summed, for the tolerance
  const auto add = [&](const Eigen::Vector3d& at, const Eigen::Vector3d& force, const Eigen::Vector3d& moment) {
    total.head<3>() += force;
    total.tail<3>() += moment + at.cross(force);
    magnitude += force.norm() + (moment + at.cross(force)).norm();
  };
  const auto position = [&doc](int32_t joint) {
    const CVector& p = doc.GetJoint(joint)->m_vPos;
    return Eigen::Vector3d(p.x, p.y, p.z);
  };
  const auto addAtJoint = [&](int32_t joint, const double* v) {
    add(position(joint), Eigen::Vector3d(v[0], v[1], v[2]), Eigen::Vector3d(v[3], v[4], v[5]));
  };
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    double r[6];
    doc.GetResultValue_Joint(j, s, r, 6);
    addAtJoint(j, r);
  }
  const CTavLoadStatic& loads = *doc.GetStaticLoad(s);
  for (const auto& load : loads.m_arrLoadJoint) addAtJoint(load->m_nJoint, load->m_dValue);
  for (const auto& load : loads.m_arrLoadBeam) {
    const CTavBeam& beam = *doc.GetBeam(load->m_nBeam);
    const Eigen::Vector3d a = position(beam.m_nJointI);
    const Eigen::Vector3d axis = (position(beam.m_nJointJ) - a).normalized();
    const double length = doc.GetLengthBeam(load->m_nBeam);
    const auto at = [&](double d) { return load->m_bAbsoluteDist != 0 ? d : d * length; };
    for (int dir = 0; dir < 3; ++dir) {
      const TaV_TYPED_LOAD& block = load->m_Load[dir];
      if (block.nValue <= 0) continue;
      const Eigen::Vector3d unit = Eigen::Vector3d::Unit(dir);
      if (load->m_eType == TaV_BEAMLOAD_FORCE) {
        add(a + at(block.dDist[0]) * axis, block.dValue[0] * unit, Eigen::Vector3d::Zero());
      } else if (load->m_eType == TaV_BEAMLOAD_DISTRIBUTED) {
        const double s1 = at(block.dDist[0]), s2 = at(block.dDist[1]);
        const double w1 = block.dValue[0], w2 = block.dValue[1];
        const double resultant = 0.5 * (w1 + w2) * (s2 - s1);
        const double centroid = s1 + (s2 - s1) * (w1 + 2 * w2) / (3 * (w1 + w2));
        add(a + centroid * axis, resultant * unit, Eigen::Vector3d::Zero());
      }
    }
  }
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(total(i), 0.0, 1e-9 * magnitude) << "equilibrium component " << i;
}

constexpr double kArea = 0.02, kJ = 3e-5, kIS = 4e-5, kIT = 9e-5;

// A beam group whose first section has the usual properties and torsion constant `j`.
CTavGroupElement* Group(CTavData& doc, double j = kJ) { return test::AddBeamGroup(doc, {kE, kNu, kIS, kIT, kArea, j}); }

// A single force `value` at `distance` along a beam.
TaV_TYPED_LOAD PointLoad(double value, double distance) { return {1, 0, {value}, {distance}}; }

// Cantilevers under tip loads: a plain one in both planes, axially and in
// torsion; a rolled one, which bends about IS under Z; and one with shear
// deformation.
TEST(EndToEndTest, CantileversInBothPlanesAxialTorsionRolledAndShearFlexible) {
  CTavData doc;
  const double L = 3.0, shearArea = 0.012;
  CTavGroupElement* group = Group(doc);
  test::AddSection(*group, {kE, kNu, kIS, kIT, kArea, kJ, shearArea, shearArea});
  test::AddCantilever(doc, group, {0, 0, 0}, {L, 0, 0});
  test::AddCantilever(doc, group, {0, 2, 0}, {L, 2, 0}, 0, 90.0);
  test::AddCantilever(doc, group, {0, 4, 0}, {L, 4, 0}, 1);
  CTavLoadStatic* pz = doc.AddLoadStatic("PZ", 0);
  for (int32_t tip : {1, 3, 5}) pz->AddLoadStatic_Joint(tip, 0, 0, -10, 0, 0, 0, 0);
  doc.AddLoadStatic("PY", 0)->AddLoadStatic_Joint(1, 0, 5, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("MZ", 0)->AddLoadStatic_Joint(1, 0, 0, 0, 0, 0, 4, 0);
  doc.AddLoadStatic("MY", 0)->AddLoadStatic_Joint(1, 0, 0, 0, 0, 4, 0, 0);
  doc.AddLoadStatic("PX", 0)->AddLoadStatic_Joint(1, 100, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("MX", 0)->AddLoadStatic_Joint(1, 0, 0, 0, 7, 0, 0, 0);
  const Outcome outcome = Analyse(doc);
  ASSERT_EQ(outcome.verdict, 1);
  ASSERT_EQ(outcome.imported, 1);

  const auto tip = [&doc](int32_t c) { return doc.GetResultValue_Joint_Displacement(1, c); };
  const auto tipRotation = [&doc](int32_t c) { return doc.GetResultValue_Joint(1, c, TaV_JOINT_DISPLACEMENT, 1); };
  // Deflection along Z bends in the 1-2 plane (IT); along Y in the 1-3 plane (IS).
  ExpectNear(tip(0).z, -10 * L * L * L / (3 * kE * kIT), "PZ tip deflection");
  ExpectNear(tipRotation(0).y, 10 * L * L / (2 * kE * kIT), "PZ tip rotation");
  ExpectNear(tip(1).y, 5 * L * L * L / (3 * kE * kIS), "PY tip deflection");
  ExpectNear(tipRotation(2).z, 4 * L / (kE * kIS), "MZ tip rotation");
  ExpectNear(tip(2).y, 4 * L * L / (2 * kE * kIS), "MZ tip deflection");
  ExpectNear(tipRotation(3).y, 4 * L / (kE * kIT), "MY tip rotation");
  ExpectNear(tip(3).z, -4 * L * L / (2 * kE * kIT), "MY tip deflection");
  ExpectNear(tip(4).x, 100 * L / (kE * kArea), "axial");
  ExpectNear(tipRotation(5).x, 7 * L / (kG * kJ), "torsion");
  ExpectNear(doc.GetResultValue_Joint_Displacement(3, 0).z, -10 * L * L * L / (3 * kE * kIS), "rolled");
  ExpectNear(doc.GetResultValue_Joint_Displacement(5, 0).z,
             -10 * L * L * L / (3 * kE * kIT) - 10 * L / (kG * shearArea), "shear deformation");
  // Reactions: the support holds the load.
  ExpectNear(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 0).z, 10, "PZ reaction");
  ExpectNear(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 1).y, -10 * L, "PZ moment reaction");
  // Member forces: V2 along Z, M3 about local 3 (-Y), at the stations.
  for (int s = 0; s <= 4; ++s) {
    const double x = L * s / 4;
    ExpectNear(doc.GetResultValue_Beam_Dist(0, 0, s), s / 4.0, "station");
    ExpectNear(doc.GetResultValue_Beam_Force(0, 0, s, TaV_FORCE_2), -10, "V2");
    ExpectNear(doc.GetResultValue_Beam_Force(0, 0, s, TaV_FORCE_6), -10 * (L - x), "M3");
    ExpectNear(doc.GetResultValue_Beam_Force(0, 4, s, TaV_FORCE_1), 100, "N");
    ExpectNear(doc.GetResultValue_Beam_Force(0, 5, s, TaV_FORCE_4), 7, "T");
  }
  for (int32_t c = 0; c < 6; ++c) ExpectEquilibrium(doc, c);
}

TEST(EndToEndTest, SimplySupportedBeamUnderUniformAndPartialTrapezoidalLoads) {
  CTavData doc;
  const int n = 6;
  const double L = 6.0, q = 2.0;
  test::AddLine(doc, Group(doc), n, L);
  doc.SetJointRestraint(0, true, true, true, true, false, false);
  doc.SetJointRestraint(n, false, true, true, false, false, false);
  CTavLoadStatic* uniform = doc.AddLoadStatic("Q", 0);
  for (int i = 0; i < n; ++i) uniform->AddLoadStatic_BEAMLOAD_DIST_W1W2(i, TaV_DIR_Z, -q, -q, 0, 1, 0, 0);
  // A trapezoid from x = 1 (3 down) to x = 4 (6 down), spread over the elements it covers.
  const double a = 1.0, b = 4.0, w1 = 3.0, w2 = 6.0;
  const auto w = [&](double x) { return w1 + (w2 - w1) * (x - a) / (b - a); };
  CTavLoadStatic* trapezoid = doc.AddLoadStatic("T", 0);
  for (int i = 1; i < 4; ++i) trapezoid->AddLoadStatic_BEAMLOAD_DIST_W1W2(i, TaV_DIR_Z, -w(i), -w(i + 1), 0, 1, 0, 0);
  ASSERT_EQ(Analyse(doc).verdict, 1);

  const double EI = kE * kIT;
  for (int i = 1; i < n; ++i) {
    const double x = L * i / n;
    ExpectNear(doc.GetResultValue_Joint_Displacement(i, 0).z,
               -q * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI), "uniform deflection");
  }
  // Moments at the stations of the middle element: qx(L - x)/2.
  for (int s = 0; s <= 4; ++s) {
    const double x = 3.0 + s / 4.0;
    ExpectNear(doc.GetResultValue_Beam_Force(3, 0, s, TaV_FORCE_6), q * x * (L - x) / 2, "uniform moment");
  }
  // The trapezoid: moments by statics, deflections by the unit-load integral.
  const double total = 0.5 * (w1 + w2) * (b - a);
  const double centroid = a + (b - a) * (w1 + 2 * w2) / (3 * (w1 + w2));
  const double reactionA = total * (L - centroid) / L;
  const auto moment = [&](double x) {
    double m = reactionA * x;
    const double end = std::min(x, b);
    if (end > a) {
      // the load on [a, end] and its moment about x, exactly (linear load)
      const double wa = w(a), we = w(end), c = end - a;
      const double force = 0.5 * (wa + we) * c;
      const double arm = x - (a + c * (wa + 2 * we) / (3 * (wa + we)));
      m -= force * arm;
    }
    return m;
  };
  for (int i = 0; i < n; ++i) {
    for (int s = 0; s <= 4; ++s) {
      const double x = i + s / 4.0;
      ExpectNear(doc.GetResultValue_Beam_Force(i, 1, s, TaV_FORCE_6), moment(x), "trapezoid moment");
    }
  }
  for (int i = 1; i < n; ++i) {
    const double xi = L * i / n;
    // deflection = -∫ M(x) m(x) dx / EI with m the moment of a unit load at xi (Simpson, fine steps)
    const int steps = 6000;
    double sum = 0.0;
    for (int k = 0; k <= steps; ++k) {
      const double x = L * k / steps;
      const double unit = x <= xi ? x * (L - xi) / L : xi * (L - x) / L;
      const double weight = (k == 0 || k == steps) ? 1 : (k % 2 == 1 ? 4 : 2);
      sum += weight * moment(x) * unit;
    }
    const double deflection = -sum * (L / steps) / 3.0 / EI;
    EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(i, 1).z, deflection, 1e-6 * std::fabs(deflection)) << i;
  }
  ExpectEquilibrium(doc, 0);
  ExpectEquilibrium(doc, 1);
}

TEST(EndToEndTest, FixedBeamsPointLoadsReleasesAndSettlement) {
  CTavData doc;
  const double L = 5.0, q = 4.0, P = 12.0, a = 2.0, b = L - a, delta = -0.01;
  // Beam 0: fixed-fixed, uniform load. Beam 1: fixed-fixed, point load. Beam 2:
  // fixed at I, released at J (propped), uniform load. Beam 3: fixed-fixed,
  // settlement of its J end.
  CTavGroupElement* group = Group(doc);
  for (int k = 0; k < 4; ++k) {
    const int32_t i = test::AddFixedJoint(doc, 0, 3.0 * k, 0);
    doc.AddBeam(group, 0, i, test::AddFixedJoint(doc, L, 3.0 * k, 0), 0, 0, k == 2 ? 1 : 0, 0, 0, 0, 0);
  }
  CTavLoadStatic* loads = doc.AddLoadStatic("L", 0);
  loads->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, -q, -q, 0, 1, 0, 0);
  loads->AddLoadStatic_Beam(1, TaV_BEAMLOAD_FORCE, {}, {}, PointLoad(-P, a), 0, 1);
  loads->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_Z, -q, -q, 0, 1, 0, 0);
  loads->AddLoadStatic_Displacement(7, 0, 0, delta, 0, 0, 0, 0);
  ASSERT_EQ(Analyse(doc).verdict, 1);

  const auto M = [&doc](int beam, int station) { return doc.GetResultValue_Beam_Force(beam, 0, station, TaV_FORCE_6); };
  ExpectNear(M(0, 0), -q * L * L / 12, "fixed end moment, uniform");
  ExpectNear(M(0, 2), q * L * L / 24, "midspan moment, uniform");
  ExpectNear(M(1, 0), -P * a * b * b / (L * L), "fixed end moment at I, point load");
  ExpectNear(M(1, 4), -P * a * a * b / (L * L), "fixed end moment at J, point load");
  ExpectNear(M(2, 0), -q * L * L / 8, "propped cantilever moment");
  ExpectNear(M(2, 4), 0.0, "released end");
  ExpectNear(doc.GetResultValue_Joint(5, 0, TaV_JOINT_REACTION, 0).z, 3 * q * L / 8, "propped reaction");
  const double EI = kE * kIT;
  ExpectNear(doc.GetResultValue_Joint_Displacement(7, 0).z, delta, "settlement");
  ExpectNear(std::fabs(M(3, 0)), 6 * EI * std::fabs(delta) / (L * L), "settlement moment");
  ExpectNear(std::fabs(doc.GetResultValue_Beam_Force(3, 0, 2, TaV_FORCE_2)), 12 * EI * std::fabs(delta) / (L * L * L),
             "settlement shear");
  ExpectEquilibrium(doc, 0);
}

TEST(EndToEndTest, RigidOffsetsSpringsInSeriesAndAGapThatOpens) {
  CTavData doc;
  const double L = 3.0, offset = 0.5, P = 10.0, k = 5e3, kGap = 2e3;
  CTavGroupElement* group = Group(doc);
  // A cantilever whose first half metre is rigid.
  test::AddFixedJoint(doc, 0, 0, 0);
  doc.AddBeam(group, 0, 0, doc.AddJoint(L, 0, 0, -1), 0, 0, 0, offset, 0, 1.0, 0);
  // A bar held in X by a spring only, pulled at its far end.
  doc.AddJoint(0, 5, 0, false, true, true, true, true, true, -1);
  doc.AddJoint(L, 5, 0, false, true, true, true, true, true, -1);
  doc.AddBeam(group, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0);
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(k, 0, 0);
  springs->AddSpring(0, 2);
  // A cantilever whose tip rests on a gap.
  const int32_t tip = test::AddCantilever(doc, group, {0, 10, 0}, {L, 10, 0});
  CTavGroupNllink* gaps = doc.AddGroupNllink();
  gaps->AddNllinkConstants(kGap, 0, 0, 0);
  doc.AddNllink(gaps, test::AddFixedJoint(doc, L, 10, -1), tip, 0, 0.0);

  CTavLoadStatic* down = doc.AddLoadStatic("DOWN", 0);
  down->AddLoadStatic_Joint(1, 0, 0, -P, 0, 0, 0, 0);
  down->AddLoadStatic_Joint(3, P, 0, 0, 0, 0, 0, 0);
  down->AddLoadStatic_Joint(5, 0, 0, -P, 0, 0, 0, 0);
  CTavLoadStatic* up = doc.AddLoadStatic("UP", 0);
  up->AddLoadStatic_Joint(5, 0, 0, P, 0, 0, 0, 0);
  const Outcome outcome = Analyse(doc);
  ASSERT_EQ(outcome.verdict, 1);

  const double EI = kE * kIT;
  const double flexible = L - offset;
  ExpectNear(doc.GetResultValue_Joint_Displacement(1, 0).z, -P * flexible * flexible * flexible / (3 * EI), "offset");
  ExpectNear(doc.GetResultValue_Joint_Displacement(2, 0).x, P / k, "spring");
  ExpectNear(doc.GetResultValue_Joint_Displacement(3, 0).x, P / k + P * L / (kE * kArea), "spring and bar in series");
  ExpectNear(doc.GetResultValue_Joint(2, 0, TaV_JOINT_REACTION, 0).x, -P, "spring reaction");
  const double beamStiffness = 3 * EI / (L * L * L);
  ExpectNear(doc.GetResultValue_Joint_Displacement(5, 0).z, -P / (beamStiffness + kGap), "closed gap");
  ExpectNear(doc.GetResultValue_Joint_Displacement(5, 1).z, P / beamStiffness, "open gap");
  ExpectEquilibrium(doc, 1);
}

TEST(EndToEndTest, PortalSwayAndAFloorDiaphragm) {
  CTavData doc;
  const double h = 4.0, span = 6.0, H = 20.0;
  CTavGroupElement* group = Group(doc);
  const double beamInertia = 5 * kIT;
  test::AddSection(*group, {kE, kNu, kIS, beamInertia, kArea * 1e5, kJ});  // portal beam
  test::AddSection(*group, {kE, kNu, kIS, kIT, kArea * 1e5, kJ});  // portal columns: no axial shortening to speak of
  // A portal of two fixed columns and a beam, pushed sideways.
  const int32_t left = test::AddCantilever(doc, group, {0, 0, 0}, {0, 0, h}, 2);
  const int32_t right = test::AddCantilever(doc, group, {span, 0, 0}, {span, 0, h}, 2);
  doc.AddBeam(group, 1, left, right, 0, 0, 0, 0, 0, 0, 0);
  // Four cantilever columns whose tops move as one floor with its centre.
  const double xs[4] = {10, 16, 16, 10}, ys[4] = {0, 0, 6, 6};
  CLongArray tops;
  for (int c = 0; c < 4; ++c) tops.Add(test::AddCantilever(doc, group, {xs[c], ys[c], 0}, {xs[c], ys[c], h}));
  const int32_t centre = doc.AddJoint(13, 3, h, false, false, true, true, true, false, -1);
  doc.AddJointConstraintDiap(centre, tops);
  CTavLoadStatic* push = doc.AddLoadStatic("H", 0);
  push->AddLoadStatic_Joint(left, H, 0, 0, 0, 0, 0, 0);
  push->AddLoadStatic_Joint(centre, H, 0, 0, 0, 0, 0, 0);
  ASSERT_EQ(Analyse(doc).verdict, 1);

  // A vertical column bends about IT in X (its local 2 is global X). By slope
  // deflection, with a = EIc/h and b = EIb/span: sway = H h^2 (4a + 6b) / (24 a (a + 6b)).
  const double EI = kE * kIT;
  const double a = EI / h, b = kE * beamInertia / span;
  const double sway = H * h * h * (4 * a + 6 * b) / (24 * a * (a + 6 * b));
  for (const int32_t top : {left, right}) ExpectNear(doc.GetResultValue_Joint_Displacement(top, 0).x, sway, "sway");
  const double floor = H * h * h * h / (4 * 3 * EI);
  EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(centre, 0).x, floor, 1e-6 * floor);
  for (int c = 0; c < 4; ++c) {
    EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(tops[c], 0).x, floor, 1e-6 * floor) << c;
    EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(tops[c], 0).y, 0.0, 1e-9) << c;
  }
  ExpectEquilibrium(doc, 0);
}

// A self weight without masses warns; a history condition without loads
// or steps is solved (at rest), a moving one without a lane fails alone.
TEST(EndToEndTest, ConditionsWithNothingToDoWarnSolveOrFailAlone) {
  CTavData doc;
  test::AddCantilever(doc, Group(doc), {0, 0, 0}, {2, 0, 0});
  doc.AddLoadStatic("SW", 1)->AddSelfWeight(TaV_DIR_Z, 1.0, 9.81, 0);
  doc.AddLoadHistory("TH");
  doc.AddMovingLoad("M");
  doc.GetFunction()->AddFunctionDefault();
  const Outcome outcome = Analyse(doc);
  EXPECT_EQ(outcome.verdict, 0);  // the dialog saw an error line
  ASSERT_EQ(outcome.imported, 1);
  EXPECT_THAT(
      outcome.lines,
      Contains(HasSubstr("self weight of static load condition 1 loads nothing: no joint carries mass along FZ")));
  EXPECT_THAT(outcome.lines, Contains("HISTORY LOAD CONDITION 1 SOLVED"));
  EXPECT_THAT(outcome.lines, Contains(HasSubstr("* E R R O R * moving load condition 1: it has no lane")));
  EXPECT_THAT(outcome.lines, Contains(HasSubstr("END OF ANALYSIS: 1 OF 3 LOAD CONDITIONS FAILED")));
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(1, 1), CVector(0, 0, 0));
}

// Runs the program directly; returns its exit status and what it printed.
std::pair<int, std::string> RunProgram(const std::string& input, const std::string& output) {
  const std::string log = output + ".log";
  const std::string command = std::string(TAV_SOLVER_DIR) + "/TaV " + input + " " + output + " > " + log + " 2>&1";
  const int status = std::system(command.c_str());
  return {WEXITSTATUS(status), test::ReadFileBytes(log)};
}

// The line of the first `text` in `input`, from 1; 0 when it is not there.
int LineOf(const std::string& input, const std::string& text) {
  const size_t at = input.find(text);
  return at == std::string::npos ? 0 : static_cast<int>(std::count(input.begin(), input.begin() + at, '\n')) + 1;
}

// What the input or the structure gets wrong stops the program: status 1,
// an error line naming the line of the input where there is one, and no
// output file. Each case changes the text of a good input; counts far
// beyond what a model writes are refused at their line before anything is
// allocated for them.
TEST(EndToEndTest, ErrorsStopWithStatusOneAndNoOutput) {
  // Two beams from joint 1 to joint 2 (the second rolled, and loaded), one on to joint 3.
  CTavData doc;
  doc.GetFunction()->AddFunctionDefault();
  CTavGroupElement* group = Group(doc);
  test::AddLine(doc, group, 2, 2.0);
  doc.SetJointRestraint(0, true, true, true, true, true, true);
  doc.AddBeam(group, 0, 0, 1, 90.0, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("Q", 0)->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_Z, -1, -1, 0, 1, 0, 0);
  const std::string good = test::SaveToString(doc, TaV_FORMAT_TAV);
  // A beam without torsional stiffness, free to twist.
  CTavData twisting;
  test::AddCantilever(twisting, Group(twisting, 0.0), {0, 0, 0}, {2, 0, 0});
  twisting.AddLoadStatic("P", 0)->AddLoadStatic_Joint(1, 0, 0, -1, 0, 0, 0, 0);
  const std::string unstable = test::SaveToString(twisting, TaV_FORMAT_TAV);

  const struct {
    const std::string& input;
    std::string from, to;
    int lineShift;  // of the error from the changed line; none without a line
    std::string message;
  } cases[] = {
      {unstable, "", "", -1, "the structure is unstable: joint 2 in RX has no stiffness"},
      {good, "NOAN=1 2 90. FUNCTION", "NOAN=1 3 90. FUNCTION", 0,
       "beam load 1 of static load condition 1: no beam runs from joint 1 to joint 3"},
      {good, "NOAN=1 2 90. FUNCTION", "NOAN=1 2 45. FUNCTION", 0,
       "beam load 1 of static load condition 1: no beam from joint 1 to joint 2 has the roll angle 45 (beams 1 and 3 "
       "run there)"},
      {good, "X=2.", "X=2.x", 0, "malformed number \"2.x\" for X="},
      {good, "NREG=4", "NREG=2000000000", 0, "NREG=2000000000 is not a number of segments from 1 to 1000"},
      {good, "NREG=4", "NREG=0", 0, "NREG=0 is not a number of segments from 1 to 1000"},
      // The points line follows its function statement.
      {good, "POINTS=2", "POINTS=2000000000", 1,
       "function 1 has POINTS=2000000000 but its points line holds 4 numbers"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    std::string text = c.input;
    const int line = c.from.empty() ? 0 : LineOf(text, c.from);
    if (!c.from.empty()) {
      ASSERT_GT(line, 0) << c.from;
      text.replace(text.find(c.from), c.from.size(), c.to);
    }
    std::ofstream(dir.File("bad.tAv"), std::ios::binary) << text;
    std::filesystem::remove(dir.File("bad.tvo"));
    const auto [status, printed] = RunProgram(dir.File("bad.tAv"), dir.File("bad.tvo"));
    EXPECT_EQ(status, 1) << c.message;
    const std::string where = c.lineShift < 0 ? "" : "line " + std::to_string(line + c.lineShift) + ": ";
    EXPECT_THAT(printed, HasSubstr("* E R R O R * "));
    EXPECT_THAT(printed, HasSubstr(where + c.message));
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.tvo"))) << c.message;
  }

  // A mechanism whose joints all have stiffness: the beam turns about its
  // axis as a whole. Through the dialog the error line fails the run.
  CTavData turning;
  test::AddLine(turning, Group(turning), 1, 2.0);
  turning.SetJointRestraint(0, true, true, true, false, true, true);
  turning.AddLoadStatic("P", 0)->AddLoadStatic_Joint(1, 0, 0, -1, 0, 0, 0, 0);
  const Outcome outcome = Analyse(turning);
  EXPECT_EQ(outcome.verdict, 0);
  EXPECT_THAT(outcome.lines, Contains(HasSubstr("* E R R O R * the structure is unstable: joint ")));
  EXPECT_THAT(outcome.lines, Contains(HasSubstr(" in RX")));
}

// Saves `doc`, runs the program on it and imports the output it wrote.
std::pair<int, std::string> RunAndImport(CTavData& doc) {
  test::TempDir dir;
  EXPECT_EQ(doc.Save(dir.File("model.tAv"), TaV_FORMAT_TAV), 1);
  const auto ran = RunProgram(dir.File("model.tAv"), dir.File("model.tvo"));
  test::MessageLog log;
  EXPECT_EQ(CTavImportTavOutput(&doc).LoadData(dir.File("model.tvo")), 1) << ran.second;
  return ran;
}

// Full-length uniform loads (fractions 0 to 1) on sloped cantilevers whose
// six-digit lengths round up or down, or whose very coordinates round: each
// support holds the load over the whole length the program sees, neither
// refused nor cut to the rounded length of the text. In full precision the
// program sees the model's own coordinates.
TEST(EndToEndTest, FullLengthLoadsOnSlopedBeamsAreExactlyFullLength) {
  const struct {
    double x, z;
    const char* written;  // the loaded length in six digits
  } beams[] = {
      {1, 2, "2.23607"},               // √5, rounded up
      {1, 1, "1.41421"},               // √2, rounded down
      {1, 3, "3.16228"},               // √10, up
      {2, 3, "3.60555"},               // √13, down
      {1.0 / 3, 2.0 / 3, "0.745356"},  // the coordinates rounded as well
  };
  const double w = 3.0;
  for (const TaV_REAL_PRECISION precision : {TaV_PRECISION_SIX_DIGITS, TaV_PRECISION_FULL}) {
    const bool six = precision == TaV_PRECISION_SIX_DIGITS;
    CTavData doc;
    doc.SetRealPrecision(precision);
    CTavGroupElement* group = Group(doc);
    CTavLoadStatic* load = doc.AddLoadStatic("W", 0);
    for (int b = 0; b < static_cast<int>(std::size(beams)); ++b) {
      test::AddCantilever(doc, group, {0, 2.0 * b, 0}, {beams[b].x, 2.0 * b, beams[b].z});
      load->AddLoadStatic_BEAMLOAD_DIST_W1W2(b, TaV_DIR_Z, -w, -w, 0, 1, 0, 0);
    }
    const std::string text = test::SaveToString(doc, TaV_FORMAT_TAV);
    ASSERT_EQ(Analyse(doc).verdict, 1) << six;
    for (int b = 0; b < static_cast<int>(std::size(beams)); ++b) {
      const std::string written = std::string("WZ=3. 3. 0. ") + beams[b].written + " ";
      EXPECT_EQ(text.find(written) != std::string::npos, six) << written;
      const double length = six ? std::hypot(test::SixDigits(beams[b].x), test::SixDigits(beams[b].z))
                                : std::hypot(beams[b].x, beams[b].z);
      EXPECT_NEAR(doc.GetResultValue_Joint(2 * b, 0, TaV_JOINT_REACTION, 0).z, w * length, 1e-12 * w * length)
          << beams[b].written << (six ? " in six digits" : " in full");
    }
  }
}

// Two beams between the same joints, told apart by their roll angles. With
// one square section the tip shares the fixed-end forces of the load on the
// second beam equally: the first, itself unloaded, takes a quarter of the
// load at its tip, so V2 = -wL/4 and M3 = -5wL²/24 + wLx/4 along it.
TEST(EndToEndTest, BeamsBetweenTheSameJointsAreToldApartByTheirRollAngle) {
  const double L = 4.0, w = 6.0;
  const auto build = [&](CTavData& doc, double secondAngle) {
    CTavGroupElement* group = test::AddBeamGroup(doc, {kE, kNu, kIT, kIT, kArea, kJ});
    doc.AddBeam(group, 0, 0, test::AddCantilever(doc, group, {0, 0, 0}, {L, 0, 0}), secondAngle, 0, 0, 0, 0, 0, 0);
    doc.AddLoadStatic("W", 0)->AddLoadStatic_BEAMLOAD_DIST_W1W2(1, TaV_DIR_Z, -w, -w, 0, 1, 0, 0);
  };
  const auto expectUnloaded = [&](const CTavData& doc, int beam) {
    for (int s = 0; s <= 4; ++s) {
      const double x = L * s / 4;
      ExpectNear(doc.GetResultValue_Beam_Force(beam, 0, s, TaV_FORCE_2), -w * L / 4, "V2 of the unloaded beam");
      ExpectNear(doc.GetResultValue_Beam_Force(beam, 0, s, TaV_FORCE_6), -5 * w * L * L / 24 + w * L * x / 4,
                 "M3 of the unloaded beam");
    }
  };
  CTavData rolled;
  build(rolled, 90.0);
  ASSERT_EQ(Analyse(rolled).verdict, 1);
  expectUnloaded(rolled, 0);
  const auto shear = [&rolled](int station) {
    return std::hypot(rolled.GetResultValue_Beam_Force(1, 0, station, TaV_FORCE_2),
                      rolled.GetResultValue_Beam_Force(1, 0, station, TaV_FORCE_3));
  };
  ExpectNear(shear(0), 3 * w * L / 4, "root shear of the loaded beam");
  ExpectNear(shear(4), w * L / 4, "tip shear of the loaded beam");
  ExpectEquilibrium(rolled, 0);

  // Beams the angle cannot tell apart: the lowest-numbered takes the load.
  CTavData twins;
  build(twins, 0.0);
  const Outcome outcome = Analyse(twins);
  EXPECT_EQ(outcome.verdict, 1);
  EXPECT_THAT(outcome.lines, Contains(HasSubstr("* W A R N I N G * line ")));
  EXPECT_THAT(
      outcome.lines,
      Contains(HasSubstr(": beam load 1 of static load condition 1 is ambiguous: beams 1 and 2 run from joint 1 "
                         "to joint 2 with the roll angle 0; it is applied to beam 1")));
  expectUnloaded(twins, 1);
}

// Penalties beside soft members are no instability: a grounded spring of
// 1e15 props a cantilever whose torsion constant is 1e-8, and a gap 1e12
// times as stiff as a cantilever's tip joins the tips of two. The prop is a
// support, R = 5P/16 for P at mid-span; the joined tips share the load, to
// the eps x 1e12 that the penalty leaves of the stiffness beside it.
TEST(EndToEndTest, StiffPenaltiesBesideSoftMembersAreNoInstability) {
  const double L = 3.0, P = 8.0, k = 3 * kE * kIT / (L * L * L), kLink = 1e12 * k;
  CTavData doc;
  CTavGroupElement* group = Group(doc, 1e-8);
  for (const double y : {0.0, 5.0}) {
    for (const double z : {0.0, -1.0}) test::AddCantilever(doc, group, {0, y, z}, {L, y, z});
  }
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(0, 0, 1e15)->m_bMultiDof = 1;
  springs->AddSpring(0, 1);
  CTavGroupNllink* gaps = doc.AddGroupNllink();
  gaps->AddNllinkConstants(kLink, 0, 0, 0);
  doc.AddNllink(gaps, 7, 5, 0, 0.0);
  CTavLoadStatic* loads = doc.AddLoadStatic("P", 0);
  loads->AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, {}, {}, PointLoad(-P, 0.5), 0, 0);
  loads->AddLoadStatic_Joint(5, 0, 0, -P, 0, 0, 0, 0);
  ASSERT_EQ(Analyse(doc).verdict, 1);

  EXPECT_NEAR(doc.GetResultValue_Joint(1, 0, TaV_JOINT_REACTION, 0).z, 5 * P / 16, 1e-9 * P);
  const double top = -P * (k + kLink) / (k * (k + 2 * kLink)), bottom = -P * kLink / (k * (k + 2 * kLink));
  EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(5, 0).z, top, 1e-3 * std::fabs(top));
  EXPECT_NEAR(doc.GetResultValue_Joint_Displacement(7, 0).z, bottom, 1e-3 * std::fabs(bottom));
}

// A load condition that fails leaves the others solved: the program names it
// and why, writes every condition (the failed one as zeros) and ends with
// status 1.
TEST(EndToEndTest, AFailingLoadConditionLeavesTheOthersSolved) {
  // A tip load of 1e308 on a cantilever 3 long: its support moment is beyond any double.
  CTavData overflow;
  test::AddCantilever(overflow, Group(overflow), {0, 0, 0}, {3, 0, 0});
  overflow.AddLoadStatic("P", 0)->AddLoadStatic_Joint(1, 0, 0, -10, 0, 0, 0, 0);
  overflow.AddLoadStatic("HUGE", 0)->AddLoadStatic_Joint(1, 0, 0, 1e308, 0, 0, 0, 0);
  auto [status, printed] = RunAndImport(overflow);
  EXPECT_EQ(status, 1);
  EXPECT_NE(printed.find("* E R R O R * static load condition 2: its results overflow (not finite numbers)"),
            std::string::npos)
      << printed;
  EXPECT_THAT(printed, HasSubstr("END OF ANALYSIS: 1 OF 2 LOAD CONDITIONS FAILED"));
  ExpectNear(overflow.GetResultValue_Joint_Displacement(1, 0).z, -10 * 27 / (3 * kE * kIT), "the other condition");
  EXPECT_EQ(overflow.GetResultValue_Joint_Displacement(1, 1), CVector(0, 0, 0));
  EXPECT_EQ(overflow.GetResultValue_Joint(0, 1, TaV_JOINT_REACTION, 1), CVector(0, 0, 0));
  EXPECT_EQ(overflow.GetResultValue_Beam_Force(0, 1, 0, TaV_FORCE_6), 0.0);

  // A beam free to rise and turn but for two gaps under its ends: lifted,
  // it floats away; pressed down, the gaps hold it.
  CTavData gaps;
  const double L = 4.0, P = 5.0, kGap = 1e4;
  gaps.AddJoint(0, 0, 0, true, true, false, true, false, true, -1);
  gaps.AddJoint(L, 0, 0, true, true, false, true, false, true, -1);
  gaps.AddBeam(Group(gaps), 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  CTavGroupNllink* links = gaps.AddGroupNllink();
  links->AddNllinkConstants(kGap, 0, 0, 0);
  gaps.AddNllink(links, test::AddFixedJoint(gaps, 0, 0, -1), 0, 0, 0.0);
  gaps.AddNllink(links, test::AddFixedJoint(gaps, L, 0, -1), 1, 0, 0.0);
  for (const double pz : {P, -P}) {
    CTavLoadStatic* push = gaps.AddLoadStatic(pz > 0 ? "LIFT" : "PRESS", 0);
    for (int32_t j = 0; j < 2; ++j) push->AddLoadStatic_Joint(j, 0, 0, pz, 0, 0, 0, 0);
  }
  std::tie(status, printed) = RunAndImport(gaps);
  EXPECT_EQ(status, 1);
  EXPECT_THAT(printed, HasSubstr("* E R R O R * static load condition 1: joint "));
  EXPECT_THAT(printed, HasSubstr(" moves freely with its gaps open"));
  EXPECT_THAT(printed, Not(HasSubstr("static load condition 2:")));
  for (int32_t j = 0; j < 2; ++j) {
    ExpectNear(gaps.GetResultValue_Joint_Displacement(j, 1).z, -P / kGap, "pressed onto the gaps");
    ExpectNear(gaps.GetResultValue_Joint(j + 2, 1, TaV_JOINT_REACTION, 0).z, P, "what a gap holds");
    EXPECT_EQ(gaps.GetResultValue_Joint_Displacement(j, 0), CVector(0, 0, 0));
  }
}

}  // namespace
}  // namespace tav
