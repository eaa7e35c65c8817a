#include <gtest/gtest.h>

#include "support/Golden.h"
#include "support/Models.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

using test::CrLfLines;
using test::MatchesGolden;
using test::SaveToString;

constexpr const char* kSeparator = "\n";  // a separator line reads "\n\r\n" in the file

const std::initializer_list<const char*> kElementComments = {
    "*ELEMENT",
    "; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB, EXVAL            ; Frame Element",
    "; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iSUB, iWID          ; Plane Element",
    "; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iN5, iN6, iN7, iN8  ; Solid Element",
};

const std::initializer_list<const char*> kMaterialComments = {
    "*MATERIAL",
    "; iMAT, TYPE, MNAME, [DATA]          ; STEEL, CONC, USER",
    "; iMAT, TYPE, MNAME, [DATA], [DATA]  ; SRC",
    "; [DATA] : 1, DB, NAME or 2, ELAST, POISN, THERMAL, DEN",
};

const std::initializer_list<const char*> kSectionComments = {
    "*SECTION",
    "; iSEC, TYPE, SNAME, SHAPE, [DATA]                           ; DB/USER",
    "; iSEC, TYPE, SNAME, SHAPE, BLT, D1, D2, D3, D4, D5, D6     ; 1st line - VALUE",
    ";       AREA, ASY, ASZ, IXX, IYY, IZZ                        ; 2nd line",
    ";       CYP, CYM, CZP, CZM, QYB, QZB, PERI                   ; 3rd line",
    "; iSEC, TYPE, SNAME, SHAPE, iREPLACE, ELAST, DEN, POIS, POIC ; 1st line - SRC",
    ";       D1, D2, [DATA]                                       ; 2nd line",
    "; iSEC, TYPE, SNAME, SHAPE, 1, DB, NAME1, NAME2, D1, D2      ; COMBINED",
    "; iSEC, TYPE, SNAME, SHAPE, 2, D11, D12, D13, D14, D15, D21, D22, D23, D24",
    "; iSEC, TYPE, SNAME, SHAPE, iYVAR, iZVAR, STYPE              ; 1st line - TAPERED",
    ";       DB, NAME1, NAME2                                     ; 2nd line(STYPE=DB)",
    ";       [DIM1], [DIM2]                                       ; 2nd line(STYPE=USER)",
    ";       D11, D12, D13, D14, D15, D16                         ; 2nd line(STYPE=VALUE)",
    ";            AREA1, ASY1, ASZ1, IXX1, IYY1, IZZ1             ; 3rd line(STYPE=VALUE)",
    ";            CYP1, CYM1, CZP1, CZM1, QYB1, QZB1, PERI1       ; 4th line(STYPE=VALUE)",
    ";       D21, D22, D23, D24, D25, D26                         ; 5th line(STYPE=VALUE)",
    ";            AREA2, ASY2, ASZ2, IXX2, IYY2, IZZ2             ; 6th line(STYPE=VALUE)",
    ";            CYP2, CYM2, CZP2, CZM2, QYB2, QZB2, PERI2       ; 7th line(STYPE=VALUE)",
    "; iSEC, TYPE, SNAME, STYPE1, STYPE2                          ; 1st line - CONSTRUCT",
    ";       SHAPE, ...(same with other type data from shape)     ; Before (STYPE1)",
    ";       SHAPE, ...(same with other type data from shape)     ; After  (STYPE2)",
    "; [DATA] : 1, DB, NAME or 2, D1, D2, D3, D4, D5, D6",
    "; [DIM1], [DIM2] : D1, D2, D3, D4, D5, D6",
};

std::string Lines(std::initializer_list<const char*> lines) { return CrLfLines(lines); }

std::string Head(const char* title, const char* version) {
  return CrLfLines({title, "*VERSION", version, kSeparator, "*UNIT", ";  FORCE, LENGTH", "KN, M", kSeparator,
                    "*STRUCTYPE", ";  iSTYP, iSMAS, GRAV, TEMPER, bALIGNBEAM, bALIGNSLAB",
                    "   1,   0,   9.806,   0.0,    NO,   NO", kSeparator});
}

std::string Combinations430(std::initializer_list<const char*> combos) {
  return CrLfLines({"*VERSION", "4.3.2", kSeparator, "LOADCOMB", "; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1",
                    ";      ANAL1, LCNAME1, FACT1, ...        ; from line 2"}) +
         CrLfLines(combos) + CrLfLines({"*VERSION", "4.3.0", kSeparator});
}

TEST(MidasWriterTest, WorkedExampleIsByteExact) {
  CTavData doc;
  test::BuildSmallFrame(doc, "LC1");
  const std::string expected =
      Head("; <FRAME>", "4.3.0") +
      Lines({"*NODE", ";  iNO, X, Y, Z", "   1,  0,  0,  0", "   2,  0,  0,  3", kSeparator}) +
      Lines(kElementComments) + Lines({"    1,   BEAM,   1,   1,   1,   2,   0", kSeparator}) +
      Lines(kMaterialComments) + Lines({"1, USER, Mat1, 2, 2.1e+007, 0, 9.99e-006, 0", kSeparator}) +
      Lines(kSectionComments) + Lines({"1, DBUSER, Sec1, SB, 2, 0.3, 0.5, 0, 0, 0, 0", kSeparator}) +
      Lines({"*SPRING", "; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ", kSeparator}) +
      Lines({"*STLDCASE", "; LCNAME, LCTYPE, DESC", "LC1, USER", kSeparator}) +
      Lines({"*USE-STLD, LC1 \n", "*CONLOAD", "; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP", "    2, 10, 0, 0, 0, 0, 0",
             "; End of data for load case [LC1] -------------------------", kSeparator, kSeparator}) +
      Combinations430({}) + Lines({"*ENDDATA"});
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS), expected);
}

TEST(MidasWriterTest, EmptyModel) {
  CTavData doc;
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS), Head("; <>", "4.3.0") + Combinations430({}) + Lines({"*ENDDATA"}));

  doc.SetMidasVersion("7.2.0");
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_MIDAS),
            Head("; <>", "7.2.0") + Lines({"LOADCOMB", "; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1",
                                           ";      ANAL1, LCNAME1, FACT1, ...        ; from line 2", "*ENDDATA"}));
}

TEST(MidasWriterTest, ALinkGroupAloneGivesEmptyBlocks) {
  CTavData doc;
  doc.AddGroupNllink();
  doc.SetMidasStructType(0);
  doc.SetMidasMassOption(1);
  const std::string text = SaveToString(doc, TaV_FORMAT_MIDAS);
  EXPECT_NE(text.find("   0,   1,   9.806,   0.0,    NO,   NO\r\n"), std::string::npos);
  const std::string blocks = Lines(kElementComments) + Lines({kSeparator}) + Lines(kMaterialComments) +
                             Lines({kSeparator}) + Lines(kSectionComments) + Lines({kSeparator}) +
                             Lines({"*SPRING", "; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ", kSeparator});
  EXPECT_NE(text.find(blocks), std::string::npos);
}

TEST(MidasWriterTest, ExchangeModelGoldens) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  EXPECT_TRUE(MatchesGolden("midas_exchange_430.mct", SaveToString(doc, TaV_FORMAT_MIDAS)));
  doc.SetMidasVersion("7.2.0");
  EXPECT_TRUE(MatchesGolden("midas_exchange_720.mct", SaveToString(doc, TaV_FORMAT_MIDAS)));
}

TEST(MidasWriterTest, ANameOnlyVersionWritesNeitherLayout) {
  CTavData doc;
  test::BuildExchangeModel(doc);
  doc.SetMidasVersion("8.0.0");
  const std::string text = SaveToString(doc, TaV_FORMAT_MIDAS);
  EXPECT_EQ(text.find("Mat1"), std::string::npos);
  EXPECT_EQ(text.find("Sec1"), std::string::npos);
  EXPECT_EQ(text.find("NAME=ULS"), std::string::npos);
  EXPECT_EQ(text.find("; NODE_LIST, SDX"), std::string::npos);
  EXPECT_EQ(text.find("; NODE_LIST, TYPE"), std::string::npos);
  EXPECT_EQ(text.find("4.3.2"), std::string::npos);
  EXPECT_NE(text.find("*VERSION\r\n8.0.0\r\n"), std::string::npos);
}

TEST(MidasWriterTest, SelfWeightOnlyCase) {
  CTavData doc;
  doc.AddLoadStatic("SW", 0)->AddSelfWeight(TaV_DIR_X, 3.0, 1.0, 0);
  const std::string text = SaveToString(doc, TaV_FORMAT_MIDAS);
  EXPECT_NE(text.find(Lines({"*USE-STLD, SW \n", "*SELFWEIGHT, 0, 0, -1",
                             "; End of data for load case [SW] -------------------------", kSeparator, kSeparator})),
            std::string::npos);
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
}  // namespace tav
