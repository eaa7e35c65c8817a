// The Sap input, and the Sap texts of sections, springs and beam loads.
#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/Golden.h"
#include "support/Models.h"
#include "tav/writers/SapInputWriter.h"
#include "writers/WriterTesting.h"

namespace tav::test {
namespace {

TEST(SapWriterTest, EmptyModelAndBlocksWithoutRows) {
  CTavData doc;
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_SAP),
            CrLfLines({"<  >", "SYSTEM", "   DOF=UX,UY,UZ,RX,RY,RZ LENGTH=M FORCE=kN", "OUTPUT",
                       "   ELEM=JOINT   TYPE=REAC,DISP,APP      LOAD=*  COMB=*  HIST=*  SPEC=*",
                       "   ELEM=FRAME   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*",
                       "   ELEM=SHELL   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*"}));
  // A joint without restraints; a group of one multi-degree spring, and an empty group.
  doc.AddJoint(0, 0, 0, -1);
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(1, 2, 3)->m_bMultiDof = 1;
  springs->AddSpring(0, 0);
  doc.AddGroupSpringConstants();
  EXPECT_EQ(WriteSection(doc, &SapInputWriter::WriteJoints), CrLfLines({"JOINT", "  1  X=0. Y=0. Z=0."}));
  EXPECT_EQ(WriteSection(doc, &SapInputWriter::WriteRestraints), CrLfLines({"RESTRAINT"}));
  EXPECT_EQ(WriteSection(doc, &SapInputWriter::WriteSprings), CrLfLines({"SPRING"}));
  EXPECT_EQ(SplitLines(SaveToString(doc, TaV_FORMAT_SAP)).size(), 11U);
}

TEST(SapWriterTest, ExchangeModelGolden) {
  CTavData doc;
  BuildExchangeModel(doc);
  EXPECT_TRUE(MatchesGolden("sap_exchange.s2k", SaveToString(doc, TaV_FORMAT_SAP)));
}

// Each case's first beam load chooses the one sub-header of its beam loads.
TEST(SapWriterTest, TheFirstBeamLoadChoosesTheSubHeader) {
  CTavData doc;
  AddBeamBetween(doc, {0, 0, 0}, {1, 0, 0});
  const TaV_TYPED_LOAD y{1, 0, {3}, {0.5}};
  CTavLoadStatic* loadCase = doc.AddLoadStatic("P", 0);
  loadCase->AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, {}, y, {}, 0, 0);
  loadCase->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, 1, 2, 0, 1, 0, 0);
  doc.AddLoadStatic("W", 1)->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, 1, 2, 0, 1, 0, 0);
  EXPECT_EQ(WriteSection(doc, &SapInputWriter::WriteLoads),
            CrLfLines({"LOAD", "NAME=P  SW=0", "   TYPE=CONCENTRATED SPAN", "      ADD=1 RD=0.5 UY=3",
                       "      ADD=1 RD=0,1 UZ=1, 2", "NAME=W  SW=1", "   TYPE=DISTRIBUTED SPAN",
                       "      ADD=1 RD=0,1 UZ=1, 2"}));
}

TEST(SapTextTest, SectionSpringAndBeamLoadTexts) {
  CTavGroupElement group;
  EXPECT_EQ(group.AddSection_Rect(1.0, 0.3, 0.5)->GetStringSectionProp_Sap(), "Name=1  Mat=1  SH=R T=0.3,0.5");
  CTavSection* general = group.AddSection(1, 0, 2, 3, 4, 0, 0, 5, 0, 0);
  EXPECT_EQ(general->GetStringSectionProp_Sap(), "Name=2  Mat=2  A=4  I=3,2 J=5");
  general->m_eType = static_cast<TaV_SECTION_TYPE>(4);
  EXPECT_EQ(general->GetStringSectionProp_Sap(), "Name=2  Mat=2  A=4  I=3,2 J=5");

  CTavSpringConstant k;
  EXPECT_EQ(k.GetStringValue_Sap(), "");
  k.m_dStiffness[1] = 2.0;
  k.m_dStiffness[3] = 9.0;  // rotations are not written
  EXPECT_EQ(k.GetStringValue_Sap(), "U2=2.");

  const TaV_TYPED_LOAD x{1, 0, {4.0}, {1.5}};
  CTavLoadStatic loadCase;
  loadCase.AddLoadStatic_Beam(6, TaV_BEAMLOAD_MOMENT, x, {}, x, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(0)->GetStringLoad_Sap(), "ADD=7 D=1.5 RX=4\r\n      ADD=7 D=1.5 RZ=4");
  loadCase.AddLoadStatic_Beam(6, static_cast<TaV_BEMALOAD_TYPE>(3), x, {}, x, 0, 1);
  EXPECT_EQ(loadCase.GetLoadBeam(1)->GetStringLoad_Sap(), "");
}

}  // namespace
}  // namespace tav::test
