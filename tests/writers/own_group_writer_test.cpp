// The element groups of the own input.
#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/Golden.h"
#include "tav/writers/OwnInputWriter.h"
#include "writers/WriterTesting.h"

namespace tav::test {
namespace {

std::string Groups(const CTavData& doc) { return WriteSection(doc, &OwnInputWriter::WriteGroups); }

// Groups in the order beam, spring, link, beam; beams with every kind of
// extension; both kinds of spring constant; links with one- and two-digit
// joint numbers.
void BuildMixedModel(CTavData& doc) {
  doc.SetTitle("GROUPS");
  for (int i = 0; i < 12; ++i) doc.AddJoint(0.0, 0.0, 3.0 * i, i == 0, i == 0, i == 0, i == 0, i == 0, i == 0, -1);

  CTavGroupElement* columns = doc.AddGroupElement();
  columns->AddSection_Rect(2.1e7, 0.3, 0.5);          // computed while written
  columns->AddSection(TaV_SECTION_GENERAL, nullptr);  // every value 0
  columns->AddSection(2.0e8, 0.3, 8.0e-5, 2.0e-5, 6.0e-3, 78.5, 0, 1.2e-6, 3.0e-3, 2.5e-3);
  doc.AddBeam(columns, 0, 0, 1, 0.0, 0, 0, 0, 0, 0, 0);  // no extension
  CTavBeam* releasedI = doc.AddBeam(columns, 1, 1, 2, 90.0, 1, 0, 0.5, 0.0, 0, 0);
  releasedI->SetEndRelease(1, false, false, false, false, true, true);
  doc.AddBeam(columns, 2, 2, 3, -30.0, 0, 1, 0, 0, 0.75, 0);       // J only, rigid factor
  doc.AddBeam(columns, 0, 3, 4, 0.0, 1, 1, 0, 0, 0, 8);            // both ends, own segments
  doc.AddBeam(columns, 2, 4, 5, 45.5, 1, 1, 12.5, 1e-5, 0.5, 10);  // long enough to wrap

  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(1000.0, 2000.0, 3000.0);
  springs->AddSpringConstants(5e6, 0.0, 2.5)->m_bMultiDof = 1;
  springs->AddSpring(0, 0);
  springs->AddSpring(1, 5);
  springs->AddSpring(1, 5);  // both kept

  CTavGroupNllink* links = doc.AddGroupNllink();
  links->AddNllinkConstants(1e5, 0.1, 0.2, 0.3);
  links->AddNllinkConstants(250.0, 0, 0, 0);
  doc.AddNllink(links, 2, 3, 0, 0.0);
  doc.AddNllink(links, 9, 10, 1, 15.0);
  doc.AddNllink(links, 10, 2, 1, 0.0);

  CTavGroupElement* beams = doc.AddGroupElement();
  CTavSection* computed = beams->AddSection_Rect(3.0e7, 0.4, 0.8);
  computed->AutoPropCalc();
  for (int i = 5; i < 11; ++i) doc.AddBeam(beams, 0, i, i + 1, 0.0, 0, 0, 0, 0, 0, 0);
}

// The writer alone leaves the document as it is; saving keeps the values.
TEST(OwnGroupWriterTest, MixedGroupsGoldenAndRectanglePropertiesKeptOnSaving) {
  CTavData doc;
  BuildMixedModel(doc);
  const CTavSection* rect = static_cast<CTavGroupElement*>(doc.GetGroup(0))->GetSection(0);
  const std::string written = WriteSection(doc, &OwnInputWriter::Write);
  EXPECT_EQ(rect->m_dIS, 0.0);
  const std::string first = SaveToString(doc, TaV_FORMAT_TAV);
  EXPECT_TRUE(MatchesGolden("own_groups_mixed.tav", first));
  EXPECT_EQ(first, written);
  EXPECT_DOUBLE_EQ(rect->m_dIS, 0.003125);
  EXPECT_EQ(SaveToString(doc, TaV_FORMAT_TAV), first);
}

TEST(OwnGroupWriterTest, EmptyGroupsGiveZeroCountsAndBeamsTheOptionsSegmentCount) {
  CTavData doc;
  doc.AddGroupNllink();
  doc.AddGroupSpringConstants();
  doc.AddGroupElement();
  AddBeamBetween(doc, {0, 0, 0}, {1, 0, 0});
  doc.GetGlobalOption()->m_nForceSegments = 12;
  EXPECT_EQ(Groups(doc),
            CrLfLines({"NLLINK ELEMENT GROUP 1 NUMBER OF ELEMENTS=0 NUMBER OF CONSTANTS=0",
                       "SUPPORT SPRING GROUP 2 NUMBER OF ELEMENTS=0 NUMBER OF CONSTANTS=0",
                       "BEAM ELEMENT GROUP 3 NUMBER OF ELEMENTS=0", "BEAM ELEMENT GROUP 4 NUMBER OF ELEMENTS=1",
                       "    1 MATERIAL=1 NOAN=1 2 0. NREG=12 "}));
}

}  // namespace
}  // namespace tav::test
