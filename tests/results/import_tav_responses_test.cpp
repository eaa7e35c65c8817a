// The response file of a model of two joints, one beam, a history and a
// moving case: read whole, and refused in every damaged form.
#include "tav/results/TavImportTavResponses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "support/Fixtures.h"
#include "support/Records.h"
#include "support/TempDir.h"

namespace tav {
namespace {

constexpr int32_t kJoints = 2;
constexpr int32_t kStations = 3;  // of the one beam; the model keeps 5

// An envelope whose values count up from `first`, so that each has its own.
TavResponseValues Counting(double first) {
  TavResponseValues values;
  for (int i = 0; i < 6 * kJoints; ++i) values.displacements.push_back(first + i);
  for (int i = 0; i < 6 * kJoints; ++i) values.reactions.push_back(first + 100 + i);
  values.beamForces.emplace_back();
  for (int i = 0; i < 6 * kStations; ++i) values.beamForces[0].push_back(first + 200 + i);
  return values;
}

TavCaseResponse Case(int32_t kind, double first) {
  TavCaseResponse response;
  response.kind = kind;
  response.maximum = Counting(first);
  response.minimum = Counting(-first);
  return response;
}

// A history case of three steps and a moving case.
TavResponseResults TwoCases() {
  TavCaseResponse history = Case(TaV_LOAD_HISTORY, 0.5);
  history.dt = 0.01;
  history.times = {0, 0.01, 0.02};
  for (int i = 0; i < 3 * 6 * kJoints; ++i) {
    history.stepDisplacements.push_back(1000 + i);
    history.stepReactions.push_back(-1000 - i);
  }
  return {{history, Case(TaV_LOAD_MOVING, 7)}};
}

void WriteEnvelope(CArchive& ar, const TavResponseValues& values) {
  for (double value : values.displacements) ar << value;
  for (double value : values.reactions) ar << value;
  for (double value : values.beamForces[0]) ar << value;
}

// The file as the bundled program lays it out.
std::vector<uint8_t> FileOf(const TavResponseResults& responses) {
  return test::Bytes([&](CArchive& ar) {
    ar.WriteString("TAVRESPS");
    ar << int32_t{1} << kJoints << int32_t{1} << static_cast<int32_t>(responses.cases.size()) << kStations;
    for (const TavCaseResponse& response : responses.cases) {
      ar << response.kind << response.number + 1 << int32_t{response.failed};
      WriteEnvelope(ar, response.maximum);
      WriteEnvelope(ar, response.minimum);
      ar << response.StepCount() << response.dt;
      for (int32_t step = 0; step < response.StepCount(); ++step) {
        ar << response.times[static_cast<size_t>(step)];
        for (int i = 0; i < 6 * kJoints; ++i) ar << response.stepDisplacements[static_cast<size_t>(step * 12 + i)];
        for (int i = 0; i < 6 * kJoints; ++i) ar << response.stepReactions[static_cast<size_t>(step * 12 + i)];
      }
    }
  });
}

class ImportTavResponsesTest : public testing::Test {
 protected:
  ImportTavResponsesTest() {
    test::AddBeamBetween(doc, {0, 0, 0}, {4, 0, 0});
    doc.AddLoadHistory("H");
    doc.AddMovingLoad("M");
  }
  int Load(const std::vector<uint8_t>& content) {
    return CTavImportTavResponses(&doc).LoadData(test::WriteFileBytes(dir.File("frame.tvh"), content), &problem);
  }

  test::TempDir dir;
  CTavData doc;
  CString problem;
  const std::vector<uint8_t> bytes = FileOf(TwoCases());
};

TEST_F(ImportTavResponsesTest, TheFileIsReadWhole) {
  // Header 28; a case without steps 12 + 2 x 42 doubles + 12; a step 25 doubles.
  ASSERT_EQ(bytes.size(), 28U + (696 + 3 * 200) + 696);
  ASSERT_EQ(Load(bytes), 1) << problem;
  EXPECT_EQ(doc.GetResponseResults(), TwoCases());
  const TavCaseResponse* history = doc.GetResponseResults().Find(TaV_LOAD_HISTORY, 0);
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->Displacement(2, 1, 5), 1000 + 2 * 12 + 6 + 5);
  EXPECT_EQ(history->Reaction(1, 0, 2), -1000 - 12 - 2);
  EXPECT_EQ(history->maximum.Force(0, 2, 5), 200.5 + 2 * 6 + 5);
  const TavCaseResponse* moving = doc.GetResponseResults().Find(TaV_LOAD_MOVING, 0);
  ASSERT_NE(moving, nullptr);
  EXPECT_EQ(moving->minimum.Reaction(1, 0), -7 + 100 + 6);
  EXPECT_EQ(doc.GetResponseResults().Find(TaV_LOAD_MOVING, 1), nullptr);
  ASSERT_TRUE(doc.AllocResultForceBuff());  // reading the output keeps them
  EXPECT_EQ(doc.GetResponseResults().cases.size(), 2U);
  doc.ClearData();
  EXPECT_TRUE(doc.GetResponseResults().cases.empty());
}

TEST_F(ImportTavResponsesTest, EveryShortFileIsRefusedAndTheResponsesStay) {
  ASSERT_EQ(Load(bytes), 1);
  for (size_t size = 0; size < bytes.size(); ++size) {
    ASSERT_EQ(Load({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)}), 0) << size;
    ASSERT_EQ(doc.GetResponseResults(), TwoCases()) << size;
  }
}

TEST_F(ImportTavResponsesTest, DamageIsNamedWithItsOffset) {
  const auto patched = [&](size_t at, auto value) {
    std::vector<uint8_t> copy = bytes;
    std::memcpy(copy.data() + at, &value, sizeof value);
    return copy;
  };
  const size_t historySteps = 28 + 12 + 2 * 42 * 8;  // 712
  const size_t movingSteps = 28 + 1296 + 12 + 2 * 42 * 8;
  std::vector<uint8_t> trailing = bytes;
  trailing.push_back('x');
  struct Case {
    std::vector<uint8_t> content;
    std::string reason;
  };
  const Case cases[] = {
      {patched(7, 'X'), "not a response file"},
      {patched(8, int32_t{2}), "layout version 2 is not known"},
      {patched(12, int32_t{3}), "the file holds 3 joints at offset 12; the model has 2"},
      {patched(16, int32_t{2}), "the file holds 2 beams at offset 16; the model has 1"},
      {patched(20, int32_t{1}), "the file holds 1 history and moving cases at offset 20; the model has 2"},
      {patched(24, int32_t{6}), "beam 1 has 6 stations at offset 24; the model keeps 5"},
      {patched(24, int32_t{-1}), "beam 1 has -1 stations at offset 24"},
      {patched(28, int32_t{2}), "case kind 2 at offset 28 is neither history (1) nor moving (3)"},
      {patched(28, int32_t{3}), "moving case 1 at offset 28 where history case 1 belongs"},
      {patched(32, int32_t{2}), "history case 2 at offset 32 is not in the model (it has 1)"},
      {patched(36, int32_t{2}), "the failed flag 2 at offset 36 is neither 0 nor 1"},
      {patched(36, int32_t{1}), "failed history case 1 has 3 steps at offset 712; it can have none"},
      {patched(40 + 8 * 30, std::numeric_limits<double>::quiet_NaN()), "not a finite number at offset 280"},
      {patched(historySteps - 8, std::numeric_limits<double>::infinity()), "not a finite number at offset 704"},
      {patched(historySteps, int32_t{-1}), "negative count of steps"},
      {patched(historySteps, int32_t{1 << 30}), "count of steps (1073741824)"},
      {patched(historySteps + 4 + 8 + 200 + 16, -HUGE_VAL), "not a finite number at offset 940"},
      {patched(movingSteps, int32_t{1}), "moving case 1 has 1 steps at offset 2008; it can have none"},
      {trailing, "1 bytes follow the last case at offset 2020"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(Load(c.content), 0);
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
    EXPECT_TRUE(doc.GetResponseResults().cases.empty());
  }
  EXPECT_EQ(CTavImportTavResponses(&doc).LoadData(dir.File("missing.tvh"), &problem), 0);
  EXPECT_NE(problem.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace tav
