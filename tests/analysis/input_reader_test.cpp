#include "analysis/InputReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/model/TavData.h"

namespace tav::analysis {
namespace {

using test::CrLfLines;
using test::SaveToString;

InputDeck ReadText(const std::string& text) {
  std::istringstream in(text);
  return ReadInput(in);
}

InputDeck ReadModel(CTavData& doc) { return ReadText(SaveToString(doc, TaV_FORMAT_TAV)); }

InputDeck ReadGolden(const std::string& name) { return ReadInputFile(std::string(TAV_GOLDEN_DIR) + "/" + name); }

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// Reals come back through "%g": six significant digits.
::testing::AssertionResult Near6(double expected, double actual) {
  if (std::fabs(expected - actual) <= 5e-6 * std::fabs(expected) + 1e-300) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " differs from " << expected << " beyond six digits";
}

// Passes when reading `text` fails at `line` with a message that contains
// `fragment` and starts with that line.
::testing::AssertionResult FailsAt(const std::string& text, int line, const std::string& fragment) {
  try {
    ReadText(text);
  } catch (const InputError& error) {
    const std::string message = error.what();
    const std::string prefix = "line " + std::to_string(line) + ": ";
    if (error.Line() == line && message.rfind(prefix, 0) == 0 && message.find(fragment) != std::string::npos) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "failed with \"" << message << "\" (line " << error.Line()
                                         << "), expected line " << line << " and \"" << fragment << "\"";
  }
  return ::testing::AssertionFailure() << "read without an error";
}

// Every field of a deck as text, so that two readings can be compared whole.
std::string Describe(const InputDeck& deck) {
  std::ostringstream out;
  out.precision(17);
  const auto flags = [&out](const std::array<bool, 6>& six) {
    for (bool flag : six) out << (flag ? '1' : '0');
    out << ' ';
  };
  const auto ints = [&out](const std::vector<int>& values) {
    for (int value : values) out << value << ',';
    out << ' ';
  };
  out << deck.title << '|' << deck.declaredJoints << ' ' << deck.functionCount << ' ' << deck.options.modes << ' '
      << deck.options.eigenMethod << ' ';
  flags(deck.options.activeDof);
  for (const LocalSystem& s : deck.localSystems)
    out << "L" << s.number << ' ' << s.angles[0] << ' ' << s.angles[1] << ' ' << s.angles[2] << '\n';
  for (const Joint& j : deck.joints) {
    out << "J" << j.number << ' ' << j.x << ' ' << j.y << ' ' << j.z << ' ' << j.localSystem << ' ' << j.line << ' ';
    flags(j.restrained);
    out << '\n';
  }
  for (const Diaphragm& d : deck.diaphragms) {
    out << "D" << d.master << ' ' << d.line << ' ';
    ints(d.slaves);
  }
  for (const RigidLink& r : deck.rigidLinks) {
    out << "R" << r.nonlinear << ' ' << r.master << ' ' << r.line << ' ';
    ints(r.slaves);
  }
  for (const BeamGroup& g : deck.beamGroups) {
    out << "BG" << g.number << '\n';
    for (const Section& s : g.sections) {
      out << "S" << s.number << ' ' << s.e << ' ' << s.j << ' ' << s.poisson << ' ' << s.is << ' ' << s.it << ' '
          << s.area << ' ' << s.ashs << ' ' << s.asht << '\n';
    }
    for (const Beam& b : g.beams) {
      out << "B" << b.number << ' ' << b.group << ' ' << b.section << ' ' << b.jointI << ' ' << b.jointJ << ' '
          << b.angle << ' ' << b.segments << ' ' << b.ownSegments << ' ' << b.releaseI << b.releaseJ << ' ' << b.offsetI
          << ' ' << b.offsetJ << ' ' << b.rigid << ' ' << b.line << '\n';
    }
  }
  for (const SpringGroup& g : deck.springGroups) {
    out << "SG" << g.number << '\n';
    for (const SpringConstant& c : g.constants) {
      out << "K" << c.number << ' ' << c.multi << ' ' << c.stiffness[0] << ' ' << c.stiffness[1] << ' '
          << c.stiffness[2] << '\n';
    }
    for (const Spring& s : g.springs) {
      out << "SP" << s.number << ' ' << s.constant << ' ' << s.joint << ' ' << s.multi << ' ' << s.line << '\n';
    }
  }
  for (const LinkGroup& g : deck.linkGroups) {
    out << "LG" << g.number << '\n';
    for (const LinkProperty& p : g.properties) out << "P" << p.number << ' ' << p.k0 << '\n';
    for (const Link& l : g.links) {
      out << "LK" << l.number << ' ' << l.jointI << ' ' << l.jointJ << ' ' << l.property << ' ' << l.line << '\n';
    }
  }
  const auto jointLoads = [&out](const std::vector<JointLoad>& loads) {
    for (const JointLoad& l : loads) {
      out << "  " << l.joint << ' ' << l.function << ' ' << l.line << ':';
      for (double v : l.values) out << ' ' << v;
      out << '\n';
    }
  };
  for (const LoadCase& c : deck.cases) {
    out << "C" << static_cast<int>(c.kind) << ' ' << c.number << ' ' << c.line << '\n';
    jointLoads(c.jointLoads);
    for (const BeamLoad& b : c.beamLoads) {
      out << "  BL" << b.number << ' ' << b.type << ' ' << b.jointI << ' ' << b.jointJ << ' ' << b.angle << ' '
          << b.function << ' ' << b.line << ':';
      for (const BeamLoadPiece& p : b.pieces) {
        out << " [" << p.axis << p.distributed << ' ' << p.value1 << ' ' << p.value2 << ' ' << p.start << ' '
            << p.length << ']';
      }
      out << '\n';
    }
    jointLoads(c.displacements);
    const SelfWeight& w = c.selfWeight;
    out << "  W" << w.present << ' ' << w.direction << ' ' << w.factor << ' ' << w.acceleration << ' ' << w.function
        << ' ' << w.line << '\n';
  }
  return out.str();
}

// ---- Models written by the library come back whole -------------------------

TEST(InputReaderModelTest, SmallFrame) {
  CTavData doc;
  test::BuildSmallFrame(doc, "LOAD");
  const InputDeck deck = ReadModel(doc);

  EXPECT_EQ(deck.title, "FRAME");
  EXPECT_EQ(deck.declaredJoints, 2);
  EXPECT_EQ(deck.functionCount, 1);
  EXPECT_EQ(deck.options.activeDof, (std::array<bool, 6>{true, true, true, true, true, true}));
  EXPECT_EQ(deck.options.eigenMethod, 0);
  ASSERT_EQ(deck.joints.size(), 2U);
  EXPECT_EQ(deck.joints[1].number, 1);
  EXPECT_EQ(deck.joints[1].z, 3.0);
  EXPECT_EQ(deck.joints[1].line, 12);
  EXPECT_EQ(deck.joints[0].restrained, (std::array<bool, 6>{true, true, true, true, true, true}));
  EXPECT_EQ(deck.joints[1].restrained, (std::array<bool, 6>{}));

  ASSERT_EQ(deck.beamGroups.size(), 1U);
  ASSERT_EQ(deck.beamGroups[0].sections.size(), 1U);
  // The writer computes the rectangle's properties: 0.3 wide, 0.5 high.
  const Section& section = deck.beamGroups[0].sections[0];
  EXPECT_EQ(section.e, 2.1e7);
  EXPECT_TRUE(Near6(0.5 * 0.5 * 0.5 * 0.3 / 12, section.is));
  EXPECT_TRUE(Near6(0.3 * 0.3 * 0.3 * 0.5 / 12, section.it));
  EXPECT_TRUE(Near6(0.15, section.area));
  EXPECT_TRUE(Near6(0.125, section.ashs));
  EXPECT_TRUE(Near6(0.125, section.asht));
  EXPECT_EQ(section.j, 0.0);
  EXPECT_EQ(section.poisson, 0.0);
  ASSERT_EQ(deck.beamGroups[0].beams.size(), 1U);
  const Beam& beam = deck.beamGroups[0].beams[0];
  EXPECT_EQ(beam.jointI, 0);
  EXPECT_EQ(beam.jointJ, 1);
  EXPECT_EQ(beam.segments, 4);
  EXPECT_EQ(beam.ownSegments, 0);
  EXPECT_EQ(beam.line, 19);

  ASSERT_EQ(deck.cases.size(), 1U);
  const LoadCase& loadCase = deck.cases[0];
  EXPECT_EQ(loadCase.kind, CaseKind::kStatic);
  EXPECT_EQ(loadCase.number, 0);
  EXPECT_EQ(loadCase.line, 20);
  ASSERT_EQ(loadCase.jointLoads.size(), 1U);
  EXPECT_EQ(loadCase.jointLoads[0].joint, 1);
  EXPECT_EQ(loadCase.jointLoads[0].values, (Six{10, 0, 0, 0, 0, 0}));
  EXPECT_EQ(loadCase.jointLoads[0].function, 0);
  EXPECT_FALSE(loadCase.selfWeight.present);
}

// Compares what the reader gives with the model objects themselves.
void ExpectModelGeometry(CTavData& doc, const InputDeck& deck) {
  ASSERT_EQ(static_cast<int>(deck.localSystems.size()), doc.GetCountLocalCoord());
  for (int32_t i = 0; i < doc.GetCountLocalCoord(); ++i) {
    const CTavLocalCoord& system = *doc.GetLocalCoord(i);
    EXPECT_EQ(deck.localSystems[i].number, i);
    for (int a = 0; a < 3; ++a) EXPECT_TRUE(Near6(system.m_dAngle[a], deck.localSystems[i].angles[a]));
  }

  ASSERT_EQ(static_cast<int>(deck.joints.size()), doc.GetCountJoint());
  EXPECT_EQ(deck.declaredJoints, doc.GetCountJoint());
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const CTavJoint& joint = *doc.GetJoint(i);
    const Joint& read = deck.joints[i];
    EXPECT_EQ(read.number, i);
    EXPECT_TRUE(Near6(joint.m_vPos.x, read.x));
    EXPECT_TRUE(Near6(joint.m_vPos.y, read.y));
    EXPECT_TRUE(Near6(joint.m_vPos.z, read.z));
    EXPECT_EQ(read.localSystem, joint.m_nLocalCoord);
    for (int d = 0; d < 6; ++d) EXPECT_EQ(read.restrained[d], ((joint.m_Restraint.byFlags >> d) & 1U) != 0);
  }

  // Groups of each kind in the model's group order.
  size_t beamGroup = 0, springGroup = 0, linkGroup = 0;
  const int segments = doc.GetGlobalOption()->GetCountForceSegment();
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    CTavGroup* base = doc.GetGroup(g);
    if (base->GetType() == CTavGroup::kBeam) {
      const auto& group = static_cast<const CTavGroupElement&>(*base);
      ASSERT_LT(beamGroup, deck.beamGroups.size());
      const BeamGroup& read = deck.beamGroups[beamGroup];
      EXPECT_EQ(read.number, g);
      ASSERT_EQ(static_cast<int>(read.sections.size()), group.GetCountSection());
      for (int32_t s = 0; s < group.GetCountSection(); ++s) {
        const CTavSection& section = *group.GetSection(s);
        EXPECT_EQ(read.sections[s].number, s);
        EXPECT_TRUE(Near6(section.m_dE, read.sections[s].e));
        EXPECT_TRUE(Near6(section.m_dJ, read.sections[s].j));
        EXPECT_TRUE(Near6(section.m_dPoisson, read.sections[s].poisson));
        EXPECT_TRUE(Near6(section.m_dIS, read.sections[s].is));
        EXPECT_TRUE(Near6(section.m_dIT, read.sections[s].it));
        EXPECT_TRUE(Near6(section.m_dArea, read.sections[s].area));
        EXPECT_TRUE(Near6(section.m_dASHS, read.sections[s].ashs));
        EXPECT_TRUE(Near6(section.m_dASHT, read.sections[s].asht));
      }
      ASSERT_EQ(static_cast<int>(read.beams.size()), group.GetCountBeam());
      size_t b = 0;
      for (int32_t number : group.m_arrBeam) {
        const CTavBeam& beam = *doc.GetBeam(number);
        const Beam& readBeam = read.beams[b++];
        EXPECT_EQ(readBeam.number, number);
        EXPECT_EQ(readBeam.group, static_cast<int>(beamGroup));
        EXPECT_EQ(readBeam.section, beam.m_nSection);
        EXPECT_EQ(readBeam.jointI, beam.m_nJointI);
        EXPECT_EQ(readBeam.jointJ, beam.m_nJointJ);
        EXPECT_TRUE(Near6(beam.m_dAngle, readBeam.angle));
        EXPECT_EQ(readBeam.segments, segments);
        EXPECT_EQ(readBeam.ownSegments, static_cast<int>(beam.m_dNReg));
        EXPECT_EQ(readBeam.releaseI, beam.m_bReleaseI != 0);
        EXPECT_EQ(readBeam.releaseJ, beam.m_bReleaseJ != 0);
        EXPECT_TRUE(Near6(beam.m_dOffsetI, readBeam.offsetI));
        EXPECT_TRUE(Near6(beam.m_dOffsetJ, readBeam.offsetJ));
        EXPECT_TRUE(Near6(beam.m_dRigid, readBeam.rigid));
      }
      ++beamGroup;
    } else if (base->GetType() == CTavGroup::kSpring) {
      const auto& group = static_cast<const CTavGroupSpring&>(*base);
      ASSERT_LT(springGroup, deck.springGroups.size());
      const SpringGroup& read = deck.springGroups[springGroup++];
      EXPECT_EQ(read.number, g);
      ASSERT_EQ(static_cast<int>(read.constants.size()), group.GetCountSpingConstant());
      for (int32_t c = 0; c < group.GetCountSpingConstant(); ++c) {
        const CTavSpringConstant& constant = *group.GetSpingConstant(c);
        EXPECT_EQ(read.constants[c].number, c);
        EXPECT_EQ(read.constants[c].multi, constant.m_bMultiDof != 0);
        // A single constant is written with its first value only.
        const int values = constant.m_bMultiDof != 0 ? 3 : 1;
        for (int k = 0; k < 3; ++k) {
          EXPECT_TRUE(Near6(k < values ? constant.m_dStiffness[k] : 0.0, read.constants[c].stiffness[k]));
        }
      }
      ASSERT_EQ(static_cast<int>(read.springs.size()), group.GetCountSpring());
      for (int32_t s = 0; s < group.GetCountSpring(); ++s) {
        const TaV_SPRING& spring = *group.GetSpring(s);
        EXPECT_EQ(read.springs[s].number, s);
        EXPECT_EQ(read.springs[s].constant, spring.nConstant);
        EXPECT_EQ(read.springs[s].joint, spring.nJoint);
        EXPECT_EQ(read.springs[s].multi, group.GetSpingConstant(spring.nConstant)->m_bMultiDof != 0);
      }
    } else {
      const auto& group = static_cast<const CTavGroupNllink&>(*base);
      ASSERT_LT(linkGroup, deck.linkGroups.size());
      const LinkGroup& read = deck.linkGroups[linkGroup++];
      EXPECT_EQ(read.number, g);
      ASSERT_EQ(static_cast<int>(read.properties.size()), group.GetCountNllinkConstant());
      for (int32_t p = 0; p < group.GetCountNllinkConstant(); ++p) {
        EXPECT_EQ(read.properties[p].number, p);
        EXPECT_TRUE(Near6(group.GetNllinkConstant(p)->m_dK0, read.properties[p].k0));
      }
      ASSERT_EQ(static_cast<int>(read.links.size()), group.GetCountNllink());
      size_t l = 0;
      for (int32_t number : group.m_arrNllink) {
        const CTavNLLink& link = *doc.GetNLLink(number);
        const Link& readLink = read.links[l++];
        EXPECT_EQ(readLink.number, number);
        EXPECT_EQ(readLink.jointI, link.m_nJointI);
        EXPECT_EQ(readLink.jointJ, link.m_nJointJ);
        EXPECT_EQ(readLink.property, link.m_nProperty);
      }
    }
  }
  EXPECT_EQ(beamGroup, deck.beamGroups.size());
  EXPECT_EQ(springGroup, deck.springGroups.size());
  EXPECT_EQ(linkGroup, deck.linkGroups.size());
}

TEST(InputReaderModelTest, ExchangeModelGeometry) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  const InputDeck deck = ReadModel(doc);

  EXPECT_EQ(deck.title, "EXCHANGE");
  EXPECT_EQ(deck.options.activeDof, (std::array<bool, 6>{true, false, true, false, true, false}));
  ExpectModelGeometry(doc, deck);

  // A few by hand, should the model objects themselves be off.
  EXPECT_EQ(deck.localSystems[1].angles, (std::array<double, 3>{12.5, 45.0, 0.0}));
  EXPECT_EQ(deck.joints[0].localSystem, 0);
  EXPECT_EQ(deck.joints[4].localSystem, 1);
  EXPECT_EQ(deck.joints[0].restrained, (std::array<bool, 6>{true, false, false, false, false, true}));
  ASSERT_EQ(deck.beamGroups.size(), 2U);
  EXPECT_EQ(deck.beamGroups[1].number, 3);
  EXPECT_EQ(deck.beamGroups[1].beams[1].group, 1);
  EXPECT_EQ(deck.beamGroups[1].beams[1].section, 1);
  EXPECT_EQ(deck.beamGroups[1].beams[1].jointI, 4);
  EXPECT_EQ(deck.beamGroups[1].beams[1].angle, -45.0);
  EXPECT_TRUE(Near6(0.5 * 0.5 * 0.5 * 0.5 / 12, deck.beamGroups[1].sections[1].is));
  EXPECT_TRUE(deck.beamGroups[0].beams[1].releaseI);
  EXPECT_TRUE(deck.beamGroups[0].beams[1].releaseJ);
  ASSERT_EQ(deck.springGroups.size(), 1U);
  EXPECT_EQ(deck.springGroups[0].constants[1].stiffness, (std::array<double, 3>{5.0, 6.0, 7.0}));
  EXPECT_TRUE(deck.springGroups[0].springs[1].multi);
  EXPECT_FALSE(deck.springGroups[0].springs[2].multi);
  ASSERT_EQ(deck.linkGroups.size(), 2U);
  EXPECT_EQ(deck.linkGroups[0].links[0].property, 1);
  EXPECT_EQ(deck.linkGroups[1].links[0].number, 1);
  EXPECT_EQ(deck.linkGroups[1].properties[0].k0, 9.0);
}

TEST(InputReaderModelTest, ExchangeModelLoads) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  const InputDeck deck = ReadModel(doc);

  ASSERT_EQ(deck.cases.size(), 6U);
  const CaseKind kinds[] = {CaseKind::kStatic,  CaseKind::kStatic,   CaseKind::kStatic,
                            CaseKind::kHistory, CaseKind::kSpectrum, CaseKind::kMoving};
  const int numbers[] = {0, 1, 2, 0, 0, 0};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(deck.cases[i].kind, kinds[i]) << i;
    EXPECT_EQ(deck.cases[i].number, numbers[i]) << i;
  }

  const LoadCase& dead = deck.cases[0];
  ASSERT_EQ(dead.jointLoads.size(), 1U);
  EXPECT_EQ(dead.jointLoads[0].joint, 3);
  EXPECT_EQ(dead.jointLoads[0].values, (Six{0, 0, -10, 0, 0, 2.5}));
  ASSERT_EQ(dead.beamLoads.size(), 1U);
  // -5 to -6 from 1 to 3 (absolute) along Z: written negated, with start and length.
  const BeamLoad& distributed = dead.beamLoads[0];
  EXPECT_EQ(distributed.type, 3);
  EXPECT_EQ(distributed.jointI, 1);
  EXPECT_EQ(distributed.jointJ, 2);
  EXPECT_EQ(distributed.angle, 12.7);
  ASSERT_EQ(distributed.pieces.size(), 1U);
  EXPECT_EQ(distributed.pieces[0].axis, 2);
  EXPECT_TRUE(distributed.pieces[0].distributed);
  EXPECT_EQ(distributed.pieces[0].value1, 5.0);
  EXPECT_EQ(distributed.pieces[0].value2, 6.0);
  EXPECT_EQ(distributed.pieces[0].start, 1.0);
  EXPECT_EQ(distributed.pieces[0].length, 2.0);
  ASSERT_EQ(dead.displacements.size(), 1U);
  EXPECT_EQ(dead.displacements[0].joint, 0);
  EXPECT_EQ(dead.displacements[0].values, (Six{0, 0, -0.01, 0, 0, 0}));
  EXPECT_TRUE(dead.selfWeight.present);
  EXPECT_EQ(dead.selfWeight.direction, 2);
  EXPECT_EQ(dead.selfWeight.factor, 1.0);
  EXPECT_EQ(dead.selfWeight.acceleration, 9.81);
  EXPECT_EQ(dead.selfWeight.function, 0);

  const LoadCase& live = deck.cases[1];
  EXPECT_TRUE(live.jointLoads.empty());
  EXPECT_FALSE(live.selfWeight.present);
  ASSERT_EQ(live.beamLoads.size(), 3U);
  // Forces 20 along X and -15 along Z at half of a beam 2 long.
  const BeamLoad& point = live.beamLoads[0];
  EXPECT_EQ(point.number, 0);
  EXPECT_EQ(point.type, 1);
  ASSERT_EQ(point.pieces.size(), 2U);
  EXPECT_EQ(point.pieces[0].axis, 0);
  EXPECT_FALSE(point.pieces[0].distributed);
  EXPECT_EQ(point.pieces[0].value1, -20.0);
  EXPECT_EQ(point.pieces[0].value2, 0.0);
  EXPECT_EQ(point.pieces[0].start, 1.0);
  EXPECT_EQ(point.pieces[0].length, 0.0);
  EXPECT_EQ(point.pieces[1].axis, 2);
  EXPECT_EQ(point.pieces[1].value1, 15.0);
  // 2 to 4 along X over the middle half of a beam 4.5 long.
  const BeamLoad& stretch = live.beamLoads[1];
  EXPECT_EQ(stretch.number, 1);
  EXPECT_EQ(stretch.jointI, 2);
  EXPECT_EQ(stretch.angle, 90.0);
  ASSERT_EQ(stretch.pieces.size(), 1U);
  EXPECT_EQ(stretch.pieces[0].axis, 0);
  EXPECT_EQ(stretch.pieces[0].value1, -2.0);
  EXPECT_EQ(stretch.pieces[0].value2, -4.0);
  EXPECT_EQ(stretch.pieces[0].start, 1.125);
  EXPECT_EQ(stretch.pieces[0].length, 2.25);
  // A moment load has no pieces in this input.
  EXPECT_EQ(live.beamLoads[2].type, 2);
  EXPECT_TRUE(live.beamLoads[2].pieces.empty());

  EXPECT_TRUE(deck.cases[2].selfWeight.present);
  // The spectrum case always has an excitation record, all zero here.
  EXPECT_TRUE(deck.cases[4].selfWeight.present);
  EXPECT_EQ(deck.cases[4].selfWeight.acceleration, 0.0);
  EXPECT_FALSE(deck.cases[3].selfWeight.present);
  EXPECT_FALSE(deck.cases[5].selfWeight.present);
}

// What the exchange model lacks: eigen options, constraints, masses,
// extended beams, loaded history cases, spectrum damping, lanes.
void AddEverythingElse(CTavData& doc) {
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = 1;
  options.m_nModes = 7;
  options.m_nSubspaceVectors = 14;
  options.m_nIterations = 30;
  options.m_bRigidBodyMode = 1;
  options.m_dCutOffFrequency = 25.0;
  options.m_nForceSegments = 6;
  options.m_bInitTemperature = 1;

  doc.AddJointConstraintDiap(1, CString("3 4"));
  doc.GetConstraint()->AddRigidLink(1, 0, CLongArray{2, 4});
  doc.AddJointMass(1, 1.5, 0, 0, 0, 0, 0.25);
  doc.AddJointDamping(2, 0, 0.5, 0, 0, 0, 0);

  auto* girders = static_cast<CTavGroupElement*>(doc.GetGroup(0));
  doc.AddBeam(girders, 0, 3, 4, 30.0, 1, 0, 0.25, 0.5, 0.75, 6);
  doc.AddBeam(girders, 1, 4, 2, 0.0, 0, 1, 0, 0, 0.125, 0);

  CTavLoadHistory& history = *doc.GetHistoryLoad(0);
  history.AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_WILSON_THETA, 5, 300, 0.02, "1.4");
  history.AddLoadStatic_Joint(1, 1, 2, 3, 4, 5, 6, 0);
  TaV_TYPED_LOAD y;
  y.nValue = 1;
  y.dValue[0] = 7.5;
  y.dDist[0] = 0.25;
  history.AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, {}, y, {}, 0, 0);
  history.AddLoadStatic_Displacement(4, 0, 0, 0, 0.001, 0, 0, 0);
  history.AddSelfWeight(TaV_DIR_Y, 2.0, 9.81, 0);

  CTavLoadResponseSpectrum& spectrum = *doc.GetResponseSpectrum(0);
  spectrum.AddLoadResponseSpectrum_Combination(0, 4, TaV_MODECOMB_CQC, "0.05 0.03");
  spectrum.AddSelfWeight(TaV_DIR_Z, 0.5, 9.81, 0);

  doc.GetMovingLoad(0)->AddMovingLoad_Lane(0, 1, 0.5, -0.5);
  doc.AddMovingLoad("EMPTY");
}

TEST(InputReaderModelTest, EverythingElseComesBack) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  AddEverythingElse(doc);
  const InputDeck deck = ReadModel(doc);

  ExpectModelGeometry(doc, deck);
  EXPECT_EQ(deck.options.modes, 7);
  EXPECT_EQ(deck.options.eigenMethod, 1);

  ASSERT_EQ(deck.diaphragms.size(), 1U);
  EXPECT_EQ(deck.diaphragms[0].master, 1);
  EXPECT_EQ(deck.diaphragms[0].slaves, (std::vector<int>{3, 4}));  // the text holds 0-based numbers
  ASSERT_EQ(deck.rigidLinks.size(), 1U);
  EXPECT_TRUE(deck.rigidLinks[0].nonlinear);
  EXPECT_EQ(deck.rigidLinks[0].master, 0);
  EXPECT_EQ(deck.rigidLinks[0].slaves, (std::vector<int>{2, 4}));

  const Beam& extended = deck.beamGroups[0].beams[2];
  EXPECT_EQ(extended.number, 4);
  EXPECT_EQ(extended.segments, 6);
  EXPECT_EQ(extended.ownSegments, 6);
  EXPECT_TRUE(extended.releaseI);
  EXPECT_FALSE(extended.releaseJ);
  EXPECT_EQ(extended.offsetI, 0.25);
  EXPECT_EQ(extended.offsetJ, 0.5);
  EXPECT_EQ(extended.rigid, 0.75);
  const Beam& releasedJ = deck.beamGroups[0].beams[3];
  EXPECT_FALSE(releasedJ.releaseI);
  EXPECT_TRUE(releasedJ.releaseJ);
  EXPECT_EQ(releasedJ.rigid, 0.125);
  EXPECT_EQ(releasedJ.ownSegments, 0);

  ASSERT_EQ(deck.cases.size(), 7U);
  const LoadCase& history = deck.cases[3];
  EXPECT_EQ(history.kind, CaseKind::kHistory);
  ASSERT_EQ(history.jointLoads.size(), 1U);
  EXPECT_EQ(history.jointLoads[0].values, (Six{1, 2, 3, 4, 5, 6}));
  ASSERT_EQ(history.beamLoads.size(), 1U);
  ASSERT_EQ(history.beamLoads[0].pieces.size(), 1U);
  EXPECT_EQ(history.beamLoads[0].pieces[0].axis, 1);
  EXPECT_EQ(history.beamLoads[0].pieces[0].value1, -7.5);
  EXPECT_EQ(history.beamLoads[0].pieces[0].start, 0.5);  // a quarter of 2
  ASSERT_EQ(history.displacements.size(), 1U);
  EXPECT_EQ(history.displacements[0].joint, 4);
  EXPECT_EQ(history.displacements[0].values, (Six{0, 0, 0, 0.001, 0, 0}));
  EXPECT_TRUE(history.selfWeight.present);
  EXPECT_EQ(history.selfWeight.direction, 1);
  EXPECT_EQ(history.selfWeight.factor, 2.0);
  EXPECT_EQ(history.selfWeight.acceleration, 9.81);

  const LoadCase& spectrum = deck.cases[4];
  EXPECT_EQ(spectrum.kind, CaseKind::kSpectrum);
  EXPECT_EQ(spectrum.selfWeight.direction, 2);
  EXPECT_EQ(spectrum.selfWeight.factor, 0.5);

  EXPECT_EQ(deck.cases[5].kind, CaseKind::kMoving);
  EXPECT_EQ(deck.cases[6].kind, CaseKind::kMoving);
  EXPECT_EQ(deck.cases[6].number, 1);
}

TEST(InputReaderModelTest, LongTitleIsJoinedAgain) {
  CTavData doc;
  const std::string title = "A TITLE OF MANY WORDS THAT IS LONG ENOUGH TO BE WRAPPED BY THE WRITER OF THE INPUT";
  doc.SetTitle(title);
  const std::string text = SaveToString(doc, TaV_FORMAT_TAV);
  ASSERT_NE(text.find("*\r\n"), std::string::npos);
  EXPECT_EQ(ReadText(text).title, title);
}

TEST(InputReaderModelTest, ReadsAFileWrittenByTheLibrary) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  test::TempDir dir;
  const std::string path = dir.File("model.tav");
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  EXPECT_EQ(Describe(ReadInputFile(path)), Describe(ReadModel(doc)));
}

// ---- The golden files ----------------------------------------------------------

TEST(InputReaderGoldenTest, EigenHeaders) {
  const InputDeck determinant = ReadGolden("own_eigen_determinant.tav");
  EXPECT_EQ(determinant.options.eigenMethod, 1);
  EXPECT_EQ(determinant.options.modes, 4);
  EXPECT_EQ(determinant.options.activeDof, (std::array<bool, 6>{true, false, true, false, true, false}));
  EXPECT_EQ(determinant.joints.size(), 2U);
  const InputDeck other = ReadGolden("own_eigen_other.tav");
  EXPECT_EQ(other.options.eigenMethod, 2);
  EXPECT_EQ(other.options.modes, 10);
  EXPECT_TRUE(other.joints.empty());
}

TEST(InputReaderGoldenTest, LineFeedsAloneReadTheSame) {
  for (const char* name : {"own_header_full.tav", "own_groups_mixed.tav", "own_loads.tav"}) {
    const std::string crlf = test::ReadFileBytes(std::string(TAV_GOLDEN_DIR) + "/" + name);
    std::string lf;
    for (char c : crlf) {
      if (c != '\r') lf += c;
    }
    ASSERT_NE(lf.size(), crlf.size()) << name;
    EXPECT_EQ(Describe(ReadText(lf)), Describe(ReadText(crlf))) << name;
  }
}

TEST(InputReaderGoldenTest, LastLineWithoutLineEnd) {
  std::string text = test::ReadFileBytes(std::string(TAV_GOLDEN_DIR) + "/own_loads.tav");
  const InputDeck whole = ReadText(text);
  text.resize(text.size() - 2);
  EXPECT_EQ(Describe(ReadText(text)), Describe(whole));
}

// ---- Statements and numbers by hand ----------------------------------------------

// Line 1 to 12; tests replace or insert lines.
std::vector<std::string> SmallInput() {
  return {"TAV SMALL",                                    // 1
          "SYSTEM",                                       // 2
          "   MASTER DOF=UX UY UZ RX RY RZ",              // 3
          "   NUMBER OF NODES=2",                         // 4
          "JOINT INFORMATIONS",                           // 5
          "  1  X=0. Y=0. Z=0.",                          // 6
          "  2  X=4. Y=0. Z=0.",                          // 7
          "INITIAL CONDITIONS NOT EXIST",                 // 8
          "BEAM ELEMENT GROUP 1 NUMBER OF ELEMENTS=1",    // 9
          "   MAT/SEC PROPERTIES 1 E=2e+008. AREA=0.01",  // 10
          "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 ",         // 11
          "STOP"};                                        // 12
}

std::string Replaced(int line, const std::string& text) {
  std::vector<std::string> lines = SmallInput();
  lines[static_cast<size_t>(line - 1)] = text;
  return JoinLines(lines);
}

std::string Inserted(int line, const std::vector<std::string>& texts) {
  std::vector<std::string> lines = SmallInput();
  lines.insert(lines.begin() + (line - 1), texts.begin(), texts.end());
  return JoinLines(lines);
}

TEST(InputReaderTextTest, SmallInputReads) {
  const InputDeck deck = ReadText(JoinLines(SmallInput()));
  EXPECT_EQ(deck.title, "SMALL");
  EXPECT_EQ(deck.joints.size(), 2U);
  EXPECT_EQ(deck.beamGroups[0].beams[0].line, 11);
  EXPECT_EQ(deck.beamGroups[0].sections[0].area, 0.01);
  EXPECT_TRUE(deck.cases.empty());
  EXPECT_EQ(deck.functionCount, 0);
}

TEST(InputReaderTextTest, RealsAsTheWritersPrintThem) {
  const std::pair<const char*, double> forms[] = {
      {"2.", 2.0},          {"-12.5", -12.5}, {"1e+010.", 1e10}, {"2.1e+007", 2.1e7}, {"0", 0.0},
      {"1.5e-005", 1.5e-5}, {"+3", 3.0},      {"-0.", 0.0},      {".5", 0.5},         {"7e2", 700.0},
  };
  for (const auto& [text, value] : forms) {
    const InputDeck deck = ReadText(Replaced(7, std::string("  2  X=") + text + " Y=0. Z=0."));
    EXPECT_EQ(deck.joints[1].x, value) << text;
  }
}

TEST(InputReaderTextTest, MalformedNumbersNameTheirLine) {
  for (const char* text : {"1.2.3", "1..", "abc", "", "1,5", "0x10", "nan", "inf", "1e", "--1", "1.5x", "1e+010.."}) {
    EXPECT_TRUE(FailsAt(Replaced(7, std::string("  2  X=") + text + " Y=0. Z=0."), 7, "malformed number")) << text;
  }
  EXPECT_TRUE(FailsAt(Replaced(7, "  2  X=1.2.3 Y=0. Z=0."), 7, "\"1.2.3\""));
  // Whole numbers take no point.
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4. "), 11, "malformed number \"4.\""));
  EXPECT_TRUE(FailsAt(Replaced(4, "   NUMBER OF NODES=two"), 4, "malformed number"));
}

TEST(InputReaderTextTest, UnknownStatementsAndKeywords) {
  EXPECT_TRUE(FailsAt(Inserted(12, {"FOO"}), 12, "unknown statement \"FOO\""));
  EXPECT_TRUE(FailsAt(Inserted(3, {"   FOO BAR=1"}), 3, "unknown statement \"FOO BAR=1\""));
  EXPECT_TRUE(FailsAt(Replaced(7, "  2  X=4. Y=0. Z=0. Q=5."), 7, "unknown keyword \"Q\""));
  EXPECT_TRUE(FailsAt(Replaced(3, "   MASTER DOF=UX UW"), 3, "unknown degree of freedom \"UW\""));
  EXPECT_TRUE(FailsAt(Replaced(10, "   MAT/SEC PROPERTIES 1 E=2e+008. AREA=0.01 ZZ=1."), 10, "unknown keyword \"ZZ\""));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 END RELEASE=MTK"), 11, "\"MTK\""));
  EXPECT_TRUE(FailsAt(Replaced(9, "BEAM ELEMENT GROUP 1 NUMBER OF ELEMENT=1"), 9, "ELEMENTS="));
  EXPECT_TRUE(FailsAt(Replaced(8, "INITIAL CONDITIONS MAYBE"), 8, "EXIST"));
}

TEST(InputReaderTextTest, MissingKeys) {
  EXPECT_TRUE(FailsAt(Replaced(7, "  2  X=4. Z=0."), 7, "missing Y="));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0."), 11, "missing NREG="));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1"), 11, "ends before joint J"));
  const std::string loads = Inserted(12, {"STATIC LOAD CONDITION 1 JOINT LOAD=1", "     JOINT LOADS", "     2 PX=1."});
  EXPECT_TRUE(FailsAt(loads, 14, "missing FUNCTION="));
}

TEST(InputReaderTextTest, ReferencesToNothing) {
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 99 0. NREG=4 "), 11, "joint 99 does not exist"));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=0 2 0. NREG=4 "), 11, "joint 0"));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=2 NOAN=1 2 0. NREG=4 "), 11, "section 2 does not exist"));
  EXPECT_TRUE(FailsAt(Replaced(6, "  1  X=0. Y=0. Z=0. LOCAL COORDINATE=1"), 6, "local coordinate system 1"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT RESTRAINTS", "  3  UX"}), 9, "joint 3"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT CONSTRAINT", "  DIAPH1 MASS 1 ADD=2 3"}), 9, "joint 3"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT CONSTRAINT", "  DIAPH1 MASS 4 ADD=2"}), 9, "joint 4"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT CONSTRAINT", "  RIGIDLINK1 TYPE=LINEAR MASTER JOINT 1 SLAVE JOINT=5"}), 9,
                      "joint 5"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT MASS", "  1  XMX=1.", "  7  XMX=1."}), 10, "joint 7"));
  EXPECT_TRUE(FailsAt(Inserted(8, {"JOINT DAMPER", "  9 "}), 9, "joint 9"));
  EXPECT_TRUE(FailsAt(
      Inserted(12, {"SUPPORT SPRING GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1",
                    "   SPRING CONSTANTS 1 STIFFNESS=1000.", "    1 SPRING CONSTANT=2 NODE=1 TYPE=SINGLE D.O.F"}),
      14, "spring constant 2"));
  EXPECT_TRUE(FailsAt(
      Inserted(12, {"SUPPORT SPRING GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1",
                    "   SPRING CONSTANTS 1 STIFFNESS=1000.", "    1 SPRING CONSTANT=1 NODE=3 TYPE=SINGLE D.O.F"}),
      14, "joint 3"));
  EXPECT_TRUE(FailsAt(Inserted(12, {"NLLINK ELEMENT GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1",
                                    "   MAT/SEC PROPERTIE 1 K0=10.", "    1 NODE 1  2 MATERIAL=3"}),
                      14, "link property 3"));
  EXPECT_TRUE(FailsAt(Inserted(12, {"NLLINK ELEMENT GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1",
                                    "   MAT/SEC PROPERTIE 1 K0=10.", "    1 NODE 1  12 MATERIAL=1"}),
                      14, "joint 12"));
  EXPECT_TRUE(
      FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1 JOINT LOAD=1", "     JOINT LOADS", "     3 PX=1. FUNCTION=1"}), 14,
              "joint 3"));
  EXPECT_TRUE(FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1 BEAM LOAD=1", "     BEAM LOADS",
                                    "     1 TYPE=3 WZ=1. 1. 0. 4.  NOAN=1 3 0. FUNCTION=1"}),
                      14, "joint 3"));
  EXPECT_TRUE(FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1 PRESCRIBED DISPLACEMENT LOAD=1",
                                    "     PRESCRIBED DISPPACEMENT LOADS", "     4 DX=1. FUNCTION=1"}),
                      14, "joint 4"));
}

TEST(InputReaderTextTest, JointsAreNumberedInOrder) {
  EXPECT_TRUE(FailsAt(Replaced(7, "  3  X=4. Y=0. Z=0."), 7, "joint 3 is out of order: joint 2 comes next"));
  EXPECT_TRUE(FailsAt(Replaced(6, "  2  X=0. Y=0. Z=0."), 6, "joint 2 is out of order: joint 1 comes next"));
}

TEST(InputReaderTextTest, NumberOfNodesMustMatchTheJoints) {
  EXPECT_TRUE(FailsAt(Replaced(4, "   NUMBER OF NODES=3"), 4, "NUMBER OF NODES=3 but 2 joints are given"));
  EXPECT_TRUE(FailsAt(Replaced(4, "   NUMBER OF NODES=1"), 4, "but 2 joints"));
  EXPECT_TRUE(FailsAt(Replaced(4, "   CHECK LOAD-VECTOR"), 12, "NUMBER OF NODES"));
}

TEST(InputReaderTextTest, StopEndsTheInput) {
  std::vector<std::string> lines = SmallInput();
  lines.pop_back();
  EXPECT_TRUE(FailsAt(JoinLines(lines), 11, "the input ends without STOP"));
  lines.push_back("");
  EXPECT_TRUE(FailsAt(JoinLines(lines), 12, "the input ends without STOP"));
  EXPECT_TRUE(FailsAt(Inserted(13, {"JOINT MASS"}), 13, "nothing may follow STOP"));
  // Blank lines after it are fine.
  EXPECT_EQ(ReadText(JoinLines(SmallInput()) + "\r\n  \r\n\r\n").joints.size(), 2U);
  EXPECT_TRUE(FailsAt("", 1, "TAV"));
  EXPECT_TRUE(FailsAt(JoinLines({"SYSTEM", "STOP"}), 1, "does not begin with TAV"));
}

TEST(InputReaderTextTest, StatementsOutOfPlace) {
  // A beam line before any beam group.
  EXPECT_TRUE(FailsAt(Inserted(9, {"    1 MATERIAL=1 NOAN=1 2 0. NREG=4 "}), 9, "is out of place"));
  // Blocks in the wrong order, or twice.
  EXPECT_TRUE(FailsAt(Inserted(12, {"JOINT INFORMATIONS"}), 12, "JOINT INFORMATIONS is out of place"));
  EXPECT_TRUE(FailsAt(Inserted(5, {"SYSTEM"}), 5, "SYSTEM is out of place"));
  EXPECT_TRUE(FailsAt(Inserted(2, {"TAV AGAIN"}), 2, "out of place"));
  // Properties after the elements of their group.
  EXPECT_TRUE(FailsAt(Inserted(12, {"   MAT/SEC PROPERTIES 2 E=1."}), 12, "properties must come before"));
  // A section line in a link group.
  EXPECT_TRUE(FailsAt(Inserted(12, {"NLLINK ELEMENT GROUP 2 NUMBER OF ELEMENTS=0 NUMBER OF CONSTANTS=1",
                                    "   MAT/SEC PROPERTIES 1 K0=10."}),
                      13, "PROPERTIE"));
  // Load lines before their heading, parts of a case out of order.
  EXPECT_TRUE(FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1", "     1 PX=1. FUNCTION=1"}), 13, "out of place"));
  EXPECT_TRUE(
      FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1", "     BEAM LOADS", "     JOINT LOADS"}), 14, "out of place"));
  EXPECT_TRUE(FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     FZ=1. ACCELERATION=9.81 FUNCTION=1",
                                    "     FZ=1. ACCELERATION=9.81 FUNCTION=1"}),
                      14, "out of place"));
  // Lanes belong to moving load conditions only.
  EXPECT_TRUE(
      FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1", "     ELE=1 ECC=0. ELE=1 ECC=0."}), 13, "unknown statement"));
}

// A line of `text` padded with blanks so that the continuation mark stands
// in column 80.
std::string Marked(const std::string& text) { return text + std::string(79 - text.size(), ' ') + "*"; }

TEST(InputReaderTextTest, ContinuationLines) {
  // The mark in column 80; the statement keeps the number of its first line.
  std::vector<std::string> lines = SmallInput();
  lines[6] = Marked("  2  X=4.");
  lines.insert(lines.begin() + 7, {Marked("    Y=1."), "    Z=2."});
  InputDeck deck = ReadText(JoinLines(lines));
  EXPECT_EQ(deck.joints[1].x, 4.0);
  EXPECT_EQ(deck.joints[1].y, 1.0);
  EXPECT_EQ(deck.joints[1].z, 2.0);
  EXPECT_EQ(deck.joints[1].line, 7);
  EXPECT_EQ(deck.beamGroups[0].beams[0].line, 13);

  // A token too long for the room left: the mark follows it beyond column 80.
  lines = SmallInput();
  lines[6] = "  2  X=4." + std::string(75, '0') + " *";
  lines.insert(lines.begin() + 7, "    Y=1. Z=2.");
  deck = ReadText(JoinLines(lines));
  EXPECT_EQ(deck.joints[1].x, 4.0);
  EXPECT_EQ(deck.joints[1].z, 2.0);

  // Shorter lines never continue, whatever their last character.
  EXPECT_TRUE(FailsAt(Replaced(7, "  2  X=4. Y=0. Z=0. *"), 7, "unexpected \"*\""));

  // An error on a continuation line is reported at the statement's first line.
  lines = SmallInput();
  lines[10] = Marked("    1 MATERIAL=1 NOAN=1 2 0. NREG=4 END RELEASE=MTI MTJ IOFFSET=12.5");
  lines.insert(lines.begin() + 11, "      JOFFSET=1.2.3");
  EXPECT_TRUE(FailsAt(JoinLines(lines), 11, "malformed number \"1.2.3\" for JOFFSET="));

  // A mark on the last line of the input leaves the statement unfinished.
  lines = SmallInput();
  lines.back() = Marked("STOP");
  EXPECT_TRUE(FailsAt(JoinLines(lines), 12, "the input ends after a continuation mark"));
  EXPECT_TRUE(FailsAt(JoinLines(lines, "\n"), 12, "the input ends after a continuation mark"));
}

TEST(InputReaderTextTest, FunctionPoints) {
  const std::string functions =
      JoinLines({"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION", "   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1.",
                 "   2 TYPE=SINUSOIDAL POINTS=0 2.5", "  ", "   3 TYPE=CONSTANT POINTS=1 0.5 -1.", " 0. 0.5", "STOP"});
  EXPECT_EQ(ReadText(functions).functionCount, 3);
  const std::string missing =
      JoinLines({"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION", "   1 TYPE=CONSTANT POINTS=2",
                 "   2 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1.", "STOP"});
  EXPECT_TRUE(FailsAt(missing, 6, "malformed number"));
  const std::string shortLine = JoinLines(
      {"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION", "   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1.", "STOP"});
  EXPECT_TRUE(FailsAt(shortLine, 6, "function 1 has POINTS=2 but its points line holds 3 numbers"));
  const std::string badType =
      JoinLines({"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION", "   1 TYPE=LINEAR POINTS=0", "  ", "STOP"});
  EXPECT_TRUE(FailsAt(badType, 5, "unknown function type \"LINEAR\""));
  const std::string atEnd =
      JoinLines({"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION", "   1 TYPE=CONSTANT POINTS=0"});
  EXPECT_TRUE(FailsAt(atEnd, 5, "before the points of function 1"));
}

TEST(InputReaderTextTest, BeamOwnSegmentsMustBeWhole) {
  const InputDeck deck = ReadText(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 RIGID=0.5 NREG=8"));
  EXPECT_EQ(deck.beamGroups[0].beams[0].ownSegments, 8);
  EXPECT_EQ(deck.beamGroups[0].beams[0].segments, 4);
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 NREG=2.5"), 11, "NREG=2.5"));
  EXPECT_TRUE(FailsAt(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 NREG=-1"), 11, "NREG=-1"));
}

TEST(InputReaderTextTest, SelfWeightWithoutDirection) {
  const InputDeck deck = ReadText(Inserted(
      12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     =1. ACCELERATION=9.81 FUNCTION=2",
           "RESPONSE SPECTRUM LOAD CONDITION 1 NUMBER OF MODES=2 MODE COMBINATION=", "     MODAL DAMPING=0.05 ",
           "     FUNCTION=1 =0.5 ACC=3."}));
  ASSERT_EQ(deck.cases.size(), 2U);
  EXPECT_EQ(deck.cases[0].selfWeight.direction, -1);
  EXPECT_EQ(deck.cases[0].selfWeight.factor, 1.0);
  EXPECT_EQ(deck.cases[0].selfWeight.function, 1);
  EXPECT_EQ(deck.cases[0].selfWeight.line, 13);
  EXPECT_EQ(deck.cases[1].selfWeight.direction, -1);
  EXPECT_EQ(deck.cases[1].selfWeight.factor, 0.5);
  EXPECT_EQ(deck.cases[1].selfWeight.acceleration, 3.0);
  EXPECT_TRUE(FailsAt(Inserted(12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     FW=1. ACCELERATION=9.81 FUNCTION=2"}),
                      13, "unknown keyword \"FW\""));
}

TEST(InputReaderFileTest, MissingFileIsLineZero) {
  test::TempDir dir;
  const std::string path = dir.File("absent.tav");
  try {
    ReadInputFile(path);
    ADD_FAILURE() << "read a file that does not exist";
  } catch (const InputError& error) {
    EXPECT_EQ(error.Line(), 0);
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
    EXPECT_EQ(std::string(error.what()).rfind("line", 0), std::string::npos);
  }
}

TEST(InputReaderFileTest, ErrorsInAFileNameTheirLine) {
  test::TempDir dir;
  const std::string path = dir.File("bad.tav");
  std::ofstream(path, std::ios::binary) << Replaced(7, "  2  X=1.2.3 Y=0. Z=0.");
  try {
    ReadInputFile(path);
    ADD_FAILURE() << "read a malformed file";
  } catch (const InputError& error) {
    EXPECT_EQ(error.Line(), 7);
    EXPECT_STREQ(error.what(), "line 7: malformed number \"1.2.3\" for X=");
  }
}

}  // namespace
}  // namespace tav::analysis
