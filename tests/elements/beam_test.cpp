#include "tav/elements/TavBeam.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/Records.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

// A new beam has every release bit set but no end flagged.
TEST(BeamTest, EndSelectionAndSpareBits) {
  CTavBeam beam;
  beam.SetEndRelease(1, false, false, false, false, true, true);
  EXPECT_EQ(beam.GetEndRelease(1).byFlags, 0xC0 | 0x30);
  EXPECT_EQ(beam.GetEndRelease(0).byFlags, 0xFF);
  beam.SetEndRelease(0, true, false, false, false, false, false);
  EXPECT_EQ(beam.GetEndRelease(0).byFlags, 0xC1);
  beam.SetEndRelease(2, false, false, false, false, false, false);  // any non-zero value is end I
  EXPECT_EQ(beam.GetEndRelease(1).byFlags, 0xC0);
  EXPECT_EQ(beam.GetEndRelease(-1).byFlags, 0xC0);
  EXPECT_EQ(beam.IsEndRelease(), 0);  // the end flags are not touched
  beam.m_bReleaseJ = 1;
  EXPECT_NE(beam.IsEndRelease(), 0);
}

TEST(BeamTest, ExtensionTextAndOffsets) {
  CTavBeam beam;
  EXPECT_EQ(beam.GetStringExt(), "");
  EXPECT_EQ(beam.IsExistOffset(), 0);
  beam.m_bReleaseI = 1;
  beam.m_dOffsetI = 0.5;
  EXPECT_EQ(beam.GetStringExt(), "END RELEASE=MTI  IOFFSET=0.5 JOFFSET=0");
  beam.m_bReleaseJ = 1;
  beam.m_dOffsetI = 0.0;
  EXPECT_EQ(beam.GetStringExt(), "END RELEASE=MTI MTJ ");
  beam.m_bReleaseI = 0;
  beam.m_dRigid = 0.75;
  beam.m_dNReg = 10;
  EXPECT_EQ(beam.GetStringExt(), "END RELEASE=MTJ  RIGID=0.75 NREG=10");
  beam.m_bReleaseJ = 0;
  beam.m_dOffsetJ = 1e10;
  EXPECT_EQ(beam.GetStringExt(), "IOFFSET=0 JOFFSET=1e+010 RIGID=0.75 NREG=10");
  EXPECT_EQ(beam.IsExistOffset(), 1);  // one offset is enough
}

TEST(BeamTest, EndReleaseText) {
  CTavBeam beam;
  EXPECT_EQ(beam.GetStringEndRelrease(TaV_SEPERATE_BLANK), "");
  beam.m_bReleaseI = 1;
  beam.SetEndRelease(1, false, false, false, false, true, true);
  EXPECT_EQ(beam.GetStringEndRelrease(TaV_SEPERATE_BLANK), " IREL=R2 R3");
  EXPECT_EQ(beam.GetStringEndRelrease(TaV_SEPERATE_COMMA), " IREL=R2,R3");
  beam.m_bReleaseJ = 1;
  beam.SetEndRelease(0, false, false, false, false, false, false);
  EXPECT_EQ(beam.GetStringEndRelrease(TaV_SEPERATE_COMMA), " IREL=R2,R3 JREL=");
  beam.m_bReleaseI = 0;
  beam.SetEndRelease(0, true, true, true, true, true, true);
  EXPECT_EQ(beam.GetStringEndRelrease(TaV_SEPERATE_COMMA), " JREL=U1,U2,U3,R1,R2,R3");
}

// Version 1 has 70 bytes; version 0 has neither release sets (a new beam's
// stay) nor segments, in 60.
TEST(BeamTest, RecordComesBackWholeAndVersionZeroLacksReleaseSetsAndSegments) {
  CTavData doc;
  CTavGroupElement* group = doc.AddGroupElement();
  doc.AddBeam(group, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  CTavBeam* beam = doc.AddBeam(group, 3, 5, 2, 90.0, 1, 0, 0.25, -0.5, 0.8, 7.0);  // beam 1
  beam->SetEndRelease(1, false, false, false, false, false, true);
  beam->SetEndRelease(0, true, false, false, false, false, false);
  EXPECT_EQ(test::RoundTrip(*beam).size(), 70U);

  const auto v0 = test::Bytes([](CArchive& ar) {
    ar << int32_t{0} << int32_t{4} << int32_t{1} << int32_t{2} << 90.0 << int32_t{3} << int32_t{1} << int32_t{1} << 0.25
       << -0.5 << 0.8;
  });
  ASSERT_EQ(v0.size(), 60U);
  CTavBeam back;
  EXPECT_EQ(test::LoadRecord(v0, back), 0U);
  auto v1 = v0;
  v1.insert(v1.end(), {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0});
  v1[0] = 1;
  EXPECT_EQ(test::StoreRecord(back), v1);

  auto future = v0;
  future[0] = 2;  // a version this program does not know
  EXPECT_THROW(test::LoadRecord(future, back), ArchiveError);
}

TEST(BeamTest, LengthIsTheDistanceBetweenTheJoints) {
  CTavData doc;
  test::AddBeamBetween(doc, {1.0, 1.0, 1.0}, {4.0, 5.0, 13.0});
  EXPECT_DOUBLE_EQ(doc.GetLengthBeam(0), 13.0);
}

}  // namespace
}  // namespace tav
