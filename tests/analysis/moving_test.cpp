// Moving load conditions of the bundled program against closed-form
// influence lines: each model is built with the library, written as own
// input in full precision and analysed. On a beam along X the local 2 axis
// points up, so the unit load acts along -2: V2 is the shear along 2 and a
// positive M3 sags (BeamElement). Station values are N V2 V3 T M2 M3 after
// the distance.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <utility>
#include <vector>

#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "support/Frames.h"
#include "support/Golden.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr double kE = 2.1e7;
constexpr double kTight = 1e-9;
enum Value { kV2 = 2, kV3 = 3, kTorque = 4, kM3 = 6 };

struct Analysed {
  std::vector<CaseResult> results;
  std::vector<CaseResponse> responses;  // one per moving condition
};

Analysed Analyse(CTavData& doc) {
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  std::istringstream in(test::SaveToString(doc, TaV_FORMAT_TAV));
  const InputDeck deck = ReadInput(in);
  FrameAnalysis analysis(deck, {});
  Analysed out{analysis.Run(), {}};
  out.responses = analysis.Responses();
  return out;
}

// IS 0.001 (bending in the 1-3 plane), IT 0.002 (in the 1-2 plane).
CTavGroupElement* Group(CTavData& doc) { return test::AddBeamGroup(doc, {kE, 0.3, 0.001, 0.002, 0.05, 0.003}); }

// A moving condition whose lane is `beams` in order at `eccentricity`.
void AddLane(CTavData& doc, std::vector<int32_t> beams, double eccentricity) {
  CTavLoadMoving& lane = *doc.AddMovingLoad("lane");
  if (beams.size() % 2 == 1) beams.push_back(beams.back());  // a beam that follows itself counts once
  for (size_t k = 0; k < beams.size(); k += 2)
    lane.AddMovingLoad_Lane(beams[k], beams[k + 1], eccentricity, eccentricity);
}

// `beams` equal beams along X from 0 to `length` in the XZ plane, on
// supports in Z at the joints `supports`, the first one also in X.
void AddPlanarLine(CTavData& doc, int beams, double length, std::initializer_list<int32_t> supports) {
  doc.GetGlobalOption()->SetDOF(true, false, true, false, true, false);
  test::AddLine(doc, Group(doc), beams, length);
  for (const int32_t joint : supports)
    doc.SetJointRestraint(joint, joint == *supports.begin(), false, true, false, false, false);
}

TEST(MovingTest, SimplySupportedBeamFollowsItsInfluenceLines) {
  const double span = 8.0;
  CTavData doc;
  AddPlanarLine(doc, 4, span, {0, 4});
  AddLane(doc, {0, 1, 2, 3}, 0.0);
  const Analysed run = Analyse(doc);
  ASSERT_EQ(run.results[0].error, "");
  const CaseResult& most = run.responses[0].maximum;
  const CaseResult& least = run.responses[0].minimum;
  for (size_t b = 0; b < 4; ++b) {
    for (size_t p = 0; p < most.beams[b].stations.size(); ++p) {
      const double x = 2.0 * static_cast<double>(b) + most.beams[b].stations[p][0];
      SCOPED_TRACE(x);
      // The load just beyond the section, then just before it.
      EXPECT_NEAR(least.beams[b].stations[p][kV2], x / span - 1.0, kTight);
      EXPECT_NEAR(most.beams[b].stations[p][kV2], x / span, kTight);
      EXPECT_NEAR(most.beams[b].stations[p][kM3], x * (span - x) / span, kTight);
      EXPECT_NEAR(least.beams[b].stations[p][kM3], 0.0, kTight);
    }
  }
  EXPECT_NEAR(run.results[0].beams[1].stations.back()[kM3], span / 4, kTight);
  for (const size_t support : {0, 4}) {
    EXPECT_NEAR(most.reactions[support][2], 1.0, kTight);
    EXPECT_NEAR(least.reactions[support][2], 0.0, kTight);
  }
  EXPECT_NEAR(least.displacements[2][2] / (-std::pow(span, 3) / (48 * kE * 0.002)), 1.0, kTight);
  EXPECT_NEAR(most.displacements[2][2], 0.0, kTight);
}

// The moment over the middle support of two equal spans L under a unit
// load at a = t L in one of them: -L t (1 - t^2) / 4, worst at t = 0.577
// where no station of these beams stands.
TEST(MovingTest, TwoSpanBeamHogsOverItsMiddleSupportAsMuchAsItsStationsReach) {
  const double span = 10.0;
  const auto hog = [](double t) { return t * (1 - t * t) / 4; };
  struct Case {
    int segments;
    double worst;  // the station fraction t that hogs most
  };
  for (const Case& c : {Case{4, 0.5}, Case{10, 0.6}}) {
    SCOPED_TRACE(c.segments);
    CTavData doc;
    doc.GetGlobalOption()->m_nForceSegments = c.segments;
    AddPlanarLine(doc, 2, 2 * span, {0, 1, 2});
    AddLane(doc, {0, 1}, 0.0);
    const Analysed run = Analyse(doc);
    const CaseResult& most = run.responses[0].maximum;
    const CaseResult& least = run.responses[0].minimum;
    EXPECT_NEAR(least.beams[0].stations.back()[kM3], -span * hog(c.worst), kTight);
    EXPECT_NEAR(least.beams[1].stations.front()[kM3], -span * hog(c.worst), kTight);
    EXPECT_NEAR(most.beams[0].stations.back()[kM3], 0.0, kTight);
    EXPECT_NEAR(most.reactions[1][2], 1.0, kTight);
    EXPECT_NEAR(least.reactions[1][2], 0.0, kTight);
    EXPECT_NEAR(least.reactions[0][2], -hog(c.worst), kTight);  // lifted by the load on the far span
  }
}

// A cantilever along X of two beams, travelled out to its tip and back in:
// the load stands on +Y going out, on -Y coming in, and twists the beam
// between the root and itself the other way round.
TEST(MovingTest, EccentricLoadTwistsByTheSideOfItsTravel) {
  const double e = 0.75;
  CTavData doc;
  test::AddFixedJoint(doc, 0, 0, 0);
  CTavGroupElement* group = Group(doc);
  doc.AddJoint(3, 0, 0, -1);
  doc.AddJoint(6, 0, 0, -1);
  for (int32_t b = 0; b < 2; ++b) doc.AddBeam(group, 0, b, b + 1, 0, 0, 0, 0, 0, 0, 0);
  AddLane(doc, {0, 1}, e);
  AddLane(doc, {1, 0}, e);
  const Analysed run = Analyse(doc);
  struct Case {
    size_t condition;
    double torque;  // T between the root and the load: the couple about X
  };
  for (const Case& c : {Case{0, -e}, Case{1, e}}) {
    SCOPED_TRACE(c.condition);
    const CaseResponse& response = run.responses[c.condition];
    for (size_t b = 0; b < 2; ++b) {
      for (size_t p = 0; p < response.maximum.beams[b].stations.size(); ++p) {
        EXPECT_NEAR(run.results[c.condition].beams[b].stations[p][kTorque], c.torque, kTight) << b << " " << p;
        EXPECT_NEAR(response.maximum.beams[b].stations[p][kTorque], std::max(c.torque, 0.0), kTight);
        EXPECT_NEAR(response.minimum.beams[b].stations[p][kTorque], std::min(c.torque, 0.0), kTight);
      }
    }
    const Six& most = response.maximum.reactions[0];
    const Six& least = response.minimum.reactions[0];
    EXPECT_NEAR(most[3], -c.torque, kTight);  // MX, wherever the load stands
    EXPECT_NEAR(least[3], -c.torque, kTight);
    EXPECT_NEAR(least[4], -6.0, kTight);  // MY of the load at the tip
    EXPECT_NEAR(most[2], 1.0, kTight);
  }
}

// A beam fixed at both ends rising at 30 degrees in the XZ plane: the
// couple -e about X of a load e to its left splits into T = -e cos 30
// along the beam and M = e sin 30 about local 2, which the fixed ends hold
// with T b / L at I and T a / L at J, and shears 6 M a b / L^3 along 3.
TEST(MovingTest, EccentricLoadOnASlopedFixedBeamSplitsItsCouple) {
  const double e = 0.4, length = 5.0, slope = std::numbers::pi / 6;
  CTavData doc;
  CTavGroupElement* group = Group(doc);
  test::AddFixedJoint(doc, 0, 0, 0);
  test::AddFixedJoint(doc, length * std::cos(slope), 0, length * std::sin(slope));
  doc.AddBeam(group, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  AddLane(doc, {0}, e);
  const Analysed run = Analyse(doc);
  const double twist = -e * std::cos(slope), bend = e * std::sin(slope);
  const BeamResult& most = run.responses[0].maximum.beams[0];
  const BeamResult& least = run.responses[0].minimum.beams[0];
  for (size_t p = 0; p < most.stations.size(); ++p) {
    const double x = most.stations[p][0];
    SCOPED_TRACE(x);
    EXPECT_NEAR(least.stations[p][kTorque], twist * (1 - x / length), kTight);
    EXPECT_NEAR(most.stations[p][kTorque], -twist * x / length, kTight);
    EXPECT_NEAR(most.stations[p][kV3], 6 * bend * (length / 2) * (length / 2) / std::pow(length, 3), kTight);
    EXPECT_NEAR(least.stations[p][kV3], 0.0, kTight);
  }
}

// A sloped, rolled beam with shear deformation, fixed at both ends (its
// end moments released, or with rigid end zones), carries a lane once
// whole and once cut into beams at its stations: the couple on the span
// and the one on a joint load it alike.
Analysed CutInto(int pieces, bool released, double rigid) {
  CTavData doc;
  doc.GetGlobalOption()->m_nForceSegments = 5 / pieces;
  CTavGroupElement* group = doc.AddGroupElement();
  test::AddSection(*group, {kE, 0.3, 0.001, 0.002, 0.05, 0.003, 0.03, 0.02});
  std::vector<int32_t> lane;
  for (int k = 0; k <= pieces; ++k) {
    const bool end = k == 0 || k == pieces;
    doc.AddJoint(4.0 * k / pieces, 1.0 * k / pieces, 3.0 * k / pieces, end, end, end, end, end, end, -1);
    if (k == 0) continue;
    const bool first = k == 1, last = k == pieces;
    doc.AddBeam(group, 0, k - 1, k, 20.0, released && first, released && last, first, last, rigid, 0);
    lane.push_back(k - 1);
  }
  AddLane(doc, lane, 0.3);
  return Analyse(doc);
}

TEST(MovingTest, AStationOfABeamMatchesAJointOfTheBeamCutThere) {
  for (const auto& [released, rigid] : {std::pair{false, 0.0}, {true, 0.0}, {false, 0.4}, {true, 0.3}}) {
    SCOPED_TRACE(testing::Message() << released << " " << rigid);
    const Analysed whole = CutInto(1, released, rigid), cut = CutInto(5, released, rigid);
    for (const auto side : {&CaseResponse::maximum, &CaseResponse::minimum}) {
      const CaseResult& one = whole.responses[0].*side;
      const CaseResult& five = cut.responses[0].*side;
      for (size_t b = 0; b < 5; ++b) {
        for (size_t end = 0; end < 2; ++end) {
          const auto& cutEnd = end == 0 ? five.beams[b].stations.front() : five.beams[b].stations.back();
          for (size_t v = 1; v < 7; ++v) {
            EXPECT_NEAR(cutEnd[v], one.beams[0].stations[b + end][v], kTight) << b << " " << end << " " << v;
          }
        }
      }
      for (size_t d = 0; d < 6; ++d) EXPECT_NEAR(five.reactions[5][d], one.reactions[1][d], kTight) << d;
    }
  }
}

// Beams 1 and 2 run along X from a fixed joint, beam 3 stands under the
// end of beam 2, beam 4 lies apart.
TEST(MovingTest, LanesThatCannotCarryTheLoadFailAlone) {
  CTavData doc;
  CTavGroupElement* group = Group(doc);
  test::AddFixedJoint(doc, 0, 0, 0);
  doc.AddJoint(4, 0, 0, -1);
  doc.AddJoint(8, 0, 0, -1);
  test::AddFixedJoint(doc, 8, 0, -4);
  test::AddFixedJoint(doc, 20, 0, 0);
  doc.AddJoint(24, 0, 0, -1);
  const std::pair<int32_t, int32_t> ends[] = {{0, 1}, {1, 2}, {3, 2}, {4, 5}};
  for (const auto& [i, j] : ends) doc.AddBeam(group, 0, i, j, 0, 0, 0, 0, 0, 0, 0);
  AddLane(doc, {0, 1}, 0.0);
  AddLane(doc, {0, 3}, 0.0);
  AddLane(doc, {1, 2}, 0.0);
  AddLane(doc, {0, 9}, 0.0);
  doc.AddMovingLoad("empty");
  doc.AddMovingLoad("twice")->AddMovingLoad_Lane(0, 0, 0.0, 1.0);
  const Analysed run = Analyse(doc);
  EXPECT_EQ(run.results[0].error, "");
  const char* reasons[] = {"beams 1 and 4 of its lane share no joint", "beam 3 of its lane is vertical",
                           "its lane names beam 10, but the model has 4 beams", "it has no lane",
                           "beam 1 follows itself in its lane with another eccentricity (ECC=0, then ECC=1)"};
  for (size_t k = 0; k < std::size(reasons); ++k) {
    EXPECT_THAT(run.results[k + 1].error, StartsWith("moving load condition " + std::to_string(k + 2) + ": "));
    EXPECT_THAT(run.results[k + 1].error, HasSubstr(reasons[k]));
  }
}

}  // namespace
}  // namespace tav::analysis
