#include "tav/elements/TavGroupNllink.h"

#include <gtest/gtest.h>

#include <array>

#include "support/Records.h"

namespace tav {
namespace {

TEST(NLLinkTest, LinkRecordIs28Bytes) {
  CTavNLLink link;
  link.m_nIndex = 1;
  link.m_nJointI = 2;
  link.m_nJointJ = 3;
  link.m_nProperty = 4;
  link.m_dAngle = 22.5;
  const auto bytes = test::StoreRecord(link);
  EXPECT_EQ(bytes.size(), 28U);
  CTavNLLink back;
  test::RoundTrip(link, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);
}

TEST(NLLinkTest, PropertiesAreNumberedAndTheirRecordIs40Bytes) {
  CTavGroupNllink group;
  EXPECT_EQ(group.GetType(), 2);
  group.AddNllinkConstants(1, 2, 3, 4);
  CTavNllinkConstant* p = group.AddNllinkConstants(5e5, 6, 7, 8);
  EXPECT_EQ(p->m_nIndex, 1);
  EXPECT_EQ(group.GetNllinkConstant(1), p);
  const auto bytes = test::StoreRecord(*p);
  EXPECT_EQ(bytes.size(), 40U);
  CTavNllinkConstant back;
  test::RoundTrip(*p, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);
  EXPECT_EQ((std::array{back.m_dK0, back.m_dLinkValue2, back.m_dLinkValue3, back.m_dLinkValue4}),
            (std::array{5e5, 6.0, 7.0, 8.0}));
}

TEST(NLLinkTest, GroupRecordTrimsPropertiesAndLinkNumbers) {
  CTavGroupNllink group;
  group.AddNllinkConstants(1, 0, 0, 0);
  group.m_arrNllink.Add(4);
  const auto bytes = test::StoreRecord(group);
  EXPECT_EQ(bytes.size(), 4U + 4U + 40U + 4U + 4U);

  CTavGroupNllink back;
  back.AddNllinkConstants(9, 9, 9, 9);
  back.AddNllinkConstants(9, 9, 9, 9);
  back.m_arrNllink.Add(1);
  back.m_arrNllink.Add(2);
  EXPECT_EQ(test::LoadRecord(bytes, back), 0U);
  ASSERT_EQ(back.GetCountNllinkConstant(), 1);
  EXPECT_EQ(back.GetNllinkConstant(0)->m_dK0, 1.0);
  EXPECT_EQ(back.m_arrNllink, (CLongArray{4}));
  EXPECT_EQ(back.GetCountNllink(), 1);
}

}  // namespace
}  // namespace tav
