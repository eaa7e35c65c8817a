#include "tav/elements/TavGroupSpring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "support/Records.h"

namespace tav {
namespace {

// Springs are numbered whatever they name; new constants are single-degree.
// Loading resizes the constants and springs held.
TEST(SpringTest, SpringsAndConstantsAreNumberedAndTheGroupRecordCountsThem) {
  CTavGroupSpring group;
  EXPECT_EQ(group.GetType(), 1);
  EXPECT_EQ(group.AddSpring(5, 9), 0);
  EXPECT_EQ(group.AddSpring(5, 9), 1);
  EXPECT_EQ(group.GetSpring(1)->nIndex, 1);
  group.AddSpringConstants(1, 2, 3);
  const CTavSpringConstant* k = group.AddSpringConstants(1000, 2000, 3000);
  EXPECT_EQ(std::tuple(k->m_nIndex, k->m_bMultiDof), std::tuple(1, 0));
  EXPECT_EQ(group.GetSpingConstant(1), k);

  CTavGroupSpring back;
  for (int i = 0; i < 3; ++i) back.AddSpringConstants(9, 9, 9);
  back.AddSpring(1, 1);
  EXPECT_EQ(test::RoundTrip(group, back).size(), 4U + 4U + 2 * 156U + 4U + 2 * 12U);
  EXPECT_EQ(std::tuple(back.GetCountSpingConstant(), back.GetCountSpring()), std::tuple(2, 2));

  auto bytes = test::StoreRecord(group);
  bytes[8 + 2 * 156] = 0x03;  // three springs claimed, two present
  EXPECT_THROW(test::LoadRecord(bytes, back), ArchiveError);
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
  const auto bytes = test::RoundTrip(k);
  ASSERT_EQ(bytes.size(), 156U);
  // Interleaved by degree of freedom.
  const auto first = test::Bytes([](CArchive& ar) { ar << int32_t{1} << int32_t{3} << 10.0 << 20.0 << 30.0 << 11.0; });
  EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin()));

  // Version 0: 152 bytes and no flag.
  std::vector<uint8_t> v0(bytes.begin(), bytes.end() - 4);
  v0[0] = 0;
  CTavSpringConstant old;
  EXPECT_EQ(test::LoadRecord(v0, old), 0U);
  EXPECT_EQ(std::tuple(old.m_bMultiDof, old.m_dSpringAux2[5]), std::tuple(0, 35.0));
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
  EXPECT_EQ(std::tuple(back.GetSpring(0)->nConstant, back.GetSpring(0)->nJoint), std::tuple(2, 5));
}

}  // namespace
}  // namespace tav
