// The response file from the program's writer to the library's reader:
// every envelope value and every step comes back where the document keeps
// it. (The reader's refusals of damaged files are tested with the reader.)
#include <gtest/gtest.h>

#include "analysis/ResponseFile.h"
#include "support/Frames.h"
#include "support/TempDir.h"
#include "tav/Tav.h"

namespace tav::analysis {
namespace {

// Two joints and one beam of five stations, every value distinct: `seed`
// picks which set.
CaseResult Values(double seed) {
  CaseResult result;
  for (int j = 0; j < 2; ++j) {
    Six displacement, reaction;
    for (size_t d = 0; d < 6; ++d) {
      displacement[d] = seed + 10 * j + d;
      reaction[d] = -seed - 10 * j - d - 0.5;
    }
    result.displacements.push_back(displacement);
    result.reactions.push_back(reaction);
  }
  BeamResult& beam = result.beams.emplace_back();
  for (int s = 0; s < 5; ++s) beam.stations.push_back({0.5 * s, seed, seed * s, 2.0 * s, -1.0 * s, 3.0, seed - s});
  return result;
}

TEST(ResponseFileTest, WhatTheProgramWritesTheLibraryReads) {
  EXPECT_EQ(ResponseFilePath("/a/frame.tvo"), "/a/frame.tvh");

  InputDeck deck;
  deck.cases.resize(3);
  deck.cases[1].kind = CaseKind::kHistory;
  deck.cases[2].kind = CaseKind::kMoving;
  const std::vector<CaseResult> results = {Values(0), Values(0), Values(0)};
  CaseResponse history{1, Values(100), Values(-100), {}};
  history.series = {
      0.25, {0, 0.25}, {Values(1).displacements, Values(2).displacements}, {Values(3).reactions, Values(4).reactions}};
  const CaseResponse moving{2, Values(200), Values(-200), {}};

  test::TempDir dir;
  const std::string path = dir.File("frame.tvh");
  WriteResponseFile(path, deck, results, {history, moving});

  CTavData doc;
  test::AddLine(doc, doc.AddGroupElement(), 1, 2.0);
  doc.AddLoadStatic("S", 0);
  doc.AddLoadHistory("H");
  doc.AddMovingLoad("M");
  CString problem;
  ASSERT_EQ(CTavImportTavResponses(&doc).LoadData(path, &problem), 1) << problem;
  const TavResponseResults& read = doc.GetResponseResults();
  ASSERT_EQ(read.cases.size(), 2U);
  const TavCaseResponse& h = read.cases[0];
  const TavCaseResponse& m = read.cases[1];
  EXPECT_EQ(std::tuple(h.kind, h.number, h.failed, m.kind, m.number, m.failed),
            std::tuple(TaV_LOAD_HISTORY, 0, false, TaV_LOAD_MOVING, 0, false));
  for (int32_t j = 0; j < 2; ++j) {
    for (int d = 0; d < 6; ++d) {
      const size_t jj = static_cast<size_t>(j), dd = static_cast<size_t>(d);
      EXPECT_EQ(h.maximum.Displacement(j, d), history.maximum.displacements[jj][dd]);
      EXPECT_EQ(h.minimum.Reaction(j, d), history.minimum.reactions[jj][dd]);
      EXPECT_EQ(m.maximum.Reaction(j, d), moving.maximum.reactions[jj][dd]);
      EXPECT_EQ(h.Displacement(1, j, d), history.series.displacements[1][jj][dd]);
      EXPECT_EQ(h.Reaction(0, j, d), history.series.reactions[0][jj][dd]);
    }
  }
  for (int32_t s = 0; s < 5; ++s) {
    for (int f = 0; f < 6; ++f) {
      EXPECT_EQ(m.minimum.Force(0, s, f), moving.minimum.beams[0].stations[static_cast<size_t>(s)][f + 1]);
    }
  }
  EXPECT_EQ(std::tuple(h.dt, h.times, m.StepCount()), std::tuple(0.25, std::vector<double>{0, 0.25}, 0));
}

}  // namespace
}  // namespace tav::analysis
