#include "tav/results/TavImportTavOutput.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <memory>

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

std::string WriteFile(const test::TempDir& dir, const std::vector<uint8_t>& bytes,
                      const std::string& name = "out.tvo") {
  const std::string path = dir.File(name);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Two joints 4 apart, one beam, one static case, 4 segments.
void BuildModel(CTavData& doc) {
  doc.AddJoint(0, 0, 0, -1);
  doc.AddJoint(0, 0, 4, -1);
  doc.AddBeam(doc.AddGroupElement(), 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("DL", 0);
}

std::vector<std::array<double, 7>> FiveStations() {
  std::vector<std::array<double, 7>> stations;
  for (int s = 0; s < 5; ++s) stations.push_back({1.0 * s, 10.0 + s, 20.0 + s, 30.0 + s, 40.0 + s, 50.0 + s, 60.0 + s});
  return stations;
}

std::vector<uint8_t> SmallFile() {
  OutputBuilder out;
  out.Case(1)
      .Displacement(2, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6})
      .Displacement(1, {0, 0, 0, 0, 0, 0})
      .ForceBlockStart()
      .Beam(1, FiveStations())
      .Reaction(1, {-1, -2, -3, -4, -5, -6})
      .Reaction(2, {0, 0, 0, 0, 0, 0});
  return out.Bytes();
}

TEST(ImportTavOutputTest, SmallFileReadsCompletely) {
  const auto bytes = SmallFile();
  ASSERT_EQ(bytes.size(), 656U);
  test::TempDir dir;
  CTavData doc;
  BuildModel(doc);
  MessageLog log;
  CTavImportTavOutput reader(&doc);
  ASSERT_EQ(reader.LoadData(WriteFile(dir, bytes)), 1);
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

TEST(ImportTavOutputTest, ReactionsCarryTheActiveDegreesOfFreedomOnly) {
  OutputBuilder out;
  out.Case(1)
      .Displacement(1, {0, 0, 0, 0, 0, 0})
      .Displacement(2, {0, 0, 0, 0, 0, 0})
      .ForceBlockStart()
      .Beam(1, {})
      .Reaction(1, {7.0, 9.0})
      .Reaction(2, {-1.0, -2.0});
  test::TempDir dir;
  CTavData doc;
  BuildModel(doc);
  doc.GetGlobalOption()->SetDOF(true, false, true, false, false, false);
  CTavImportTavOutput reader(&doc);
  ASSERT_EQ(reader.LoadData(WriteFile(dir, out.Bytes())), 1);
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 0), CVector(7, 0, 9));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_REACTION, 0), CVector(-1, 0, -2));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_REACTION, 1), CVector(0, 0, 0));
}

TEST(ImportTavOutputTest, FilesThatDoNotFitTheModelAreRefused) {
  struct Damage {
    const char* what;
    std::vector<uint8_t> bytes;
    bool secondCase = false;  // the model has a second load case
  };
  std::vector<Damage> damaged;
  {
    OutputBuilder out;  // a second load case block is expected
    out.Case(1).Displacement(1, {0, 0, 0, 0, 0, 0}).Displacement(2, {0, 0, 0, 0, 0, 0}).ForceBlockStart().Beam(1, {});
    out.Reaction(1, {0, 0, 0, 0, 0, 0}).Reaction(2, {0, 0, 0, 0, 0, 0});
    damaged.push_back({"too few cases", out.Bytes(), true});
  }
  const auto good = SmallFile();
  auto patchInt = [&good](size_t offset, int32_t value) {
    auto bytes = good;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
  };
  damaged.push_back({"case 3", patchInt(0, 3)});
  damaged.push_back({"case 0", patchInt(0, 0)});
  damaged.push_back({"joint 3", patchInt(4, 3)});
  damaged.push_back({"joint -1", patchInt(4 + 58, -1)});
  damaged.push_back({"beam 2", patchInt(4 + 116 + 4, 2)});
  damaged.push_back({"six stations", patchInt(4 + 116 + 4 + 4 + 96, 6)});
  damaged.push_back({"negative stations", patchInt(4 + 116 + 4 + 4 + 96, -1)});
  damaged.push_back({"huge station count", patchInt(4 + 116 + 4 + 4 + 96, 0x7FFFFFFF)});
  damaged.push_back({"reaction joint", patchInt(4 + 116 + 388, 9)});

  test::TempDir dir;
  for (const Damage& damage : damaged) {
    CTavData doc;
    BuildModel(doc);
    if (damage.secondCase) doc.AddLoadStatic("LL", 0);
    MessageLog log;
    CTavImportTavOutput reader(&doc);
    EXPECT_EQ(reader.LoadData(WriteFile(dir, damage.bytes)), 0) << damage.what;
    ASSERT_EQ(log.Texts().size(), 1U) << damage.what;
    EXPECT_EQ(log.Texts()[0], kBadFile);
    EXPECT_EQ(log.LastType(), MB_OK | MB_ICONSTOP);
  }
}

TEST(ImportTavOutputTest, EveryTruncationIsRefusedWithTheMessage) {
  const auto good = SmallFile();
  test::TempDir dir;
  for (size_t length = 0; length < good.size(); ++length) {
    CTavData doc;
    BuildModel(doc);
    MessageLog log;
    CTavImportTavOutput reader(&doc);
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(reader.LoadData(WriteFile(dir, cut)), 0) << length;
    EXPECT_EQ(log.Texts().size(), 1U) << length;
  }
}

TEST(ImportTavOutputTest, AMissingFileGivesZeroWithoutMessageAndFreshBuffers) {
  CTavData doc;
  BuildModel(doc);
  doc.AllocResultForceBuff();
  const double values[6] = {1, 1, 1, 1, 1, 1};
  doc.SetResult_Joint(0, 0, values, TaV_JOINT_DISPLACEMENT, 6);
  doc.UnlockInput();
  MessageLog log;
  CTavImportTavOutput reader(&doc);
  test::TempDir dir;
  EXPECT_EQ(reader.LoadData(dir.File("none.tvo")), 0);
  EXPECT_TRUE(log.Texts().empty());
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(0, 0), CVector(0, 0, 0));
  EXPECT_EQ(doc.IsLockInput(), 1);
}

// Two static cases whose every value is `a` and `b`, and the combinations
// built by `combine` over them.
class ComboTest : public ::testing::Test {
 protected:
  void Load(double a, double b, const std::function<void(CTavData&)>& combine) {
    m_doc = std::make_unique<CTavData>();
    m_doc->AddJoint(0, 0, 0, -1);
    m_doc->AddJoint(2, 0, 0, -1);
    m_doc->AddBeam(m_doc->AddGroupElement(), 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
    m_doc->AddLoadStatic("A", 0);
    m_doc->AddLoadStatic("B", 0);
    combine(*m_doc);
    OutputBuilder out;
    for (int32_t c = 1; c <= m_doc->GetCountLoadCase(0); ++c) {
      const double v = c == 1 ? a : c == 2 ? b : 100.0 * c;
      out.Case(c)
          .Displacement(1, {v, v, v, v, v, v})
          .Displacement(2, {v, v, v, v, v, v})
          .ForceBlockStart()
          .Beam(1, {{1.0, v, v, v, v, v, v}, {2.0, v, v, v, v, v, v}})
          .Reaction(1, {v, v, v, v, v, v})
          .Reaction(2, {v, v, v, v, v, v});
    }
    CTavImportTavOutput reader(m_doc.get());
    ASSERT_EQ(reader.LoadData(WriteFile(m_dir, out.Bytes())), 1);
  }
  // Maximum and minimum of combination `j`, read at a displacement, a
  // reaction and a member force.
  std::pair<double, double> Range(int32_t j) const {
    const int32_t target = m_doc->GetCountLoadCase(0) + 2 * j;
    const double max = m_doc->GetResultValue_Joint_Displacement(1, target).x;
    const double min = m_doc->GetResultValue_Joint_Displacement(1, target + 1).x;
    EXPECT_EQ(m_doc->GetResultValue_Joint(0, target, TaV_JOINT_REACTION, 1).z, max);
    EXPECT_DOUBLE_EQ(m_doc->GetResultValue_Beam_Force(0, target, 1, TaV_FORCE_4), max);
    EXPECT_DOUBLE_EQ(m_doc->GetResultValue_Beam_Force(0, target + 1, 1, TaV_FORCE_4), min);
    EXPECT_DOUBLE_EQ(m_doc->GetResultValue_Beam_Dist(0, target, 1), 1.0);  // the position is copied
    return {max, min};
  }

  test::TempDir m_dir;
  std::unique_ptr<CTavData> m_doc;
};

void Terms(CTavData& doc, TaV_COMBO_TYPE type, double fa = 1.0, double fb = 1.0) {
  CTavCombo* combo = doc.AddCombo("K", type);
  combo->AddLoad(TaV_LOAD_STATIC, 0, fa, 0.0);
  combo->AddLoad(TaV_LOAD_STATIC, 1, fb, 9.0);
}

TEST_F(ComboTest, AddSumsTheTermsInBothHalves) {
  Load(5, 3, [](CTavData& doc) { Terms(doc, TaV_COMBO_ADD); });
  EXPECT_EQ(Range(0), std::make_pair(8.0, 8.0));
}

TEST_F(ComboTest, EnvelopeIncludesZero) {
  Load(5, 3, [](CTavData& doc) { Terms(doc, TaV_COMBO_ENVE); });
  EXPECT_EQ(Range(0), std::make_pair(5.0, 0.0));
  Load(-2, -4, [](CTavData& doc) { Terms(doc, TaV_COMBO_ENVE); });
  EXPECT_EQ(Range(0), std::make_pair(0.0, -4.0));
}

TEST_F(ComboTest, AbsoluteKeepsTheLargestMagnitude) {
  Load(-7, 3, [](CTavData& doc) { Terms(doc, TaV_COMBO_ABS); });
  EXPECT_EQ(Range(0), std::make_pair(7.0, 0.0));
}

TEST_F(ComboTest, FirstScaleFactorsWeightTheTerms) {
  Load(10, 5, [](CTavData& doc) { Terms(doc, TaV_COMBO_ADD, 1.2, 1.6); });
  const auto range = Range(0);
  EXPECT_DOUBLE_EQ(range.first, 20.0);
  EXPECT_DOUBLE_EQ(range.second, 20.0);
}

TEST_F(ComboTest, ACombinationTermReadsTheMaximumOfTheOneItNames) {
  Load(5, 3, [](CTavData& doc) {
    CTavCombo* first = doc.AddCombo("ENV", TaV_COMBO_ENVE);
    first->AddLoad(TaV_LOAD_STATIC, 0, 1, 0);
    first->AddLoad(TaV_LOAD_STATIC, 1, -1, 0);  // envelope of 5 and -3
    CTavCombo* second = doc.AddCombo("TWICE", TaV_COMBO_ADD);
    second->AddLoad(TaV_LOAD_COMBO, 0, 2, 0);
    second->AddLoad(TaV_LOAD_COMBO, 2, 1, 0);  // a combination that does not exist is left out
  });
  EXPECT_EQ(Range(0), std::make_pair(5.0, -3.0));
  EXPECT_EQ(Range(1), std::make_pair(10.0, 10.0));
}

TEST_F(ComboTest, DynamicTermsReadTheirOwnCases) {
  Load(1, 2, [](CTavData& doc) {
    doc.AddLoadHistory("H");           // result case 2, every value 300
    doc.AddLoadResponseSpectrum("R");  // result case 3, every value 400
    doc.AddMovingLoad("M");            // result case 4, every value 500
    CTavCombo* combo = doc.AddCombo("DYN", TaV_COMBO_ADD);
    combo->AddLoad(TaV_LOAD_HISTORY, 0, 1, 0);
    combo->AddLoad(TaV_LOAD_RESPONSE_SPECTRUM, 0, 0.1, 0);
    combo->AddLoad(TaV_LOAD_MOVING, 0, 0.01, 0);
    combo->AddLoad(static_cast<TaV_LOAD_TYPE>(8), 0, 1, 0);
    combo->AddLoad(TaV_LOAD_STATIC, 5, 1, 0);  // no such static case
  });
  const auto range = Range(0);
  EXPECT_DOUBLE_EQ(range.first, 345.0);
  EXPECT_DOUBLE_EQ(range.second, 345.0);
}

}  // namespace
}  // namespace tav
