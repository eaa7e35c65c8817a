#include "tav/elements/TavGroupSpring.h"

#include <gtest/gtest.h>

#include "support/Records.h"

namespace tav {
namespace {

// Springs are numbered whatever they name; new constants are single-degree.
TEST(SpringTest, SpringsAndConstantsAreNumberedInTheirGroup) {
  CTavGroupSpring group;
  EXPECT_EQ(group.GetType(), 1);
  EXPECT_EQ(group.AddSpring(5, 9), 0);
  EXPECT_EQ(group.AddSpring(5, 9), 1);
  EXPECT_EQ(group.GetCountSpring(), 2);
  EXPECT_EQ(group.GetSpring(1)->nIndex, 1);
  group.AddSpringConstants(1, 2, 3);
  const CTavSpringConstant* k = group.AddSpringConstants(1000, 2000, 3000);
  EXPECT_EQ(k->m_nIndex, 1);
  EXPECT_EQ(k->m_bMultiDof, 0);
  EXPECT_EQ(group.GetCountSpingConstant(), 2);
  EXPECT_EQ(group.GetSpingConstant(1), k);
}

TEST(SpringTest, ConstantRecordKeepsItsValuesAndFlag) {
  CTavSpringConstant k;
  k.m_nIndex = 3;
  k.m_bMultiDof = 1;
  for (int i = 0; i < 6; ++i) {
    k.m_dStiffness[i] = 10.0 + i;
    k.m_dSpringAux1[i] = 20.0 + i;
    k.m_dSpringAux2[i] = 30.0 + i;
  }
  const auto bytes = test::StoreRecord(k);
  ASSERT_EQ(bytes.size(), 156U);
  // Interleaved by degree of freedom: the second double is the first aux value.
  CMemFile file(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 24));
  CArchive ar(&file, CArchive::load);
  double second = 0.0;
  ar >> second;
  EXPECT_EQ(second, 20.0);

  CTavSpringConstant back;
  test::RoundTrip(k, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);

  // Version 0: 152 bytes and no flag.
  std::vector<uint8_t> v0 = bytes;
  v0.resize(bytes.size() - 4);
  v0[0] = 0;
  ASSERT_EQ(v0.size(), 152U);
  CTavSpringConstant old;
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(old.m_bMultiDof, 0);
  EXPECT_EQ(old.m_dSpringAux2[5], 35.0);
}

TEST(SpringTest, GroupRecordCountsItsSprings) {
  CTavGroupSpring group;
  group.AddSpringConstants(1, 2, 3);
  group.AddSpring(0, 4);
  group.AddSpring(0, 4);
  group.AddSpring(0, 7);
  const auto bytes = test::StoreRecord(group);
  EXPECT_EQ(bytes.size(), 4U + 4U + 156U + 4U + 3 * 12U);

  CTavGroupSpring back;
  back.AddSpringConstants(9, 9, 9);
  back.AddSpringConstants(9, 9, 9);
  back.AddSpring(1, 1);
  EXPECT_EQ(test::LoadRecord(bytes, back), 0U);
  EXPECT_EQ(back.GetCountSpingConstant(), 1);
  EXPECT_EQ(back.GetSpingConstant(0)->m_dStiffness[0], 1.0);
  ASSERT_EQ(back.GetCountSpring(), 3);
  EXPECT_EQ(back.GetSpring(2)->nJoint, 7);
  EXPECT_EQ(back.GetSpring(1)->nIndex, 1);
}

TEST(SpringTest, VersionZeroGroupRecordFillsTheSpringsHeld) {
  const auto v0 = test::Bytes([](CArchive& ar) {
    ar << int32_t{0} << int32_t{0};                // version, no constants
    ar << int32_t{0} << int32_t{2} << int32_t{5};  // one entry, no count before it
  });
  CTavGroupSpring back;
  back.AddSpring(0, 0);
  EXPECT_EQ(test::LoadRecord(v0, back), 0U);
  ASSERT_EQ(back.GetCountSpring(), 1);
  EXPECT_EQ(back.GetSpring(0)->nConstant, 2);
  EXPECT_EQ(back.GetSpring(0)->nJoint, 5);
}

TEST(SpringTest, ASpringCountBeyondTheRecordIsAnError) {
  CTavGroupSpring group;
  group.AddSpring(0, 1);
  auto bytes = test::StoreRecord(group);
  bytes[8] = 0x02;  // two springs claimed, one present
  CTavGroupSpring back;
  EXPECT_THROW(test::LoadRecord(bytes, back), ArchiveError);
}

}  // namespace
}  // namespace tav
