#include "tav/elements/TavGroupNllink.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "support/Records.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

TEST(NLLinkTest, PropertiesAndLinksAreNumberedAndTheirRecordsComeBackWhole) {
  CTavData doc;
  CTavGroupNllink* group = doc.AddGroupNllink();
  EXPECT_EQ(group->GetType(), 2);
  group->AddNllinkConstants(1, 2, 3, 4);
  CTavNllinkConstant* p = group->AddNllinkConstants(5e5, 6, 7, 8);
  EXPECT_EQ(std::tuple(p->m_nIndex, group->GetNllinkConstant(1)), std::tuple(1, p));
  EXPECT_EQ((std::array{p->m_dK0, p->m_dLinkValue2, p->m_dLinkValue3, p->m_dLinkValue4}),
            (std::array{5e5, 6.0, 7.0, 8.0}));
  EXPECT_EQ(test::RoundTrip(*p).size(), 40U);
  EXPECT_EQ(test::RoundTrip(*doc.AddNllink(group, 2, 3, 4, 22.5)).size(), 28U);

  // Loading resizes the properties and link numbers held.
  CTavGroupNllink back;
  for (int i = 0; i < 3; ++i) back.AddNllinkConstants(9, 9, 9, 9);
  back.m_arrNllink = CLongArray{1, 2};
  EXPECT_EQ(test::RoundTrip(*group, back).size(), 4U + 4U + 2 * 40U + 4U + 4U);
  EXPECT_EQ(std::tuple(back.GetCountNllinkConstant(), back.GetCountNllink()), std::tuple(2, 1));
}

}  // namespace
}  // namespace tav
