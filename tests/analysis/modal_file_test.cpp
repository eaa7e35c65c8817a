// The modal file from the program's writer to the library's reader, and
// the reader against every damaged form of it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "analysis/ModalFile.h"
#include "support/Golden.h"
#include "support/TempDir.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

ModalSolution TwoModesOfThreeJoints() {
  ModalSolution modal;
  modal.joints = 3;
  modal.totalMass = {1, 2, 3, 4, 5, 6};
  for (int n = 0; n < 2; ++n) {
    Mode& mode = modal.modes.emplace_back();
    mode.eigenvalue = 100.0 * (n + 1);
    mode.circular = std::sqrt(mode.eigenvalue);
    mode.frequency = mode.circular / 6.283185307179586;
    mode.period = 1 / mode.frequency;
    for (size_t d = 0; d < 6; ++d) {
      mode.participation[d] = 0.1 * d - n;
      mode.massRatio[d] = 0.01 * d + 0.3 * n;
    }
    for (size_t j = 0; j < modal.joints; ++j) mode.shape.push_back({1.0 * j, -2.0 * n, 0.5, 0, 1e-300, 3});
  }
  return modal;
}

class ModalFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int j = 0; j < 3; ++j) doc.AddJoint(j, 0, 0, -1);
    WriteModalFile(path, TwoModesOfThreeJoints());
    bytes = test::ReadFileBytes(path);
  }

  // Reads `content` as the modal file; the reason goes to `problem`.
  int Load(const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return CTavImportTavModes(&doc).LoadData(path, &problem);
  }

  test::TempDir dir;
  std::string path = dir.File("frame.tvm");
  std::string bytes;
  CTavData doc;
  CString problem;
};

TEST_F(ModalFileTest, WhatTheProgramWritesTheLibraryReads) {
  EXPECT_EQ(ModalFilePath("/a/frame.tvo"), "/a/frame.tvm");
  EXPECT_EQ(ModalFilePath("frame"), "frame.tvm");
  EXPECT_EQ(bytes.size(), 8 + 12 + 48 + 2 * (4 + 16 * 8 + 3 * 48));
  ASSERT_EQ(Load(bytes), 1) << problem;
  const ModalSolution written = TwoModesOfThreeJoints();
  EXPECT_EQ(doc.GetModalResults().totalMass, written.totalMass);
  ASSERT_EQ(doc.GetCountMode(), 2);
  for (int32_t n = 0; n < 2; ++n) {
    const Mode& mode = written.modes[static_cast<size_t>(n)];
    EXPECT_EQ(doc.GetModePeriod(n), mode.period);
    EXPECT_EQ(doc.GetModeFrequency(n), mode.frequency);
    EXPECT_EQ(doc.GetModeCircularFrequency(n), mode.circular);
    for (int d = 0; d < 6; ++d) {
      EXPECT_EQ(doc.GetModeParticipation(n, d), mode.participation[d]);
      EXPECT_EQ(doc.GetModeMassRatio(n, d), mode.massRatio[d]);
    }
    for (int32_t j = 0; j < 3; ++j) EXPECT_EQ(doc.GetModeShape(j, n), mode.shape[static_cast<size_t>(j)]);
  }
  EXPECT_DOUBLE_EQ(doc.GetModeCumulativeMassRatio(1, 5), 0.05 + 0.05 + 0.3);
  doc.ClearData();
  EXPECT_EQ(doc.GetCountMode(), 0);
}

TEST_F(ModalFileTest, EveryShortFileIsRefusedAndTheModesStay) {
  ASSERT_EQ(Load(bytes), 1);
  const TavModalResults before = doc.GetModalResults();
  for (size_t size = 0; size < bytes.size(); ++size) {
    ASSERT_EQ(Load(bytes.substr(0, size)), 0) << size;
    ASSERT_EQ(doc.GetModalResults(), before) << size;
  }
}

TEST_F(ModalFileTest, DamageIsNamed) {
  const auto patched = [&](size_t at, const void* value, size_t size) {
    std::string copy = bytes;
    std::memcpy(copy.data() + at, value, size);
    return copy;
  };
  const int32_t two = 2, huge = 1 << 30, seven = 7;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::string content;
    const char* reason;
  };
  const Case cases[] = {
      {"TAVMODEX" + bytes.substr(8), "not a modal file"},
      {patched(8, &two, 4), "layout version 2"},
      {patched(12, &two, 4), "the file holds 2 joints; the model has 3"},
      {patched(16, &huge, 4), "modes"},
      {patched(68, &seven, 4), "mode 7 at offset 68 where mode 1 belongs"},
      {patched(80, &nan, 8), "not a finite number at offset 80"},
      {bytes + "x", "1 bytes follow the last mode"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.content), 0) << c.reason;
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
    EXPECT_EQ(doc.GetCountMode(), 0);
  }
  EXPECT_EQ(CTavImportTavModes(&doc).LoadData(dir.File("missing.tvm"), &problem), 0);
  EXPECT_NE(problem.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace tav::analysis
