// Save: choosing and opening the file, the wrapping of the own format's
// statements, and the document's writer members that forward to the writers.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/document/TavData.h"
#include "tav/platform/MessageBox.h"
#include "tav/writers/LineSink.h"

namespace tav::test {
namespace {

// Opens the protected writer members to the tests.
class WriterProbe : public CTavData {
 public:
  std::string Emit(const CString& text, int newline, int wrap) {
    return Run([&](CArchive& ar) { Write(ar, text, newline, wrap); });
  }
  // The three line emitters, each given "%s=%d" with `text` and 7.
  std::vector<std::string> Printed(const CString& text) {
    return {Run([&](CArchive& ar) { Write_Tav(ar, "%s=%d", text.c_str(), 7); }),
            Run([&](CArchive& ar) { Write_Sap(ar, "%s=%d", text.c_str(), 7); }),
            Run([&](CArchive& ar) { Write_Midas(ar, "%s=%d", text.c_str(), 7); })};
  }
  using CTavData::GetTextReal;
  using CTavData::RealText;
  using CTavData::SeperateText;
  // The section members of `format` one after the other, in the file order.
  std::string WriteSections(TaV_INPUT_FORMAT format) {
    using Member = int (CTavData::*)(CArchive&);
    const std::vector<Member> own = {
        &WriterProbe::WriteTitle_Tav,           &WriterProbe::WriteSystem_Tav,
        &WriterProbe::WriteFunction_Tav,        &WriterProbe::WriteLocalCoord_Tav,
        &WriterProbe::WriteJointInfomation_Tav, &WriterProbe::WriteJointRestraint_Tav,
        &WriterProbe::WriteJointConstraint_Tav, &WriterProbe::WriteJointMass_Tav,
        &WriterProbe::WriteJointDamp_Tav,       &WriterProbe::WriteInitialConditions_Tav,
        &WriterProbe::WriteGroup_Tav,           &WriterProbe::WriteLoadStatic_Tav,
        &WriterProbe::WriteLoadHistory_Tav,     &WriterProbe::WriteLoadResponseSpectrum_Tav,
        &WriterProbe::WriteMovingLoad_Tav,      &WriterProbe::WriteStop_Tav};
    const std::vector<Member> sap = {
        &WriterProbe::WriteSystem_Sap,   &WriterProbe::WriteJoint_Sap,        &WriterProbe::WriteLocal_Sap,
        &WriterProbe::WriteRestaint_Sap, &WriterProbe::WriteSpring_Sap,       &WriterProbe::WriteMaterial_Sap,
        &WriterProbe::WriteNLProp_Sap,   &WriterProbe::WriteFrameSection_Sap, &WriterProbe::WriteFrame_Sap,
        &WriterProbe::WriteNLLink_Sap,   &WriterProbe::WriteLoad_Sap,         &WriterProbe::WriteCombo_Sap,
        &WriterProbe::WriteOutput_Sap};
    const std::vector<Member> midas = {
        &WriterProbe::WriteTitle_Midas,        &WriterProbe::WriteVersion,        &WriterProbe::WriteUnit_Midas,
        &WriterProbe::WriteStructType_Midas,   &WriterProbe::WriteNode_Midas,     &WriterProbe::WriteElement_Midas,
        &WriterProbe::WriteMaterial_Midas,     &WriterProbe::WriteSection_Midas,  &WriterProbe::WriteSpring_Midas,
        &WriterProbe::WriteLoadCaseName_Midas, &WriterProbe::WriteLoadCase_Midas, &WriterProbe::WriteLoadCombo_Midas,
        &WriterProbe::WriteEndMessage_Midas};
    const auto& members = format == TaV_FORMAT_TAV ? own : format == TaV_FORMAT_SAP ? sap : midas;
    return Run([&](CArchive& ar) {
      for (Member member : members) EXPECT_EQ((this->*member)(ar), 1);
    });
  }

 private:
  template <typename Body>
  static std::string Run(Body body) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    body(ar);
    ar.Close();
    const auto& bytes = file.GetData();
    return std::string(bytes.begin(), bytes.end());
  }
};

std::string Words(size_t count, const std::string& word) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += (i == 0 ? "" : " ") + word;
  return text;
}

TEST(WrapTest, StatementsAreCutBeforeColumnEighty) {
  const std::string c72(72, 'c'), d69(69, 'd'), token(78, 'T'), longToken(90, 'L');
  struct Case {
    std::string statement;
    int newline, wrap;
    std::string written;
  };
  const Case cases[] = {
      // 79 characters pass unchanged; 80 are reflowed even when they would fit.
      {"  a   b" + c72, 1, 1, "  a   b" + c72 + "\r\n"},
      {"A  B   C" + d69 + "   ", 1, 1, "A B C" + d69 + "\r\n"},
      // Continuation lines are indented two deeper and marked in column 80.
      {"   " + Words(20, "WORD"), 1, 1, "   " + Words(15, "WORD") + "  *\r\n     " + Words(5, "WORD") + "\r\n"},
      // A first token too long gives a line of blanks first.
      {"  " + token, 1, 1, std::string(79, ' ') + "*\r\n    " + token + "\r\n"},
      // A token too long for the room left carries the mark beyond column 80.
      {"A " + longToken + " B", 1, 1, "A" + std::string(78, ' ') + "*\r\n  " + longToken + " *\r\n  B\r\n"},
      // Without wrapping, or without a line end.
      {Words(30, "SAP"), 1, 0, Words(30, "SAP") + "\r\n"},
      {"  " + Words(20, "WORD"), 0, 1, "  " + Words(15, "WORD") + "   *\r\n    " + Words(5, "WORD")},
      {"  ", 0, 1, "  "},
      {"", 1, 1, "\r\n"},
  };
  WriterProbe probe;
  for (const Case& c : cases) EXPECT_EQ(probe.Emit(c.statement, c.newline, c.wrap), c.written) << c.statement;
}

// The legacy emitters: the own format's wraps its statements, the others
// write them as they are; the real texts follow the document's precision.
TEST(WrapTest, TheLineEmittersAndTheRealTextsOfTheDocument) {
  WriterProbe probe;
  const std::string words = "   " + Words(20, "WORD");
  EXPECT_EQ(probe.Printed(words),
            (std::vector<std::string>{"   " + Words(15, "WORD") + "  *\r\n     " + Words(5, "WORD") + "=7\r\n",
                                      words + "=7\r\n", words + "=7\r\n"}));
  EXPECT_EQ(WriterProbe::GetTextReal(2.0), "2.");
  EXPECT_EQ(probe.RealText(1.0 / 3), "0.333333");
  probe.SetRealPrecision(TaV_PRECISION_FULL);
  EXPECT_EQ(probe.RealText(1.0 / 3), "0.3333333333333333");
  CStringArray split;
  probe.SeperateText("  A  B C ", split);
  EXPECT_EQ(split, (CStringArray{"A", "B", "C"}));
}

TEST(WrapTest, LongStatementsTakeAsManyLinesAsTheyNeed) {
  const std::vector<std::string> lines = WrapStatement(Words(60, "ABCDEFGH"));
  ASSERT_EQ(lines.size(), 8U);
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].size(), 80U) << lines[i];
    EXPECT_EQ(lines[i].back(), '*') << lines[i];
    EXPECT_EQ(lines[i + 1].rfind("  A", 0), 0U) << lines[i + 1];
  }
}

TEST(SaveTest, TheSectionMembersInFileOrderWriteWhatSaveWrites) {
  WriterProbe doc;
  BuildExchangeModel(doc);
  for (TaV_INPUT_FORMAT format : {TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS}) {
    EXPECT_EQ(doc.WriteSections(format), SaveToString(doc, format)) << format;
  }
}

TEST(SaveTest, EmptyPathAsksTheDialogAndAPathThatCannotBeOpenedGivesZero) {
  CTavData doc;
  TempDir dir;
  EXPECT_EQ(doc.Save("", TaV_FORMAT_TAV), 0);  // the default dialog cancels
  EXPECT_EQ(doc.Save(dir.File("no/such/dir/model.tav"), TaV_FORMAT_TAV), 0);
  EXPECT_EQ(doc.Save(dir.Path().string(), TaV_FORMAT_TAV), 0);

  CString seenFilter;
  const std::string chosen = dir.File("chosen.TaV");
  SetSaveFileDialogHandler([&](const CString& filter, CString& path) {
    seenFilter = filter;
    path = chosen;
    return true;
  });
  EXPECT_EQ(doc.Save("", TaV_FORMAT_TAV), 1);
  SetSaveFileDialogHandler(nullptr);
  EXPECT_EQ(seenFilter, "TaV 파일 저장 (*.TaV)|*.TaV||");
  EXPECT_TRUE(std::filesystem::exists(chosen));
}

// A shorter text, or an unknown format's empty one, leaves nothing of the file before.
TEST(SaveTest, AnExistingFileIsReplacedAndWritingTwiceGivesTheSameBytes) {
  CTavData doc;
  doc.SetTitle("TWICE");
  doc.AddJoint(1, 2, 3, -1);
  TempDir dir;
  const std::string path = dir.File("model.tav");
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  const std::string first = ReadFileBytes(path);
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  EXPECT_EQ(ReadFileBytes(path), first);
  doc.SetTitle("T");
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  EXPECT_EQ(ReadFileBytes(path).size(), first.size() - 4);
  for (int unknown : {7, -1}) {
    ASSERT_EQ(doc.Save(path, static_cast<TaV_INPUT_FORMAT>(unknown)), 1);
    EXPECT_EQ(ReadFileBytes(path), "") << unknown;
  }
}

TEST(SaveTest, AWriteErrorReachesTheHost) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  CTavData doc;
  EXPECT_THROW(doc.Save("/dev/full", TaV_FORMAT_TAV), FileError);
}

}  // namespace
}  // namespace tav::test
