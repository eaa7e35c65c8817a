#include "analysis/InputReader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

using test::SaveToString;

InputDeck ReadText(const std::string& text) {
  std::istringstream in(text);
  return ReadInput(in);
}

InputDeck ReadModel(CTavData& doc) { return ReadText(SaveToString(doc, TaV_FORMAT_TAV)); }

std::string GoldenPath(const std::string& name) { return std::string(TAV_GOLDEN_DIR) + "/" + name; }

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// Reals come back through "%g" within half a unit of their sixth significant
// digit, or in full precision exactly (relative 0).
constexpr double kSixDigits = 5e-6;
void ExpectReadAs(const std::vector<double>& expected, const std::vector<double>& actual, const std::string& what,
                  double relative = kSixDigits) {
  ASSERT_EQ(expected.size(), actual.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_LE(std::fabs(expected[i] - actual[i]), relative * std::fabs(expected[i]))
        << what << ", value " << i << ": " << actual[i] << " differs from " << expected[i];
  }
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

// A read object as a test writes it down: without where it was read and
// how finely its texts resolve.
template <class T>
T Bare(T read) {
  read.line = 0;
  return read;
}
Joint Bare(Joint joint) {
  joint.line = 0;
  joint.resolution = {};
  return joint;
}
Beam Bare(Beam beam) {
  beam.line = 0;
  beam.angleResolution = 0.0;
  return beam;
}
BeamLoad Bare(BeamLoad load) {
  load.line = 0;
  load.angleResolution = 0.0;
  for (BeamLoadPiece& piece : load.pieces) piece.startResolution = piece.lengthResolution = 0.0;
  return load;
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
  EXPECT_EQ(Bare(deck.joints[0]), (Joint{0, 0, 0, 0, -1, {true, true, true, true, true, true}}));
  EXPECT_EQ(Bare(deck.joints[1]), (Joint{1, 0, 0, 3, -1, {}}));
  EXPECT_EQ(deck.joints[1].line, 12);

  ASSERT_EQ(deck.beamGroups.size(), 1U);
  ASSERT_EQ(deck.beamGroups[0].sections.size(), 1U);
  // The writer computes the rectangle's properties: 0.3 wide, 0.5 high.
  const Section& s = deck.beamGroups[0].sections[0];
  EXPECT_EQ(std::tuple(s.e, s.j, s.poisson), std::tuple(2.1e7, 0.0, 0.0));
  ExpectReadAs({0.5 * 0.5 * 0.5 * 0.3 / 12, 0.3 * 0.3 * 0.3 * 0.5 / 12, 0.15, 0.125, 0.125},
               {s.is, s.it, s.area, s.ashs, s.asht}, "rectangle");
  ASSERT_EQ(deck.beamGroups[0].beams.size(), 1U);
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[0]), (Beam{0, 0, 0, 0, 1, 0.0, 4, 0}));
  EXPECT_EQ(deck.beamGroups[0].beams[0].line, 19);

  ASSERT_EQ(deck.cases.size(), 1U);
  const LoadCase& loadCase = deck.cases[0];
  EXPECT_EQ(loadCase.kind, CaseKind::kStatic);
  EXPECT_EQ(loadCase.number, 0);
  EXPECT_EQ(loadCase.line, 20);
  ASSERT_EQ(loadCase.jointLoads.size(), 1U);
  EXPECT_EQ(Bare(loadCase.jointLoads[0]), (JointLoad{1, {10, 0, 0, 0, 0, 0}}));
  EXPECT_FALSE(loadCase.selfWeight.present);
}

// Compares what the reader gives with the model objects themselves, within
// `relative` of them.
void ExpectModelGeometry(CTavData& doc, const InputDeck& deck, double relative = kSixDigits) {
  ASSERT_EQ(static_cast<int>(deck.localSystems.size()), doc.GetCountLocalCoord());
  for (int32_t i = 0; i < doc.GetCountLocalCoord(); ++i) {
    const double* angles = doc.GetLocalCoord(i)->m_dAngle;
    const LocalSystem& read = deck.localSystems[i];
    EXPECT_EQ(read.number, i);
    ExpectReadAs({angles[0], angles[1], angles[2]}, {read.angles.begin(), read.angles.end()},
                 "local system " + std::to_string(i), relative);
  }

  ASSERT_EQ(static_cast<int>(deck.joints.size()), doc.GetCountJoint());
  EXPECT_EQ(deck.declaredJoints, doc.GetCountJoint());
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const CTavJoint& joint = *doc.GetJoint(i);
    const Joint& read = deck.joints[i];
    std::array<bool, 6> restrained{};
    for (int d = 0; d < 6; ++d) restrained[d] = ((joint.m_Restraint.byFlags >> d) & 1U) != 0;
    EXPECT_EQ(std::tuple(read.number, read.localSystem, read.restrained),
              std::tuple(i, joint.m_nLocalCoord, restrained));
    ExpectReadAs({joint.m_vPos.x, joint.m_vPos.y, joint.m_vPos.z}, {read.x, read.y, read.z},
                 "joint " + std::to_string(i), relative);
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
        const Section& r = read.sections[s];
        EXPECT_EQ(r.number, s);
        ExpectReadAs({section.m_dE, section.m_dJ, section.m_dPoisson, section.m_dIS, section.m_dIT, section.m_dArea,
                      section.m_dASHS, section.m_dASHT},
                     {r.e, r.j, r.poisson, r.is, r.it, r.area, r.ashs, r.asht}, "section " + std::to_string(s),
                     relative);
      }
      ASSERT_EQ(static_cast<int>(read.beams.size()), group.GetCountBeam());
      size_t b = 0;
      for (int32_t number : group.m_arrBeam) {
        const CTavBeam& beam = *doc.GetBeam(number);
        const Beam& r = read.beams[b++];
        EXPECT_EQ(
            (std::vector<int>{r.number, r.group, r.section, r.jointI, r.jointJ, r.segments, r.ownSegments, r.releaseI,
                              r.releaseJ}),
            (std::vector<int>{number, static_cast<int>(beamGroup), beam.m_nSection, beam.m_nJointI, beam.m_nJointJ,
                              segments, static_cast<int>(beam.m_dNReg), beam.m_bReleaseI != 0, beam.m_bReleaseJ != 0}));
        ExpectReadAs({beam.m_dAngle, beam.m_dOffsetI, beam.m_dOffsetJ, beam.m_dRigid},
                     {r.angle, r.offsetI, r.offsetJ, r.rigid}, "beam " + std::to_string(number), relative);
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
        const bool multi = constant.m_bMultiDof != 0;
        const double* k = constant.m_dStiffness;
        ExpectReadAs({k[0], multi ? k[1] : 0.0, multi ? k[2] : 0.0},
                     {read.constants[c].stiffness.begin(), read.constants[c].stiffness.end()}, "spring constant",
                     relative);
      }
      ASSERT_EQ(static_cast<int>(read.springs.size()), group.GetCountSpring());
      for (int32_t s = 0; s < group.GetCountSpring(); ++s) {
        const TaV_SPRING& spring = *group.GetSpring(s);
        const Spring& r = read.springs[s];
        EXPECT_EQ(
            std::tuple(r.number, r.constant, r.joint, r.multi),
            std::tuple(s, spring.nConstant, spring.nJoint, group.GetSpingConstant(spring.nConstant)->m_bMultiDof != 0));
      }
    } else {
      const auto& group = static_cast<const CTavGroupNllink&>(*base);
      ASSERT_LT(linkGroup, deck.linkGroups.size());
      const LinkGroup& read = deck.linkGroups[linkGroup++];
      EXPECT_EQ(read.number, g);
      ASSERT_EQ(static_cast<int>(read.properties.size()), group.GetCountNllinkConstant());
      for (int32_t p = 0; p < group.GetCountNllinkConstant(); ++p) {
        EXPECT_EQ(read.properties[p].number, p);
        ExpectReadAs({group.GetNllinkConstant(p)->m_dK0}, {read.properties[p].k0}, "link property", relative);
      }
      ASSERT_EQ(static_cast<int>(read.links.size()), group.GetCountNllink());
      size_t l = 0;
      for (int32_t number : group.m_arrNllink) {
        const CTavNLLink& link = *doc.GetNLLink(number);
        const Link& r = read.links[l++];
        EXPECT_EQ(std::tuple(r.number, r.jointI, r.jointJ, r.property),
                  std::tuple(number, link.m_nJointI, link.m_nJointJ, link.m_nProperty));
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
  EXPECT_EQ(Bare(deck.joints[0]), (Joint{0, 0, 0, 0, 0, {true, false, false, false, false, true}}));
  EXPECT_EQ(Bare(deck.joints[4]), (Joint{4, 0, 0, 4.5, 1, {true, true, true, true, true, true}}));
  ASSERT_EQ(deck.beamGroups.size(), 2U);
  EXPECT_EQ(deck.beamGroups[1].number, 3);
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[1]), (Beam{1, 0, 1, 1, 2, 12.7, 4, 0, true, true}));
  EXPECT_EQ(Bare(deck.beamGroups[1].beams[1]), (Beam{3, 1, 1, 4, 0, -45.0, 4, 0}));
  ExpectReadAs({0.5 * 0.5 * 0.5 * 0.5 / 12}, {deck.beamGroups[1].sections[1].is}, "square");
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

  // The spectrum case always has an excitation record.
  const std::tuple<CaseKind, int, bool> cases[] = {{CaseKind::kStatic, 0, true},   {CaseKind::kStatic, 1, false},
                                                   {CaseKind::kStatic, 2, true},   {CaseKind::kHistory, 0, false},
                                                   {CaseKind::kSpectrum, 0, true}, {CaseKind::kMoving, 0, false}};
  ASSERT_EQ(deck.cases.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const LoadCase& c = deck.cases[i];
    EXPECT_EQ(std::tuple(c.kind, c.number, c.selfWeight.present), cases[i]) << i;
  }
  EXPECT_EQ(deck.cases[4].selfWeight.acceleration, 0.0);  // all zero there

  const LoadCase& dead = deck.cases[0];
  ASSERT_EQ(dead.jointLoads.size(), 1U);
  EXPECT_EQ(Bare(dead.jointLoads[0]), (JointLoad{3, {0, 0, -10, 0, 0, 2.5}}));
  // -5 to -6 from 1 to 3 (absolute) along Z: written negated, with start and length.
  ASSERT_EQ(dead.beamLoads.size(), 1U);
  EXPECT_EQ(Bare(dead.beamLoads[0]), (BeamLoad{0, 3, {{2, true, 5.0, 6.0, 1.0, 2.0}}, 1, 2, 12.7}));
  ASSERT_EQ(dead.displacements.size(), 1U);
  EXPECT_EQ(Bare(dead.displacements[0]), (JointLoad{0, {0, 0, -0.01, 0, 0, 0}}));
  EXPECT_EQ(Bare(dead.selfWeight), (SelfWeight{true, 2, 1.0, 9.81, 0}));

  const LoadCase& live = deck.cases[1];
  EXPECT_TRUE(live.jointLoads.empty());
  ASSERT_EQ(live.beamLoads.size(), 3U);
  // Forces 20 along X and -15 along Z at half of a beam 2 long.
  EXPECT_EQ(Bare(live.beamLoads[0]),
            (BeamLoad{0, 1, {{0, false, -20.0, 0.0, 1.0, 0.0}, {2, false, 15.0, 0.0, 1.0, 0.0}}, 0, 1, 0.0}));
  // 2 to 4 along X over the middle half of a beam 4.5 long.
  EXPECT_EQ(Bare(live.beamLoads[1]), (BeamLoad{1, 3, {{0, true, -2.0, -4.0, 1.125, 2.25}}, 2, 3, 90.0}));
  // A moment load has no pieces in this input.
  EXPECT_EQ(live.beamLoads[2].type, 2);
  EXPECT_TRUE(live.beamLoads[2].pieces.empty());
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
  const TaV_TYPED_LOAD y{1, 0, {7.5}, {0.25}};
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

  // Releases at either end, offsets, a rigid factor and own segments.
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[2]), (Beam{4, 0, 0, 3, 4, 30.0, 6, 6, true, false, 0.25, 0.5, 0.75}));
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[3]), (Beam{5, 0, 1, 4, 2, 0.0, 6, 0, false, true, 0.0, 0.0, 0.125}));

  ASSERT_EQ(deck.cases.size(), 7U);
  const LoadCase& history = deck.cases[3];
  EXPECT_EQ(history.kind, CaseKind::kHistory);
  ASSERT_EQ(history.jointLoads.size(), 1U);
  EXPECT_EQ(Bare(history.jointLoads[0]), (JointLoad{1, {1, 2, 3, 4, 5, 6}}));
  ASSERT_EQ(history.beamLoads.size(), 1U);
  // 7.5 along Y at a quarter of 2.
  EXPECT_EQ(Bare(history.beamLoads[0]), (BeamLoad{0, 1, {{1, false, -7.5, 0.0, 0.5, 0.0}}, 0, 1, 0.0}));
  ASSERT_EQ(history.displacements.size(), 1U);
  EXPECT_EQ(Bare(history.displacements[0]), (JointLoad{4, {0, 0, 0, 0.001, 0, 0}}));
  EXPECT_EQ(Bare(history.selfWeight), (SelfWeight{true, 1, 2.0, 9.81, 0}));

  EXPECT_EQ(deck.cases[4].kind, CaseKind::kSpectrum);
  EXPECT_EQ(Bare(deck.cases[4].selfWeight), (SelfWeight{true, 2, 0.5, 9.81, 0}));
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
  EXPECT_TRUE(ReadInputFile(path) == ReadModel(doc));
}

// ---- The golden files ----------------------------------------------------------

TEST(InputReaderGoldenTest, EigenHeaders) {
  const InputDeck determinant = ReadInputFile(GoldenPath("own_eigen_determinant.tav"));
  EXPECT_EQ(determinant.options.eigenMethod, 1);
  EXPECT_EQ(determinant.options.modes, 4);
  EXPECT_EQ(determinant.options.activeDof, (std::array<bool, 6>{true, false, true, false, true, false}));
  EXPECT_EQ(determinant.joints.size(), 2U);
  const InputDeck other = ReadInputFile(GoldenPath("own_eigen_other.tav"));
  EXPECT_EQ(other.options.eigenMethod, 2);
  EXPECT_EQ(other.options.modes, 10);
  EXPECT_TRUE(other.joints.empty());
}

TEST(InputReaderGoldenTest, LineFeedsAloneAndNoLastLineEndReadTheSame) {
  for (const char* name : {"own_header_full.tav", "own_groups_mixed.tav", "own_loads.tav"}) {
    const std::string crlf = test::ReadFileBytes(GoldenPath(name));
    std::string lf;
    for (char c : crlf) {
      if (c != '\r') lf += c;
    }
    ASSERT_NE(lf.size(), crlf.size()) << name;
    const InputDeck whole = ReadText(crlf);
    EXPECT_TRUE(ReadText(lf) == whole) << name;
    EXPECT_TRUE(ReadText(crlf.substr(0, crlf.size() - 2)) == whole) << name;
  }
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

// The small input with a one-element group of springs or links before STOP,
// its element at line 14.
std::string WithSpring(const std::string& spring) {
  return Inserted(12, {"SUPPORT SPRING GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1",
                       "   SPRING CONSTANTS 1 STIFFNESS=1000.", spring});
}
std::string WithLink(const std::string& link) {
  return Inserted(
      12, {"NLLINK ELEMENT GROUP 2 NUMBER OF ELEMENTS=1 NUMBER OF CONSTANTS=1", "   MAT/SEC PROPERTIE 1 K0=10.", link});
}

// A deck of no joints whose function block holds `lines` from line 5 on.
std::string WithFunctions(std::vector<std::string> lines) {
  lines.insert(lines.begin(), {"TAV F", "SYSTEM", "   NUMBER OF NODES=0", "FUNTION"});
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
  // Blank lines after STOP are fine.
  EXPECT_EQ(ReadText(JoinLines(SmallInput()) + "\r\n  \r\n\r\n").joints.size(), 2U);
}

// Six-digit and full-precision texts alike, each with the value it reads as
// and its resolution: half a unit in its sixth significant digit when it has
// no more (it may be "%g" rounding), else in its last digit; zero is exact.
TEST(InputReaderTextTest, RealsAsTheWritersPrintThem) {
  const std::tuple<const char*, double, double> forms[] = {
      {"2.", 2.0, 5e-6},
      {"-12.5", -12.5, 5e-5},
      {"1e+010.", 1e10, 5e4},
      {"2.1e+007", 2.1e7, 50.0},
      {"0", 0.0, 0.0},
      {"1.5e-005", 1.5e-5, 5e-11},
      {"+3", 3.0, 5e-6},
      {"-0.", 0.0, 0.0},
      {".5", 0.5, 5e-7},
      {"7e2", 700.0, 5e-4},
      {"2.23607", 2.23607, 5e-6},
      {"0.000123456", 0.000123456, 5e-10},
      {"123456.25", 123456.25, 5e-3},
      {"2.23606797749979", 2.23606797749979, 5e-15},
      {"1234567.", 1234567.0, 0.5},
      {"1.2345678901234567e+020.", 1.2345678901234567e20, 5e3},
      {"0.30000000000000004", 0.30000000000000004, 5e-18},
  };
  for (const auto& [text, value, resolution] : forms) {
    const InputDeck deck = ReadText(Replaced(7, std::string("  2  X=") + text + " Y=0. Z=0."));
    EXPECT_EQ(deck.joints[1].x, value) << text;
    EXPECT_DOUBLE_EQ(deck.joints[1].resolution[0], resolution) << text;
  }
  for (const char* text : {"1.2.3", "1..", "abc", "", "1,5", "0x10", "nan", "inf", "1e", "--1", "1.5x", "1e+010.."}) {
    EXPECT_TRUE(FailsAt(Replaced(7, std::string("  2  X=") + text + " Y=0. Z=0."), 7, "malformed number")) << text;
  }
}

// Each input that is wrong, the line the reader names and what it says.
TEST(InputReaderTextTest, MistakesNameTheirLine) {
  std::vector<std::string> noStop = SmallInput();
  noStop.pop_back();
  std::vector<std::string> blankForStop = noStop;
  blankForStop.push_back("");
  const std::tuple<std::string, int, const char*> mistakes[] = {
      // Malformed numbers; whole numbers take no point.
      {Replaced(7, "  2  X=1.2.3 Y=0. Z=0."), 7, "\"1.2.3\""},
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4. "), 11, "malformed number \"4.\""},
      {Replaced(4, "   NUMBER OF NODES=two"), 4, "malformed number"},
      // Unknown statements, keywords and words.
      {Inserted(12, {"FOO"}), 12, "unknown statement \"FOO\""},
      {Inserted(3, {"   FOO BAR=1"}), 3, "unknown statement \"FOO BAR=1\""},
      {Replaced(7, "  2  X=4. Y=0. Z=0. Q=5."), 7, "unknown keyword \"Q\""},
      {Replaced(3, "   MASTER DOF=UX UW"), 3, "unknown degree of freedom \"UW\""},
      {Replaced(10, "   MAT/SEC PROPERTIES 1 E=2e+008. AREA=0.01 ZZ=1."), 10, "unknown keyword \"ZZ\""},
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 END RELEASE=MTK"), 11, "\"MTK\""},
      {Replaced(9, "BEAM ELEMENT GROUP 1 NUMBER OF ELEMENT=1"), 9, "ELEMENTS="},
      {Replaced(8, "INITIAL CONDITIONS MAYBE"), 8, "EXIST"},
      // Missing keys.
      {Replaced(7, "  2  X=4. Z=0."), 7, "missing Y="},
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0."), 11, "missing NREG="},
      {Replaced(11, "    1 MATERIAL=1 NOAN=1"), 11, "ends before joint J"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 JOINT LOAD=1", "     JOINT LOADS", "     2 PX=1."}), 14,
       "missing FUNCTION="},
      // References to nothing.
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 99 0. NREG=4 "), 11, "joint 99 does not exist"},
      {Replaced(11, "    1 MATERIAL=1 NOAN=0 2 0. NREG=4 "), 11, "joint 0"},
      {Replaced(11, "    1 MATERIAL=2 NOAN=1 2 0. NREG=4 "), 11, "section 2 does not exist"},
      {Replaced(6, "  1  X=0. Y=0. Z=0. LOCAL COORDINATE=1"), 6, "local coordinate system 1"},
      {Inserted(8, {"JOINT RESTRAINTS", "  3  UX"}), 9, "joint 3"},
      {Inserted(8, {"JOINT CONSTRAINT", "  DIAPH1 MASS 1 ADD=2 3"}), 9, "joint 3"},
      {Inserted(8, {"JOINT CONSTRAINT", "  DIAPH1 MASS 4 ADD=2"}), 9, "joint 4"},
      {Inserted(8, {"JOINT CONSTRAINT", "  RIGIDLINK1 TYPE=LINEAR MASTER JOINT 1 SLAVE JOINT=5"}), 9, "joint 5"},
      {Inserted(8, {"JOINT MASS", "  1  XMX=1.", "  7  XMX=1."}), 10, "joint 7"},
      {Inserted(8, {"JOINT DAMPER", "  9 "}), 9, "joint 9"},
      {WithSpring("    1 SPRING CONSTANT=2 NODE=1 TYPE=SINGLE D.O.F"), 14, "spring constant 2"},
      {WithSpring("    1 SPRING CONSTANT=1 NODE=3 TYPE=SINGLE D.O.F"), 14, "joint 3"},
      {WithLink("    1 NODE 1  2 MATERIAL=3"), 14, "link property 3"},
      {WithLink("    1 NODE 1  12 MATERIAL=1"), 14, "joint 12"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 JOINT LOAD=1", "     JOINT LOADS", "     3 PX=1. FUNCTION=1"}), 14,
       "joint 3"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 BEAM LOAD=1", "     BEAM LOADS",
                     "     1 TYPE=3 WZ=1. 1. 0. 4.  NOAN=1 3 0. FUNCTION=1"}),
       14, "joint 3"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 PRESCRIBED DISPLACEMENT LOAD=1", "     PRESCRIBED DISPPACEMENT LOADS",
                     "     4 DX=1. FUNCTION=1"}),
       14, "joint 4"},
      // Joints in order and as many as declared.
      {Replaced(7, "  3  X=4. Y=0. Z=0."), 7, "joint 3 is out of order: joint 2 comes next"},
      {Replaced(6, "  2  X=0. Y=0. Z=0."), 6, "joint 2 is out of order: joint 1 comes next"},
      {Replaced(4, "   NUMBER OF NODES=3"), 4, "NUMBER OF NODES=3 but 2 joints are given"},
      {Replaced(4, "   NUMBER OF NODES=1"), 4, "but 2 joints"},
      {Replaced(4, "   CHECK LOAD-VECTOR"), 12, "NUMBER OF NODES"},
      // The input begins with TAV and ends with STOP.
      {JoinLines(noStop), 11, "the input ends without STOP"},
      {JoinLines(blankForStop), 12, "the input ends without STOP"},
      {Inserted(13, {"JOINT MASS"}), 13, "nothing may follow STOP"},
      {"", 1, "TAV"},
      {JoinLines({"SYSTEM", "STOP"}), 1, "does not begin with TAV"},
      // Statements out of place: a beam line before any beam group; blocks
      // in the wrong order or twice; properties after the elements of their
      // group; a section line in a link group; load lines before their
      // heading or out of order; lanes outside moving load conditions.
      {Inserted(9, {"    1 MATERIAL=1 NOAN=1 2 0. NREG=4 "}), 9, "is out of place"},
      {Inserted(12, {"JOINT INFORMATIONS"}), 12, "JOINT INFORMATIONS is out of place"},
      {Inserted(5, {"SYSTEM"}), 5, "SYSTEM is out of place"},
      {Inserted(2, {"TAV AGAIN"}), 2, "out of place"},
      {Inserted(12, {"   MAT/SEC PROPERTIES 2 E=1."}), 12, "properties must come before"},
      {Inserted(
           12, {"NLLINK ELEMENT GROUP 2 NUMBER OF ELEMENTS=0 NUMBER OF CONSTANTS=1", "   MAT/SEC PROPERTIES 1 K0=10."}),
       13, "PROPERTIE"},
      {Inserted(12, {"STATIC LOAD CONDITION 1", "     1 PX=1. FUNCTION=1"}), 13, "out of place"},
      {Inserted(12, {"STATIC LOAD CONDITION 1", "     BEAM LOADS", "     JOINT LOADS"}), 14, "out of place"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     FZ=1. ACCELERATION=9.81 FUNCTION=1",
                     "     FZ=1. ACCELERATION=9.81 FUNCTION=1"}),
       14, "out of place"},
      {Inserted(12, {"STATIC LOAD CONDITION 1", "     ELE=1 ECC=0. ELE=1 ECC=0."}), 13, "unknown statement"},
      // Own segments are whole and not negative; a self weight direction is known.
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 NREG=2.5"), 11, "NREG=2.5"},
      {Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 NREG=-1"), 11, "NREG=-1"},
      {Inserted(12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     FW=1. ACCELERATION=9.81 FUNCTION=2"}), 13,
       "unknown keyword \"FW\""},
      // A function's points come on the line after it, as many as it says.
      {WithFunctions({"   1 TYPE=CONSTANT POINTS=2", "   2 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1.", "STOP"}), 6,
       "malformed number"},
      {WithFunctions({"   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1.", "STOP"}), 6,
       "function 1 has POINTS=2 but its points line holds 3 numbers"},
      {WithFunctions({"   1 TYPE=LINEAR POINTS=0", "  ", "STOP"}), 5, "unknown function type \"LINEAR\""},
      {WithFunctions({"   1 TYPE=CONSTANT POINTS=0"}), 5, "before the points of function 1"},
  };
  for (const auto& [text, line, fragment] : mistakes) EXPECT_TRUE(FailsAt(text, line, fragment)) << fragment;
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
  EXPECT_EQ(Bare(deck.joints[1]), (Joint{1, 4.0, 1.0, 2.0, -1, {}}));
  EXPECT_EQ(deck.joints[1].line, 7);
  EXPECT_EQ(deck.beamGroups[0].beams[0].line, 13);

  // A token too long for the room left: the mark follows it beyond column 80.
  lines = SmallInput();
  lines[6] = "  2  X=4." + std::string(75, '0') + " *";
  lines.insert(lines.begin() + 7, "    Y=1. Z=2.");
  EXPECT_EQ(Bare(ReadText(JoinLines(lines)).joints[1]), (Joint{1, 4.0, 1.0, 2.0, -1, {}}));

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
  EXPECT_EQ(
      ReadText(WithFunctions({"   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1.", "   2 TYPE=SINUSOIDAL POINTS=0 2.5",
                              "  ", "   3 TYPE=CONSTANT POINTS=1 0.5 -1.", " 0. 0.5", "STOP"}))
          .functionCount,
      3);
}

TEST(InputReaderTextTest, ResolutionsOfRollAnglesAndLoadExtents) {
  const InputDeck deck = ReadText(Inserted(12, {"STATIC LOAD CONDITION 1 BEAM LOAD=2", "     BEAM LOADS",
                                                "     1 TYPE=3 WZ=1. 1. 0.5 2.23606797749979  NOAN=1 2 12.5 FUNCTION=1",
                                                "     2 TYPE=1 PX=1. 3.16228 0. 1.  NOAN=1 2 0. FUNCTION=1"}));
  EXPECT_DOUBLE_EQ(deck.beamGroups[0].beams[0].angleResolution, 0.0);
  const BeamLoad& distributed = deck.cases[0].beamLoads[0];
  EXPECT_DOUBLE_EQ(distributed.angleResolution, 5e-5);
  EXPECT_DOUBLE_EQ(distributed.pieces[0].startResolution, 5e-7);
  EXPECT_DOUBLE_EQ(distributed.pieces[0].lengthResolution, 5e-15);
  EXPECT_DOUBLE_EQ(deck.cases[0].beamLoads[1].pieces[0].startResolution, 5e-6);
}

TEST(InputReaderTextTest, BeamOwnSegments) {
  const InputDeck deck = ReadText(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 RIGID=0.5 NREG=8"));
  EXPECT_EQ(deck.beamGroups[0].beams[0].ownSegments, 8);
  EXPECT_EQ(deck.beamGroups[0].beams[0].segments, 4);
}

TEST(InputReaderTextTest, SelfWeightWithoutDirection) {
  const InputDeck deck = ReadText(Inserted(
      12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     =1. ACCELERATION=9.81 FUNCTION=2",
           "RESPONSE SPECTRUM LOAD CONDITION 1 NUMBER OF MODES=2 MODE COMBINATION=", "     MODAL DAMPING=0.05 ",
           "     FUNCTION=1 =0.5 ACC=3."}));
  ASSERT_EQ(deck.cases.size(), 2U);
  EXPECT_EQ(Bare(deck.cases[0].selfWeight), (SelfWeight{true, -1, 1.0, 9.81, 1}));
  EXPECT_EQ(deck.cases[0].selfWeight.line, 13);
  EXPECT_EQ(deck.cases[1].selfWeight.direction, -1);
  EXPECT_EQ(deck.cases[1].selfWeight.factor, 0.5);
  EXPECT_EQ(deck.cases[1].selfWeight.acceleration, 3.0);
}

TEST(InputReaderFileTest, AMissingFileIsLineZeroAndErrorsInAFileNameTheirLine) {
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

  std::ofstream(path, std::ios::binary) << Replaced(7, "  2  X=1.2.3 Y=0. Z=0.");
  try {
    ReadInputFile(path);
    ADD_FAILURE() << "read a malformed file";
  } catch (const InputError& error) {
    EXPECT_EQ(error.Line(), 7);
    EXPECT_STREQ(error.what(), "line 7: malformed number \"1.2.3\" for X=");
  }
}

// ---- Full precision ---------------------------------------------------------------

// Numbers that six digits cannot hold.
class Awkward {
 public:
  double operator()(double scale = 1.0) { return scale * m_values(m_random); }

 private:
  std::mt19937_64 m_random{20261206};
  std::uniform_real_distribution<double> m_values{0.1, 1.0};
};

void BuildAwkwardModel(CTavData& doc) {
  Awkward next;
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

// In full precision every real of the model reaches the program unchanged.
TEST(InputReaderPrecisionTest, FullPrecisionCarriesEveryRealUnchanged) {
  CTavData doc;
  BuildAwkwardModel(doc);
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  const InputDeck deck = ReadModel(doc);
  ExpectModelGeometry(doc, deck, 0.0);

  const CTavLoadStatic& loads = *doc.GetStaticLoad(0);
  const LoadCase& read = deck.cases[0];
  for (int d = 0; d < 6; ++d) EXPECT_EQ(read.jointLoads[0].values[d], loads.GetLoadJoint(0)->m_dValue[d]);
  for (int d = 0; d < 6; ++d) EXPECT_EQ(read.displacements[0].values[d], loads.GetLoadDisplacement(0)->m_dValue[d]);
  // Beam loads: the numbers as the writer derives them from the model.
  for (int k = 0; k < 3; ++k) {
    const CTavLoadBeam& load = *loads.GetLoadBeam(k);
    const BeamLoadPiece& piece = read.beamLoads[k].pieces.at(0);
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
TEST(InputReaderPrecisionTest, SixDigitsRoundEveryAwkwardReal) {
  CTavData doc;
  BuildAwkwardModel(doc);
  const InputDeck deck = ReadModel(doc);
  ExpectModelGeometry(doc, deck);
  for (int j = 0; j < 4; ++j) EXPECT_NE(deck.joints[j].x, doc.GetJoint(j)->m_vPos.x);
}

}  // namespace
}  // namespace tav::analysis
