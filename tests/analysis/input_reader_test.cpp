#include "analysis/InputReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/Frames.h"
#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

using test::GoldenPath;
using test::SaveToString;
using test::SixDigits;

InputDeck ReadText(const std::string& text) {
  std::istringstream in(text);
  return ReadInput(in);
}

InputDeck ReadModel(CTavData& doc) { return ReadText(SaveToString(doc, TaV_FORMAT_TAV)); }

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// A real as the full-precision text holds it: exactly.
double Exact(double value) { return value; }

// The line and message of the error `read` throws; line -1 when it throws none.
std::pair<int, std::string> ErrorOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const InputError& error) {
    return {error.Line(), error.what()};
  }
  return {-1, "read without an error"};
}

// Passes when reading `text` fails at `line` with a message that contains
// `fragment` and starts with that line.
::testing::AssertionResult FailsAt(const std::string& text, int line, const std::string& fragment) {
  const auto [at, message] = ErrorOf([&] { ReadText(text); });
  if (at == line && message.rfind("line " + std::to_string(line) + ": ", 0) == 0 &&
      message.find(fragment) != std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "failed with \"" << message << "\" (line " << at << "), expected line "
                                       << line << " and \"" << fragment << "\"";
}

// What was read as a test writes it down: without where it was read and
// how finely its texts resolve, down to the elements and loads it holds.
template <class T>
std::vector<T> Bare(std::vector<T> reads);
template <class T>
T Bare(T read) {
  if constexpr (requires { read.line; }) read.line = 0;
  if constexpr (requires { read.resolution; }) read.resolution = {};
  if constexpr (requires { read.angleResolution; }) read.angleResolution = 0.0;
  if constexpr (requires { read.startResolution; }) read.startResolution = read.lengthResolution = 0.0;
  if constexpr (requires { read.pieces; }) read.pieces = Bare(read.pieces);
  if constexpr (requires { read.beams; }) read.beams = Bare(read.beams);
  if constexpr (requires { read.springs; }) read.springs = Bare(read.springs);
  if constexpr (requires { read.links; }) read.links = Bare(read.links);
  if constexpr (requires { read.jointLoads; }) {
    read.jointLoads = Bare(read.jointLoads);
    read.beamLoads = Bare(read.beamLoads);
    read.displacements = Bare(read.displacements);
    read.selfWeight = Bare(read.selfWeight);
    read.lane = Bare(read.lane);
  }
  return read;
}
template <class T>
std::vector<T> Bare(std::vector<T> reads) {
  for (T& read : reads) read = Bare(read);
  return reads;
}

// A load case as a test writes it down.
LoadCase Case(CaseKind kind, int number, std::vector<JointLoad> joints = {}, std::vector<BeamLoad> beams = {},
              std::vector<JointLoad> displacements = {}, SelfWeight weight = {}) {
  LoadCase read;
  read.kind = kind;
  read.number = number;
  read.jointLoads = std::move(joints);
  read.beamLoads = std::move(beams);
  read.displacements = std::move(displacements);
  read.selfWeight = weight;
  return read;
}

// ---- Models written by the library come back whole -------------------------

TEST(InputReaderModelTest, SmallFrame) {
  CTavData doc;
  test::BuildSmallFrame(doc, "LOAD");
  const InputDeck deck = ReadModel(doc);

  EXPECT_EQ(std::tuple(deck.title, deck.declaredJoints, deck.functions.size()), std::tuple("FRAME", 2, 1U));
  EXPECT_EQ(deck.options, Options{});
  ASSERT_EQ(Bare(deck.joints),
            (std::vector<Joint>{{0, 0, 0, 0, -1, {true, true, true, true, true, true}}, {1, 0, 0, 3, -1, {}}}));
  // The writer computes the rectangle's properties: 0.3 wide, 0.5 high.
  const double is = SixDigits(0.5 * 0.5 * 0.5 * 0.3 / 12), it = SixDigits(0.3 * 0.3 * 0.3 * 0.5 / 12);
  ASSERT_EQ(
      Bare(deck.beamGroups),
      (std::vector<BeamGroup>{{0, {{0, 2.1e7, 0.0, 0.0, is, it, 0.15, 0.125, 0.125}}, {{0, 0, 0, 0, 1, 0.0, 4, 0}}}}));
  ASSERT_EQ(Bare(deck.cases), std::vector<LoadCase>{Case(CaseKind::kStatic, 0, {{1, {10, 0, 0, 0, 0, 0}}})});
  EXPECT_EQ(std::tuple(deck.joints[1].line, deck.beamGroups[0].beams[0].line, deck.cases[0].line),
            std::tuple(12, 19, 20));
}

// The joints, local systems and element groups of `doc` as the reader must
// give them, each real as `written` reads it back.
InputDeck DeckOf(CTavData& doc, double (*written)(double)) {
  InputDeck deck;
  for (int32_t i = 0; i < doc.GetCountLocalCoord(); ++i) {
    const double* angles = doc.GetLocalCoord(i)->m_dAngle;
    deck.localSystems.push_back({i, {written(angles[0]), written(angles[1]), written(angles[2])}});
  }
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const CTavJoint& joint = *doc.GetJoint(i);
    const CVector& at = joint.m_vPos;
    Joint& read = deck.joints.emplace_back(Joint{i, written(at.x), written(at.y), written(at.z), joint.m_nLocalCoord});
    for (int d = 0; d < 6; ++d) read.restrained[d] = ((joint.m_Restraint.byFlags >> d) & 1U) != 0;
  }
  // Groups of each kind in the model's group order.
  const int segments = doc.GetGlobalOption()->GetCountForceSegment();
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    CTavGroup* base = doc.GetGroup(g);
    if (base->GetType() == CTavGroup::kBeam) {
      const auto& group = static_cast<const CTavGroupElement&>(*base);
      BeamGroup& read = deck.beamGroups.emplace_back(BeamGroup{g, {}, {}});
      for (int32_t s = 0; s < group.GetCountSection(); ++s) {
        const CTavSection& x = *group.GetSection(s);
        read.sections.push_back({s, written(x.m_dE), written(x.m_dJ), written(x.m_dPoisson), written(x.m_dIS),
                                 written(x.m_dIT), written(x.m_dArea), written(x.m_dASHS), written(x.m_dASHT)});
      }
      for (int32_t number : group.m_arrBeam) {
        const CTavBeam& b = *doc.GetBeam(number);
        read.beams.push_back({number, static_cast<int>(deck.beamGroups.size()) - 1, b.m_nSection, b.m_nJointI,
                              b.m_nJointJ, written(b.m_dAngle), segments, static_cast<int>(b.m_dNReg),
                              b.m_bReleaseI != 0, b.m_bReleaseJ != 0, written(b.m_dOffsetI), written(b.m_dOffsetJ),
                              written(b.m_dRigid)});
      }
    } else if (base->GetType() == CTavGroup::kSpring) {
      const auto& group = static_cast<const CTavGroupSpring&>(*base);
      SpringGroup& read = deck.springGroups.emplace_back(SpringGroup{g, {}, {}});
      for (int32_t c = 0; c < group.GetCountSpingConstant(); ++c) {
        // A single constant is written with its first value only.
        const bool multi = group.GetSpingConstant(c)->m_bMultiDof != 0;
        const double* k = group.GetSpingConstant(c)->m_dStiffness;
        read.constants.push_back({c, multi, {written(k[0]), multi ? written(k[1]) : 0.0, multi ? written(k[2]) : 0.0}});
      }
      for (int32_t s = 0; s < group.GetCountSpring(); ++s) {
        const TaV_SPRING& spring = *group.GetSpring(s);
        read.springs.push_back({s, spring.nConstant, spring.nJoint, read.constants.at(spring.nConstant).multi});
      }
    } else {
      const auto& group = static_cast<const CTavGroupNllink&>(*base);
      LinkGroup& read = deck.linkGroups.emplace_back(LinkGroup{g, {}, {}});
      for (int32_t p = 0; p < group.GetCountNllinkConstant(); ++p) {
        read.properties.push_back({p, written(group.GetNllinkConstant(p)->m_dK0)});
      }
      for (int32_t number : group.m_arrNllink) {
        const CTavNLLink& link = *doc.GetNLLink(number);
        read.links.push_back({number, link.m_nJointI, link.m_nJointJ, link.m_nProperty});
      }
    }
  }
  return deck;
}

// Compares what the reader gives with the model objects themselves, each
// real as the text holds it.
void ExpectModelGeometry(CTavData& doc, const InputDeck& deck, double (*written)(double) = SixDigits) {
  const InputDeck model = DeckOf(doc, written);
  EXPECT_EQ(deck.declaredJoints, doc.GetCountJoint());
  EXPECT_EQ(deck.localSystems, model.localSystems);
  std::vector<Joint> joints = Bare(deck.joints);
  for (Joint& joint : joints) joint.mass = joint.damping = {};  // not among the model objects compared here
  EXPECT_EQ(joints, model.joints);
  EXPECT_EQ(Bare(deck.beamGroups), model.beamGroups);
  EXPECT_EQ(Bare(deck.springGroups), model.springGroups);
  EXPECT_EQ(Bare(deck.linkGroups), model.linkGroups);
}

TEST(InputReaderModelTest, ExchangeModel) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  const InputDeck deck = ReadModel(doc);

  EXPECT_EQ(deck.title, "EXCHANGE");
  EXPECT_EQ(deck.options, (Options{{true, false, true, false, true, false}}));
  ExpectModelGeometry(doc, deck);

  // A few by hand, should the model objects themselves be off.
  EXPECT_EQ(deck.localSystems[1].angles, (std::array<double, 3>{12.5, 45.0, 0.0}));
  EXPECT_EQ(Bare(deck.joints[0]), (Joint{0, 0, 0, 0, 0, {true, false, false, false, false, true}}));
  EXPECT_EQ(Bare(deck.joints[4]), (Joint{4, 0, 0, 4.5, 1, {true, true, true, true, true, true}}));
  ASSERT_EQ(deck.beamGroups.size(), 2U);
  EXPECT_EQ(deck.beamGroups[1].number, 3);
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[1]), (Beam{1, 0, 1, 1, 2, 12.7, 4, 0, true, true}));
  EXPECT_EQ(Bare(deck.beamGroups[1].beams[1]), (Beam{3, 1, 1, 4, 0, -45.0, 4, 0}));
  EXPECT_EQ(deck.beamGroups[1].sections[1].is, SixDigits(0.5 * 0.5 * 0.5 * 0.5 / 12));
  EXPECT_EQ(Bare(deck.springGroups),
            (std::vector<SpringGroup>{{1,
                                       {{0, false, {1000.0, 0, 0}}, {1, true, {5.0, 6.0, 7.0}}},
                                       {{0, 0, 2, false}, {1, 1, 3, true}, {2, 0, 3, false}}}}));
  EXPECT_EQ(Bare(deck.linkGroups),
            (std::vector<LinkGroup>{{2, {{0, 1e5}, {1, 2.5e3}}, {{0, 3, 4, 1}}}, {4, {{0, 9.0}}, {{1, 0, 4, 0}}}}));

  const SelfWeight weight{true, 2, 1.0, 9.81, 0};
  EXPECT_EQ(Bare(deck.cases),
            (std::vector<LoadCase>{
                // -5 to -6 from 1 to 3 (absolute) along Z: written negated, with start and length.
                Case(CaseKind::kStatic, 0, {{3, {0, 0, -10, 0, 0, 2.5}}},
                     {{0, 3, {{2, true, 5.0, 6.0, 1.0, 2.0}}, 1, 2, 12.7}}, {{0, {0, 0, -0.01, 0, 0, 0}}}, weight),
                // Forces 20 along X and -15 along Z at half of a beam 2 long; 2 to 4 along X over the middle
                // half of a beam 4.5 long; a moment load has no pieces in this input.
                Case(CaseKind::kStatic, 1, {},
                     {{0, 1, {{0, false, -20.0, 0.0, 1.0, 0.0}, {2, false, 15.0, 0.0, 1.0, 0.0}}, 0, 1, 0.0},
                      {1, 3, {{0, true, -2.0, -4.0, 1.125, 2.25}}, 2, 3, 90.0},
                      {2, 2, {}, 1, 2, 12.7}}),
                Case(CaseKind::kStatic, 2, {}, {}, {}, weight),
                Case(CaseKind::kHistory, 0),
                // The spectrum case always has an excitation record, FX=0. here, and combines by ABS unless told.
                {CaseKind::kSpectrum, 0, {}, {}, {}, {true, 0}, 0, 0, ModeCombination::kAbs, {}, {}, {}},
                Case(CaseKind::kMoving, 0)}));
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
  doc.AddJointMass(1, 0.5, 2, 0, 0, 0, 0);  // records of one joint add up
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
  EXPECT_EQ(deck.options, (Options{{true, false, true, false, true, false}, 1, false, 7, 14, 30, true, 0, 25.0}));
  EXPECT_EQ(std::tuple(deck.joints[1].mass, deck.joints[2].damping, deck.joints[2].mass),
            std::tuple(Six{2, 2, 0, 0, 0, 0.25}, Six{0, 0.5, 0, 0, 0, 0}, Six{}));
  // The text holds 0-based numbers.
  EXPECT_EQ(Bare(deck.diaphragms), (std::vector<Diaphragm>{{1, {3, 4}}}));
  EXPECT_EQ(Bare(deck.rigidLinks), (std::vector<RigidLink>{{true, 0, {2, 4}}}));
  // Releases at either end, offsets, a rigid factor and own segments.
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[2]), (Beam{4, 0, 0, 3, 4, 30.0, 6, 6, true, false, 0.25, 0.5, 0.75}));
  EXPECT_EQ(Bare(deck.beamGroups[0].beams[3]), (Beam{5, 0, 1, 4, 2, 0.0, 6, 0, false, true, 0.0, 0.0, 0.125}));

  ASSERT_EQ(deck.cases.size(), 7U);
  // The history case's beam load: 7.5 along Y at a quarter of 2.
  LoadCase history =
      Case(CaseKind::kHistory, 0, {{1, {1, 2, 3, 4, 5, 6}}}, {{0, 1, {{1, false, -7.5, 0.0, 0.5, 0.0}}, 0, 1, 0.0}},
           {{4, {0, 0, 0, 0.001, 0, 0}}}, {true, 1, 2.0, 9.81, 0});
  history.history = {HistoryType::kDynamic, HistorySolution::kModal, Integration::kWilson, {1.4}, 5, 300, 0.02};
  LoadCase moving = Case(CaseKind::kMoving, 0);
  moving.lane = {{0, 0.5}, {1, -0.5}};
  LoadCase spectrum = Case(CaseKind::kSpectrum, 0, {}, {}, {}, {true, 2, 0.5, 9.81, 0});
  spectrum.modes = 4;
  spectrum.combination = ModeCombination::kCqc;
  spectrum.damping = {0.05, 0.03};
  EXPECT_EQ(Bare(std::vector(deck.cases.begin() + 3, deck.cases.end())),
            (std::vector<LoadCase>{history, spectrum, moving, Case(CaseKind::kMoving, 1)}));
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
  // Options in order: DOF, method, within an interval, modes, vectors, iterations, rigid-body modes and
  // shift, cut-off, tolerance, Lanczos starting vectors and their number.
  EXPECT_EQ(determinant.options, (Options{{true, false, true, false, true, false}, 1, true, 4, 8, 30, true, -2, 12.5}));
  EXPECT_EQ(ReadInputFile(GoldenPath("own_header_full.tav")).options,
            (Options{{true, true, true, true, true, true}, 2, false, 12, 24, 16, true, 2, 0.5, 1e-6, true, 3}));
  const InputDeck other = ReadInputFile(GoldenPath("own_eigen_other.tav"));
  EXPECT_EQ(other.options, (Options{.eigenMethod = 2, .modes = 10, .subspaceVectors = 20}));
  EXPECT_EQ(std::tuple(determinant.joints.size(), other.joints.size()), std::tuple(2U, 0U));
}

TEST(InputReaderGoldenTest, LineFeedsAloneAndNoLastLineEndReadTheSame) {
  for (const char* name : {"own_header_full.tav", "own_groups_mixed.tav", "own_loads.tav"}) {
    const std::string crlf = test::ReadFileBytes(GoldenPath(name));
    std::string lf = crlf;
    std::erase(lf, '\r');
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

// The small input with its `removed` lines from `line` on replaced by `texts`.
std::string Spliced(int line, int removed, const std::vector<std::string>& texts, const std::string& end = "\r\n") {
  std::vector<std::string> lines = SmallInput();
  const auto at = lines.erase(lines.begin() + (line - 1), lines.begin() + (line - 1 + removed));
  lines.insert(at, texts.begin(), texts.end());
  return JoinLines(lines, end);
}
std::string Replaced(int line, const std::string& text) { return Spliced(line, 1, {text}); }
std::string Inserted(int line, const std::vector<std::string>& texts) { return Spliced(line, 0, texts); }

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
  EXPECT_EQ(std::tuple(deck.title, deck.joints.size(), deck.cases.size(), deck.functions.size()),
            std::tuple("SMALL", 2U, 0U, 0U));
  ASSERT_EQ(deck.beamGroups.size(), 1U);
  EXPECT_EQ(std::tuple(deck.beamGroups[0].beams[0].line, deck.beamGroups[0].sections[0].area), std::tuple(11, 0.01));
  // Blank lines after STOP are fine.
  EXPECT_TRUE(ReadText(JoinLines(SmallInput()) + "\r\n  \r\n\r\n") == deck);
}
// Six-digit and full-precision texts alike, each with the value it reads as
// and its resolution: half a unit in its sixth significant digit when it has
// no more (it may be "%g" rounding), else in its last digit; zero is exact.
TEST(InputReaderTextTest, RealsAsTheWritersPrintThem) {
  const std::tuple<const char*, double, double> forms[] = {{"2.", 2.0, 5e-6},
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
                                                           {"0.30000000000000004", 0.30000000000000004, 5e-18}};
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
  const std::tuple<std::string, int, const char*> mistakes[] = {
      // Malformed numbers; whole numbers take no point.
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
      // Objects that do not exist.
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
      {Replaced(4, "   NUMBER OF NODES=3"), 4, "NUMBER OF NODES=3 but 2 joints are given"},
      {Replaced(4, "   CHECK LOAD-VECTOR"), 12, "NUMBER OF NODES"},
      // The input begins with TAV and ends with STOP.
      {Spliced(12, 1, {}), 11, "the input ends without STOP"},
      {Replaced(12, ""), 12, "the input ends without STOP"},
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
  InputDeck deck = ReadText(Spliced(7, 1, {Marked("  2  X=4."), Marked("    Y=1."), "    Z=2."}));
  EXPECT_EQ(Bare(deck.joints[1]), (Joint{1, 4.0, 1.0, 2.0, -1, {}}));
  EXPECT_EQ(std::tuple(deck.joints[1].line, deck.beamGroups[0].beams[0].line), std::tuple(7, 13));

  // A token too long for the room left: the mark follows it beyond column 80.
  deck = ReadText(Spliced(7, 1, {"  2  X=4." + std::string(75, '0') + " *", "    Y=1. Z=2."}));
  EXPECT_EQ(Bare(deck.joints[1]), (Joint{1, 4.0, 1.0, 2.0, -1, {}}));

  // Shorter lines never continue, whatever their last character.
  EXPECT_TRUE(FailsAt(Replaced(7, "  2  X=4. Y=0. Z=0. *"), 7, "unexpected \"*\""));

  // An error on a continuation line is reported at the statement's first line.
  EXPECT_TRUE(FailsAt(
      Spliced(11, 1,
              {Marked("    1 MATERIAL=1 NOAN=1 2 0. NREG=4 END RELEASE=MTI MTJ IOFFSET=12.5"), "      JOFFSET=1.2.3"}),
      11, "malformed number \"1.2.3\" for JOFFSET="));

  // A mark on the last line of the input leaves the statement unfinished.
  for (const char* end : {"\r\n", "\n"}) {
    EXPECT_TRUE(FailsAt(Spliced(12, 1, {Marked("STOP")}, end), 12, "the input ends after a continuation mark"));
  }
}

TEST(InputReaderTextTest, FunctionPoints) {
  const InputDeck deck =
      ReadText(WithFunctions({"   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1.", "   2 TYPE=SINUSOIDAL POINTS=0 2.5",
                              "  ", "   3 TYPE=CONSTANT POINTS=1 0.5 -1.", " 0. 0.5", "STOP"}));
  std::vector<std::tuple<int, bool, std::array<double, 2>, std::vector<std::array<double, 2>>>> read;
  for (const Function& f : deck.functions) read.emplace_back(f.number, f.sinusoidal, f.parameters, f.points);
  EXPECT_EQ(read,
            (decltype(read){
                {0, false, {0, 0}, {{0, 1}, {1, 1}}}, {1, true, {2.5, 0}, {}}, {2, false, {0.5, -1}, {{0, 0.5}}}}));
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
  const Beam beam =
      ReadText(Replaced(11, "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 RIGID=0.5 NREG=8")).beamGroups.at(0).beams.at(0);
  EXPECT_EQ(std::tuple(beam.ownSegments, beam.segments), std::tuple(8, 4));
}

TEST(InputReaderTextTest, SelfWeightWithoutDirection) {
  const InputDeck deck = ReadText(Inserted(
      12, {"STATIC LOAD CONDITION 1 SELF WEIGHT", "     =1. ACCELERATION=9.81 FUNCTION=2",
           "RESPONSE SPECTRUM LOAD CONDITION 1 NUMBER OF MODES=2 MODE COMBINATION=", "     MODAL DAMPING=0.05 ",
           "     FUNCTION=1 =0.5 ACC=3."}));
  ASSERT_EQ(deck.cases.size(), 2U);
  EXPECT_EQ(deck.cases[0].selfWeight, (SelfWeight{true, -1, 1.0, 9.81, 1, 13}));
  const SelfWeight& spectrum = deck.cases[1].selfWeight;
  EXPECT_EQ(std::tuple(spectrum.direction, spectrum.factor, spectrum.acceleration), std::tuple(-1, 0.5, 3.0));
}

TEST(InputReaderFileTest, AMissingFileIsLineZeroAndErrorsInAFileNameTheirLine) {
  test::TempDir dir;
  const std::string path = dir.File("absent.tav");
  const auto [line, message] = ErrorOf([&] { ReadInputFile(path); });
  EXPECT_EQ(line, 0);
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_EQ(message.rfind("line", 0), std::string::npos) << message;

  std::ofstream(path, std::ios::binary) << Replaced(7, "  2  X=1.2.3 Y=0. Z=0.");
  EXPECT_EQ(ErrorOf([&] { ReadInputFile(path); }),
            (std::pair<int, std::string>(7, "line 7: malformed number \"1.2.3\" for X=")));
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
  ExpectModelGeometry(doc, deck, Exact);

  const CTavLoadStatic& loads = *doc.GetStaticLoad(0);
  const LoadCase& read = deck.cases[0];
  EXPECT_EQ(read.jointLoads[0].values, std::to_array(loads.GetLoadJoint(0)->m_dValue));
  EXPECT_EQ(read.displacements[0].values, std::to_array(loads.GetLoadDisplacement(0)->m_dValue));
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

// The same model in six digits reaches the program as its "%g" texts read
// back, and not exactly: the comparison above can fail.
TEST(InputReaderPrecisionTest, SixDigitsRoundEveryAwkwardReal) {
  CTavData doc;
  BuildAwkwardModel(doc);
  const InputDeck deck = ReadModel(doc);
  ExpectModelGeometry(doc, deck);
  for (int j = 0; j < 4; ++j) EXPECT_NE(deck.joints[j].x, doc.GetJoint(j)->m_vPos.x);
}

}  // namespace
}  // namespace tav::analysis
