// The own solver input in full precision carries every real of the model
// to the analysis program unchanged: written by the library, read by the
// program's reader, each number compares equal to the model's.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "analysis/InputReader.h"
#include "support/Golden.h"
#include "tav/Tav.h"

namespace tav {
namespace {

// Numbers that six digits cannot hold.
class Awkward {
 public:
  double operator()(double scale = 1.0) { return scale * m_values(m_random); }

 private:
  std::mt19937_64 m_random{20261206};
  std::uniform_real_distribution<double> m_values{0.1, 1.0};
};

void BuildAwkwardModel(CTavData& doc, Awkward& next) {
  doc.AddLocalCoordSystem(next(90), next(90), next(90), 1);
  for (int j = 0; j < 4; ++j) {
    doc.AddJoint(123456.0 + next(10), next(10), next(1e-3), j == 0, j == 0, j == 0, j == 0, j == 0, j == 0,
                 j == 3 ? 0 : -1);
  }
  CTavGroupElement* group = doc.AddGroupElement();
  group->AddSection(next(3e8), next(0.3), next(1e-3), next(1e-3), next(0.1), 0, 0, next(1e-4), next(0.1), next(0.1));
  group->AddSection_Rect(next(3e7), next(), next());
  doc.AddBeam(group, 0, 0, 1, next(45), 0, 0, 0, 0, 0, 0);
  doc.AddBeam(group, 1, 1, 2, 0, 1, 0, next(0.2), next(0.2), next(), 2);
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(next(1e5), 0, 0);
  springs->AddSpring(0, 3);
  CTavGroupNllink* links = doc.AddGroupNllink();
  links->AddNllinkConstants(next(1e4), 0, 0, 0);
  doc.AddNllink(links, 2, 3, 0, 0);

  CTavLoadStatic* loads = doc.AddLoadStatic("AWKWARD", 1);
  loads->AddLoadStatic_Joint(1, next(), -next(), next(), next(), -next(), next(), 0);
  loads->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, next(), next(), next(0.3), 0.3 + next(0.5), 0, 0);
  loads->AddLoadStatic_BEAMLOAD_DIST_W1W2(1, TaV_DIR_Y, next(), next(), next(0.1), next(), 0, 1);
  TaV_TYPED_LOAD point{};
  point.nValue = point.nDist = 1;
  point.dValue[0] = next(100);
  point.dDist[0] = next();
  loads->AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, point, {}, {}, 0, 0);
  loads->AddLoadStatic_Displacement(0, next(1e-2), 0, 0, 0, next(1e-3), 0, 0);
  loads->AddSelfWeight(TaV_DIR_Z, next(), next(10), 0);
}

analysis::InputDeck WriteAndRead(CTavData& doc) {
  std::istringstream text(test::SaveToString(doc, TaV_FORMAT_TAV));
  return analysis::ReadInput(text);
}

TEST(PrecisionRoundTripTest, EveryRealReachesTheProgramUnchanged) {
  CTavData doc;
  Awkward next;
  BuildAwkwardModel(doc, next);
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  const analysis::InputDeck deck = WriteAndRead(doc);

  const CTavLocalCoord& system = *doc.GetLocalCoord(0);
  for (int a = 0; a < 3; ++a) EXPECT_EQ(deck.localSystems[0].angles[a], system.m_dAngle[a]);
  ASSERT_EQ(deck.joints.size(), 4u);
  for (int j = 0; j < 4; ++j) {
    const CVector& p = doc.GetJoint(j)->m_vPos;
    EXPECT_EQ(deck.joints[j].x, p.x);
    EXPECT_EQ(deck.joints[j].y, p.y);
    EXPECT_EQ(deck.joints[j].z, p.z);
  }
  const auto& group = static_cast<const CTavGroupElement&>(*doc.GetGroup(0));
  for (int s = 0; s < 2; ++s) {
    const CTavSection& section = *group.GetSection(s);
    const analysis::Section& read = deck.beamGroups[0].sections[s];
    EXPECT_EQ(read.e, section.m_dE);
    EXPECT_EQ(read.poisson, section.m_dPoisson);
    EXPECT_EQ(read.is, section.m_dIS);
    EXPECT_EQ(read.it, section.m_dIT);
    EXPECT_EQ(read.area, section.m_dArea);
    EXPECT_EQ(read.j, section.m_dJ);
    EXPECT_EQ(read.ashs, section.m_dASHS);
    EXPECT_EQ(read.asht, section.m_dASHT);
  }
  const analysis::Beam& released = deck.beamGroups[0].beams[1];
  EXPECT_EQ(deck.beamGroups[0].beams[0].angle, doc.GetBeam(0)->m_dAngle);
  EXPECT_EQ(released.offsetI, doc.GetBeam(1)->m_dOffsetI);
  EXPECT_EQ(released.offsetJ, doc.GetBeam(1)->m_dOffsetJ);
  EXPECT_EQ(released.rigid, doc.GetBeam(1)->m_dRigid);
  EXPECT_EQ(deck.springGroups[0].constants[0].stiffness[0],
            static_cast<const CTavGroupSpring&>(*doc.GetGroup(1)).GetSpingConstant(0)->m_dStiffness[0]);
  EXPECT_EQ(deck.linkGroups[0].properties[0].k0,
            static_cast<const CTavGroupNllink&>(*doc.GetGroup(2)).GetNllinkConstant(0)->m_dK0);

  const CTavLoadStatic& loads = *doc.GetStaticLoad(0);
  const analysis::LoadCase& read = deck.cases[0];
  for (int d = 0; d < 6; ++d) EXPECT_EQ(read.jointLoads[0].values[d], loads.GetLoadJoint(0)->m_dValue[d]);
  for (int d = 0; d < 6; ++d) EXPECT_EQ(read.displacements[0].values[d], loads.GetLoadDisplacement(0)->m_dValue[d]);
  // Beam loads: the numbers as the writer derives them from the model.
  for (int k = 0; k < 3; ++k) {
    const CTavLoadBeam& load = *loads.GetLoadBeam(k);
    const analysis::BeamLoadPiece& piece = read.beamLoads[k].pieces.at(0);
    const TaV_TYPED_LOAD& values = load.m_Load[piece.axis];
    const double scale = load.m_bAbsoluteDist != 0 ? 1.0 : doc.GetLengthBeam(load.m_nBeam);
    EXPECT_EQ(piece.value1, -values.dValue[0]) << k;
    EXPECT_EQ(piece.start, values.dDist[0] * scale) << k;
    if (piece.distributed) {
      EXPECT_EQ(piece.value2, -values.dValue[1]) << k;
      EXPECT_EQ(piece.length, values.dDist[1] * scale - values.dDist[0] * scale) << k;
    }
  }
  EXPECT_EQ(read.selfWeight.factor, loads.GetSelfWeight()->m_dFactor);
  EXPECT_EQ(read.selfWeight.acceleration, loads.GetSelfWeight()->m_dAcceleration);
}

// The same model in six digits reaches the program within half a unit of
// the sixth digit, and not exactly: the comparison above can fail.
TEST(PrecisionRoundTripTest, SixDigitsRoundEveryAwkwardReal) {
  CTavData doc;
  Awkward next;
  BuildAwkwardModel(doc, next);
  const analysis::InputDeck deck = WriteAndRead(doc);
  for (int j = 0; j < 4; ++j) {
    const double x = doc.GetJoint(j)->m_vPos.x;
    EXPECT_NE(deck.joints[j].x, x);
    EXPECT_NEAR(deck.joints[j].x, x, 5e-6 * x);
  }
}

}  // namespace
}  // namespace tav
