// The Midas input in both layouts, and the Midas text of beam loads.
#include <gtest/gtest.h>

#include "support/Golden.h"
#include "support/Models.h"
#include "tav/writers/MidasInputWriter.h"
#include "writers/WriterTesting.h"

namespace tav::test {
namespace {

constexpr const char* kSeparator = "\n";  // a separator line reads "\n\r\n" in the file

// A block's keyword line and the comment lines after it, as the golden
// file of the 4.3.0 layout has them.
std::string CommentBlock(const std::string& keyword) {
  const std::string golden = ReadFileBytes(GoldenPath("midas_exchange_430.mct"));
  const size_t begin = golden.find(keyword + "\r\n");
  if (begin == std::string::npos) return "no " + keyword + " in the golden file";
  size_t end = golden.find("\r\n", begin) + 2;
  while (golden[end] == ';') end = golden.find("\r\n", end) + 2;
  return golden.substr(begin, end - begin);
}

std::string Head(const char* title, const char* version) {
  return CrLfLines({title, "*VERSION", version, kSeparator, "*UNIT", ";  FORCE, LENGTH", "KN, M", kSeparator,
                    "*STRUCTYPE", ";  iSTYP, iSMAS, GRAV, TEMPER, bALIGNBEAM, bALIGNSLAB",
                    "   1,   0,   9.806,   0.0,    NO,   NO", kSeparator});
}

// The end of a 4.3.0 file without combinations: their block under a version of its own.
std::string End430() {
  return CrLfLines({"*VERSION", "4.3.2", kSeparator, "LOADCOMB", "; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1",
                    ";      ANAL1, LCNAME1, FACT1, ...        ; from line 2", "*VERSION", "4.3.0", kSeparator,
                    "*ENDDATA"});
}

TEST(MidasWriterTest, WorkedExampleIsByteExact) {
  CTavData doc;
  BuildSmallFrame(doc, "LC1");
  const std::string expected =
      Head("; <FRAME>", "4.3.0") +
      CrLfLines({"*NODE", ";  iNO, X, Y, Z", "   1,  0,  0,  0", "   2,  0,  0,  3", kSeparator}) +
      CommentBlock("*ELEMENT") + CrLfLines({"    1,   BEAM,   1,   1,   1,   2,   0", kSeparator}) +
      CommentBlock("*MATERIAL") + CrLfLines({"1, USER, Mat1, 2, 2.1e+007, 0, 9.99e-006, 0", kSeparator}) +
      CommentBlock("*SECTION") + CrLfLines({"1, DBUSER, Sec1, SB, 2, 0.3, 0.5, 0, 0, 0, 0", kSeparator}) +
      CrLfLines({"*SPRING", "; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ", kSeparator}) +
      CrLfLines({"*STLDCASE", "; LCNAME, LCTYPE, DESC", "LC1, USER", kSeparator}) +
      CrLfLines({"*USE-STLD, LC1 \n", "*CONLOAD", "; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP",
                 "    2, 10, 0, 0, 0, 0, 0", "; End of data for load case [LC1] -------------------------", kSeparator,
                 kSeparator}) +
      End430();
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS), expected);
}

TEST(MidasWriterTest, EmptyModel) {
  CTavData doc;
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS), Head("; <>", "4.3.0") + End430());
  doc.SetMidasVersion("7.2.0");
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS),
            Head("; <>", "7.2.0") + CrLfLines({"LOADCOMB", "; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1",
                                               ";      ANAL1, LCNAME1, FACT1, ...        ; from line 2", "*ENDDATA"}));
}

TEST(MidasWriterTest, ALinkGroupAloneGivesEmptyBlocks) {
  CTavData doc;
  doc.AddGroupNllink();
  doc.SetMidasStructType(0);
  doc.SetMidasMassOption(1);
  EXPECT_EQ(SplitLines(WriteSection(doc, &MidasInputWriter::WriteStructType))[2],
            "   0,   1,   9.806,   0.0,    NO,   NO");
  EXPECT_EQ(WriteSection(doc, &MidasInputWriter::WriteElements), CommentBlock("*ELEMENT") + CrLfLines({kSeparator}));
  EXPECT_EQ(WriteSection(doc, &MidasInputWriter::WriteMaterials), CommentBlock("*MATERIAL") + CrLfLines({kSeparator}));
  EXPECT_EQ(WriteSection(doc, &MidasInputWriter::WriteSections), CommentBlock("*SECTION") + CrLfLines({kSeparator}));
  EXPECT_EQ(WriteSection(doc, &MidasInputWriter::WriteSprings),
            CrLfLines({"*SPRING", "; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ", kSeparator}));
}

TEST(MidasWriterTest, ExchangeModelInEachVersion) {
  CTavData doc;
  BuildExchangeModel(doc);
  EXPECT_TRUE(MatchesGolden("midas_exchange_430.mct", SaveToString(doc, TaV_FORMAT_MIDAS)));
  doc.SetMidasVersion("7.2.0");
  EXPECT_TRUE(MatchesGolden("midas_exchange_720.mct", SaveToString(doc, TaV_FORMAT_MIDAS)));
  // A version only named writes neither layout.
  doc.SetMidasVersion("8.0.0");
  const std::string text = SaveToString(doc, TaV_FORMAT_MIDAS);
  for (const char* layoutOnly : {"Mat1", "Sec1", "NAME=ULS", "; NODE_LIST, SDX", "; NODE_LIST, TYPE", "4.3.2"}) {
    EXPECT_EQ(text.find(layoutOnly), std::string::npos) << layoutOnly;
  }
  EXPECT_NE(text.find("*VERSION\r\n8.0.0\r\n"), std::string::npos);
}

TEST(MidasWriterTest, SelfWeightOnlyCase) {
  CTavData doc;
  doc.AddLoadStatic("SW", 0)->AddSelfWeight(TaV_DIR_X, 3.0, 1.0, 0);
  EXPECT_EQ(WriteSection(doc, &MidasInputWriter::WriteLoadCases),
            CrLfLines({"*USE-STLD, SW \n", "*SELFWEIGHT, 0, 0, -1",
                       "; End of data for load case [SW] -------------------------", kSeparator, kSeparator}));
}

TEST(MidasTextTest, BeamLoadRecordsUseFractionsOfTheLength) {
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_Y, 5, 6, 1, 3, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Midas(4.0),
            "3, BEAM, UNILOAD, GY, NO, NO, aDir[1],  ,  ,  , 0.25, 5, 0.75, 6, 0, 0, 0, 0");

  const TaV_TYPED_LOAD x{1, 0, {-7.0, 99.0}, {0.5, 0.9}};
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, x, {}, x, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->GetStringLoad_Midas(10.0),
            "1, BEAM, CONLOAD, GX, NO, NO, aDir[1],  ,  ,  , 0.5, -7, 0, 0, 0, 0, 0, 0\r\n"
            "1, BEAM, CONLOAD, GZ, NO, NO, aDir[1],  ,  ,  , 0.5, -7, 0, 0, 0, 0, 0, 0");
  loadCase.AddLoadStatic_Beam(0, TaV_BEAMLOAD_MOMENT, {}, x, {}, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(2)->GetStringLoad_Midas(2.0),
            "1, BEAM, CONMOMENT, GY, NO, NO, aDir[1],  ,  ,  , 0.25, -7, 0, 0, 0, 0, 0, 0");
  loadCase.AddLoadStatic_Beam(0, static_cast<TaV_BEMALOAD_TYPE>(3), x, {}, {}, 0, 0);
  EXPECT_EQ(loadCase.GetLoadBeam(3)->GetStringLoad_Midas(2.0), "");
}

}  // namespace
}  // namespace tav::test
