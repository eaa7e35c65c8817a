#include "tav/results/TavImportTavOutput.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "support/Fixtures.h"
#include "support/MessageLog.h"
#include "support/TempDir.h"
#include "tav/platform/MessageBox.h"

namespace tav {
namespace {

constexpr const char* kBadFile = "현재 OUT 파일이 비정상적이거나 현재의 모델링과 일치하지 않습니다 !";

using test::MessageLog;

// Writes an output file the way the solver lays it out.
class OutputBuilder {
 public:
  OutputBuilder() : m_archive(&m_file, CArchive::store) {}

  OutputBuilder& Case(int32_t number) { return Int(number); }
  OutputBuilder& Displacement(int32_t joint, std::initializer_list<double> six) {
    Int(joint);
    for (double v : six) m_archive << v;
    m_archive.WriteString(std::string_view("ab\0de\0", 6));
    return *this;
  }
  OutputBuilder& ForceBlockStart() { return Int(0); }
  OutputBuilder& Beam(int32_t beam, const std::vector<std::array<double, 7>>& stations) {
    Int(beam);
    for (int i = 0; i < 12; ++i) m_archive << 99.0;
    Int(static_cast<int32_t>(stations.size()));
    for (const auto& station : stations) {
      for (double v : station) m_archive << v;
    }
    return *this;
  }
  OutputBuilder& Reaction(int32_t joint, std::initializer_list<double> active) {
    Int(joint);
    m_archive.WriteString(std::string_view("REACTION-A\0REACTION-B\0", 22));
    for (double v : active) m_archive << v;
    return *this;
  }
  // A case block of two joints and one beam with stations at 1 and 2, every value `v`.
  OutputBuilder& Uniform(int32_t number, double v) {
    Case(number).Displacement(1, {v, v, v, v, v, v}).Displacement(2, {v, v, v, v, v, v}).ForceBlockStart();
    Beam(1, {{1.0, v, v, v, v, v, v}, {2.0, v, v, v, v, v, v}});
    return Reaction(1, {v, v, v, v, v, v}).Reaction(2, {v, v, v, v, v, v});
  }
  OutputBuilder& Int(int32_t value) {
    m_archive << value;
    return *this;
  }
  std::vector<uint8_t> Bytes() {
    m_archive.Flush();
    return m_file.GetData();
  }

 private:
  CMemFile m_file;
  CArchive m_archive;
};

// Two joints 4 apart, one beam, one static case, 4 segments.
void BuildModel(CTavData& doc) {
  test::AddBeamBetween(doc, {0, 0, 0}, {0, 0, 4});
  doc.AddLoadStatic("DL", 0);
}

std::vector<uint8_t> SmallFile() {
  std::vector<std::array<double, 7>> stations;
  for (int s = 0; s < 5; ++s) stations.push_back({1.0 * s, 10.0 + s, 20.0 + s, 30.0 + s, 40.0 + s, 50.0 + s, 60.0 + s});
  OutputBuilder out;
  out.Case(1).Displacement(2, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6}).Displacement(1, {0, 0, 0, 0, 0, 0}).ForceBlockStart();
  out.Beam(1, stations).Reaction(1, {-1, -2, -3, -4, -5, -6}).Reaction(2, {0, 0, 0, 0, 0, 0});
  return out.Bytes();
}

// Reads `bytes` as the output file of `doc`, noting the messages shown in `log`.
class ImportTavOutputTest : public testing::Test {
 protected:
  ImportTavOutputTest() { BuildModel(doc); }
  int Read(CTavData& model, const std::vector<uint8_t>& bytes) {
    return CTavImportTavOutput(&model).LoadData(test::WriteFileBytes(dir.File("out.tvo"), bytes));
  }
  test::TempDir dir;
  CTavData doc;
  MessageLog log;
};

TEST_F(ImportTavOutputTest, SmallFileReadsCompletely) {
  const auto bytes = SmallFile();
  ASSERT_EQ(bytes.size(), 656U);
  ASSERT_EQ(Read(doc, bytes), 1);
  EXPECT_TRUE(log.Texts().empty());
  EXPECT_EQ(doc.IsLockInput(), 1);
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(1, 0), CVector(0.1, 0.2, 0.3));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_DISPLACEMENT, 1), CVector(0.4, 0.5, 0.6));
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 0), CVector(-1, -2, -3));
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 1), CVector(-4, -5, -6));
  for (int s = 0; s < 5; ++s) {
    EXPECT_DOUBLE_EQ(doc.GetResultValue_Beam_Dist(0, 0, s), s / 4.0);  // made relative to the length
    EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 0, s, TaV_FORCE_1), 10.0 + s);
    EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 0, s, TaV_FORCE_6), 60.0 + s);
  }
}

TEST_F(ImportTavOutputTest, ReactionsCarryTheActiveDegreesOfFreedomOnly) {
  OutputBuilder out;
  out.Case(1).Displacement(1, {0, 0, 0, 0, 0, 0}).Displacement(2, {0, 0, 0, 0, 0, 0}).ForceBlockStart().Beam(1, {});
  out.Reaction(1, {7.0, 9.0}).Reaction(2, {-1.0, -2.0});
  doc.GetGlobalOption()->SetDOF(true, false, true, false, false, false);
  ASSERT_EQ(Read(doc, out.Bytes()), 1);
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 0), CVector(7, 0, 9));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_REACTION, 0), CVector(-1, 0, -2));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_REACTION, 1), CVector(0, 0, 0));
}

// Files cut at every byte, and files with a number that does not fit the
// model, are refused with the message.
TEST_F(ImportTavOutputTest, DamagedFilesAreRefused) {
  const auto good = SmallFile();
  std::vector<std::pair<std::string, std::vector<uint8_t>>> damaged = {
      {"too few cases", OutputBuilder().Uniform(1, 0).Bytes()},  // the model below has a second case
  };
  const auto patch = [&](const char* what, size_t offset, int32_t value) {
    auto bytes = good;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    damaged.emplace_back(what, bytes);
  };
  patch("case 3", 0, 3);
  patch("case 0", 0, 0);
  patch("joint 3", 4, 3);
  patch("joint -1", 4 + 58, -1);
  patch("beam 2", 4 + 116 + 4, 2);
  patch("six stations", 4 + 116 + 4 + 4 + 96, 6);
  patch("negative stations", 4 + 116 + 4 + 4 + 96, -1);
  patch("huge station count", 4 + 116 + 4 + 4 + 96, 0x7FFFFFFF);
  patch("reaction joint", 4 + 116 + 388, 9);
  for (size_t length = 0; length < good.size(); ++length) {
    damaged.emplace_back("cut at " + std::to_string(length),
                         std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
  }
  for (const auto& [what, bytes] : damaged) {
    CTavData model;
    BuildModel(model);
    if (what == "too few cases") model.AddLoadStatic("LL", 0);
    MessageLog seen;
    EXPECT_EQ(Read(model, bytes), 0) << what;
    EXPECT_EQ(seen.Texts(), std::vector<CString>{kBadFile}) << what;
    EXPECT_EQ(seen.LastType(), MB_OK | MB_ICONSTOP) << what;
  }
}

TEST_F(ImportTavOutputTest, AMissingFileGivesZeroWithoutMessageAndFreshBuffers) {
  doc.AllocResultForceBuff();
  const double values[6] = {1, 1, 1, 1, 1, 1};
  doc.SetResult_Joint(0, 0, values, TaV_JOINT_DISPLACEMENT, 6);
  doc.UnlockInput();
  CTavImportTavOutput reader(&doc);
  EXPECT_EQ(reader.LoadData(dir.File("none.tvo")), 0);
  EXPECT_TRUE(log.Texts().empty());
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(0, 0), CVector(0, 0, 0));
  EXPECT_EQ(doc.IsLockInput(), 1);
}

// Builds the combinations over the two static cases.
std::function<void(CTavData&)> Terms(TaV_COMBO_TYPE type, double fa = 1.0, double fb = 1.0) {
  return [=](CTavData& model) {
    CTavCombo* combo = model.AddCombo("K", type);
    combo->AddLoad(TaV_LOAD_STATIC, 0, fa, 0.0);
    combo->AddLoad(TaV_LOAD_STATIC, 1, fb, 9.0);
  };
}

void CombinationTerms(CTavData& doc) {
  CTavCombo* first = doc.AddCombo("ENV", TaV_COMBO_ENVE);
  first->AddLoad(TaV_LOAD_STATIC, 0, 1, 0);
  first->AddLoad(TaV_LOAD_STATIC, 1, -1, 0);  // envelope of 5 and -3
  CTavCombo* second = doc.AddCombo("TWICE", TaV_COMBO_ADD);
  second->AddLoad(TaV_LOAD_COMBO, 0, 2, 0);
  second->AddLoad(TaV_LOAD_COMBO, 2, 1, 0);  // a combination that does not exist is left out
}

// A combination whose last term names it: the term reads what the terms
// before it left, and the stations keep the positions they brought.
void NamingItself(CTavData& doc) {
  CTavCombo* combo = doc.AddCombo("SELF", TaV_COMBO_ADD);
  combo->AddLoad(TaV_LOAD_STATIC, 0, 1, 0);
  combo->AddLoad(TaV_LOAD_COMBO, 0, 1, 0);
}

// The same over the first static case and a response spectrum case (result
// case 2, every value 300), whose magnitude acts either way.
std::function<void(CTavData&)> WithSpectrum(TaV_COMBO_TYPE type) {
  return [=](CTavData& model) {
    model.AddLoadResponseSpectrum("R");
    CTavCombo* combo = model.AddCombo("K", type);
    combo->AddLoad(TaV_LOAD_STATIC, 0, 1, 0);
    combo->AddLoad(TaV_LOAD_RESPONSE_SPECTRUM, 0, 0.1, 0);
  };
}

// Envelopes of the document that start from their first term.
std::function<void(CTavData&)> FromFirstTerm(std::function<void(CTavData&)> combine) {
  return [=](CTavData& model) {
    model.SetEnvelopeStart(TaV_ENVELOPE_FROM_FIRST_TERM);
    combine(model);
  };
}

void DynamicTerms(CTavData& doc) {
  doc.AddLoadHistory("H");           // result case 2, every value 300
  doc.AddLoadResponseSpectrum("R");  // result case 3, every value 400
  doc.AddMovingLoad("M");            // result case 4, every value 500
  CTavCombo* combo = doc.AddCombo("DYN", TaV_COMBO_ADD);
  combo->AddLoad(TaV_LOAD_HISTORY, 0, 1, 0);
  combo->AddLoad(TaV_LOAD_RESPONSE_SPECTRUM, 0, 0.1, 0);
  combo->AddLoad(TaV_LOAD_MOVING, 0, 0.01, 0);
  combo->AddLoad(static_cast<TaV_LOAD_TYPE>(8), 0, 1, 0);
  combo->AddLoad(TaV_LOAD_STATIC, 5, 1, 0);  // no such static case
}

// Two static cases whose every value is `a` and `b` and the combinations
// `combine` builds over them; `ranges` holds each combination's maximum and
// minimum, as read at a displacement, a reaction and a member force.
TEST_F(ImportTavOutputTest, CombinationsOfEveryKind) {
  struct Case {
    const char* name;
    double a, b;
    std::function<void(CTavData&)> combine;
    std::vector<std::pair<double, double>> ranges;
  };
  const Case cases[] = {
      {"add sums the terms in both halves", 5, 3, Terms(TaV_COMBO_ADD), {{8, 8}}},
      {"envelope includes zero", 5, 3, Terms(TaV_COMBO_ENVE), {{5, 0}}},
      {"envelope of negative values", -2, -4, Terms(TaV_COMBO_ENVE), {{0, -4}}},
      {"absolute keeps the largest magnitude", -7, 3, Terms(TaV_COMBO_ABS), {{7, 0}}},
      {"first scale factors weight the terms", 10, 5, Terms(TaV_COMBO_ADD, 1.2, 1.6), {{20, 20}}},
      {"a combination term reads the maximum of the one it names", 5, 3, CombinationTerms, {{5, -3}, {10, 10}}},
      {"a combination naming itself reads its own maximum so far", 5, 3, NamingItself, {{10, 10}}},
      {"dynamic terms read their own cases; the spectrum's acts either way", 1, 2, DynamicTerms, {{345, 265}}},
      {"a spectrum term adds its magnitude both ways", -5, 0, WithSpectrum(TaV_COMBO_ADD), {{25, -35}}},
      {"an envelope takes a spectrum term both ways", 5, 0, WithSpectrum(TaV_COMBO_ENVE), {{30, -30}}},
      {"absolute takes a spectrum term's magnitude", -50, 0, WithSpectrum(TaV_COMBO_ABS), {{50, 0}}},
      {"an envelope from its first term", 5, 3, FromFirstTerm(Terms(TaV_COMBO_ENVE)), {{5, 3}}},
      {"an envelope of negative values from its first term", -2, -4, FromFirstTerm(Terms(TaV_COMBO_ENVE)), {{-2, -4}}},
      {"absolute from its first term", -7, 3, FromFirstTerm(Terms(TaV_COMBO_ABS)), {{7, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTavData model;
    BuildModel(model);
    model.AddLoadStatic("B", 0);
    c.combine(model);
    OutputBuilder out;
    for (int32_t k = 1; k <= model.GetCountLoadCase(0); ++k) out.Uniform(k, k == 1 ? c.a : k == 2 ? c.b : 100.0 * k);
    ASSERT_EQ(Read(model, out.Bytes()), 1);
    for (size_t j = 0; j < c.ranges.size(); ++j) {
      const int32_t target = model.GetCountLoadCase(0) + 2 * static_cast<int32_t>(j);
      const auto [max, min] = c.ranges[j];
      EXPECT_DOUBLE_EQ(model.GetResultValue_Joint_Displacement(1, target).x, max);
      EXPECT_DOUBLE_EQ(model.GetResultValue_Joint_Displacement(1, target + 1).x, min);
      EXPECT_DOUBLE_EQ(model.GetResultValue_Joint(0, target, TaV_JOINT_REACTION, 1).z, max);
      EXPECT_DOUBLE_EQ(model.GetResultValue_Beam_Force(0, target, 1, TaV_FORCE_4), max);
      EXPECT_DOUBLE_EQ(model.GetResultValue_Beam_Force(0, target + 1, 1, TaV_FORCE_4), min);
      EXPECT_DOUBLE_EQ(model.GetResultValue_Beam_Dist(0, target, 1), 0.5);  // the position is copied
    }
  }
}

// A response whose every value lies between `low` and `high`: two joints and
// three stations of the one beam, of the five the result store keeps.
TavCaseResponse Enveloped(TaV_LOAD_TYPE kind, double high, double low) {
  TavCaseResponse response;
  response.kind = kind;
  for (const auto& [values, v] : {std::pair{&response.maximum, high}, std::pair{&response.minimum, low}}) {
    values->displacements.assign(12, v);
    values->reactions.assign(12, v);
    values->beamForces = {std::vector<double>(18, v)};
  }
  return response;
}

// A static case DL of every value 5 and a combination K of DL and one
// history or moving term. The history case H peaks at -6 within 4 and -6,
// the moving case M at -8 within 2 and -8; `withResponses` says whether
// the document holds those envelopes when the output is read.
TEST_F(ImportTavOutputTest, HistoryAndMovingTermsFoldBothEnvelopes) {
  struct Case {
    const char* name;
    TaV_COMBO_TYPE type;
    TaV_LOAD_TYPE kind;
    double factor;
    bool fromFirstTerm;
    bool withResponses;
    std::pair<double, double> range;
  };
  const Case cases[] = {
      {"add takes each envelope into its own half", TaV_COMBO_ADD, TaV_LOAD_HISTORY, 1, false, true, {9, -1}},
      {"a negative factor swaps the envelopes", TaV_COMBO_ADD, TaV_LOAD_HISTORY, -2, false, true, {17, -3}},
      {"add of a moving term", TaV_COMBO_ADD, TaV_LOAD_MOVING, 1, false, true, {7, -3}},
      {"envelope from zero", TaV_COMBO_ENVE, TaV_LOAD_HISTORY, 1, false, true, {5, -6}},
      {"envelope of a moving term", TaV_COMBO_ENVE, TaV_LOAD_MOVING, 1, false, true, {5, -8}},
      {"envelope from its first term, factor -0.5", TaV_COMBO_ENVE, TaV_LOAD_MOVING, -0.5, true, true, {5, -1}},
      {"absolute from zero", TaV_COMBO_ABS, TaV_LOAD_HISTORY, 1, false, true, {6, 0}},
      {"absolute from its first term", TaV_COMBO_ABS, TaV_LOAD_HISTORY, 1, true, true, {6, 4}},
      {"absolute of a moving term", TaV_COMBO_ABS, TaV_LOAD_MOVING, 1, true, true, {8, 2}},
      {"absolute of a moving term, factor -0.5", TaV_COMBO_ABS, TaV_LOAD_MOVING, -0.5, true, true, {5, 1}},
      {"without responses the peak folds", TaV_COMBO_ADD, TaV_LOAD_HISTORY, 1, false, false, {-1, -1}},
      {"without responses, absolute", TaV_COMBO_ABS, TaV_LOAD_MOVING, 1, true, false, {8, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTavData model;
    BuildModel(model);
    model.AddLoadHistory("H");
    model.AddMovingLoad("M");
    if (c.fromFirstTerm) model.SetEnvelopeStart(TaV_ENVELOPE_FROM_FIRST_TERM);
    CTavCombo* combo = model.AddCombo("K", c.type);
    combo->AddLoad(TaV_LOAD_STATIC, 0, 1, 0);
    combo->AddLoad(c.kind, 0, c.factor, 0);
    if (c.withResponses) {
      model.SetResponseResults({{Enveloped(TaV_LOAD_HISTORY, 4, -6), Enveloped(TaV_LOAD_MOVING, 2, -8)}});
    }
    ASSERT_EQ(Read(model, OutputBuilder().Uniform(1, 5).Uniform(2, -6).Uniform(3, -8).Bytes()), 1);
    const auto [max, min] = c.range;
    EXPECT_DOUBLE_EQ(model.GetResultValue_Joint_Displacement(1, 3).x, max);
    EXPECT_DOUBLE_EQ(model.GetResultValue_Joint_Displacement(1, 4).x, min);
    EXPECT_DOUBLE_EQ(model.GetResultValue_Joint(0, 3, TaV_JOINT_REACTION, 1).z, max);
    EXPECT_DOUBLE_EQ(model.GetResultValue_Joint(0, 4, TaV_JOINT_REACTION, 1).z, min);
    EXPECT_DOUBLE_EQ(model.GetResultValue_Beam_Force(0, 3, 1, TaV_FORCE_4), max);
    EXPECT_DOUBLE_EQ(model.GetResultValue_Beam_Force(0, 4, 1, TaV_FORCE_4), min);
  }
}

// Envelope station s is the result store's station s; the stations beyond
// the envelopes and the reactions the output leaves out (RZ, not active)
// fold the block's values (here -6 at the two stations the block has).
TEST_F(ImportTavOutputTest, EnvelopesReachTheirOwnStationsAndTheReactionsTheOutputHolds) {
  doc.AddLoadHistory("H");
  doc.GetGlobalOption()->SetDOF(true, true, true, true, true, false);
  doc.AddCombo("K", TaV_COMBO_ADD)->AddLoad(TaV_LOAD_HISTORY, 0, 1, 0);
  TavCaseResponse history = Enveloped(TaV_LOAD_HISTORY, 4, -6);
  for (size_t i = 0; i < 18; ++i) {
    history.maximum.beamForces[0][i] = 1.0 + i / 6;
    history.minimum.beamForces[0][i] = -1.0 - i / 6;
  }
  doc.SetResponseResults({{history}});
  OutputBuilder out;
  for (int32_t k = 1; k <= 2; ++k) {
    const double v = k == 1 ? 0 : -6;
    out.Case(k).Displacement(1, {v, v, v, v, v, v}).Displacement(2, {v, v, v, v, v, v}).ForceBlockStart();
    out.Beam(1, {{1.0, v, v, v, v, v, v}, {2.0, v, v, v, v, v, v}}).Reaction(1, {v, v, v, v, v});
    out.Reaction(2, {v, v, v, v, v});
  }
  ASSERT_EQ(Read(doc, out.Bytes()), 1);
  const double stationMax[] = {1, 2, 3, 0, 0};
  for (int32_t station = 0; station < 5; ++station) {
    SCOPED_TRACE(station);
    EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 2, station, TaV_FORCE_6), stationMax[station]);
    EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 3, station, TaV_FORCE_6), -stationMax[station]);
  }
  EXPECT_EQ(doc.GetResultValue_Joint(0, 2, TaV_JOINT_REACTION, 0), CVector(4, 4, 4));
  EXPECT_EQ(doc.GetResultValue_Joint(0, 3, TaV_JOINT_REACTION, 1), CVector(-6, -6, 0));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 3, TaV_JOINT_DISPLACEMENT, 1), CVector(-6, -6, -6));
}

}  // namespace
}  // namespace tav
