#include "tav/document/TavData.h"

#include <gtest/gtest.h>

#include <numbers>
#include <tuple>

#include "support/Records.h"

namespace tav {
namespace {

TEST(JointTest, JointsAreNumberedInOrderOfAddition) {
  CTavData doc;
  EXPECT_EQ(doc.AddJoint(1.0, 2.0, 3.0, -1), 0);
  EXPECT_EQ(doc.AddJoint(CVector(4.0, 5.0, 6.0), 0), 1);
  EXPECT_EQ(doc.GetCountJoint(), 2);
  const CTavJoint* second = doc.GetJoint(1);
  EXPECT_EQ(std::tuple(second->m_nIndex, second->m_vPos, second->m_nLocalCoord), std::tuple(1, CVector(4, 5, 6), 0));
  EXPECT_EQ(std::tuple(doc.GetJoint(0)->m_nLocalCoord, doc.GetJoint(0)->m_Restraint.byFlags), std::tuple(-1, 0));
}

TEST(JointTest, RestraintsSetOnlyBitsZeroToFive) {
  CTavData doc;
  doc.AddJoint(0, 0, 0, true, true, true, false, false, false, -1);
  EXPECT_EQ(doc.GetJoint(0)->m_Restraint.byFlags, 0x07);

  doc.GetJoint(0)->m_Restraint.byFlags = 0xC0 | 0x3F;
  doc.SetJointRestraint(0, true, false, false, false, false, true);
  EXPECT_EQ(doc.GetJoint(0)->m_Restraint.byFlags, 0xC0 | 0x21);
  EXPECT_EQ(doc.GetJoint(0)->GetStringRestraint(TaV_SEPERATE_BLANK), "UX RZ");
  EXPECT_EQ(doc.GetJoint(0)->GetStringRestraint(TaV_SEPERATE_COMMA), "UX,RZ");
  doc.SetJointRestraint(0, false, false, false, false, false, false);
  EXPECT_EQ(doc.GetJoint(0)->GetStringRestraint(TaV_SEPERATE_BLANK), "");
}

TEST(JointTest, LocalSystemAnglesAreStoredInDegreesInA32ByteRecord) {
  CTavData doc;
  EXPECT_EQ(doc.AddLocalCoordSystem(std::numbers::pi / 2, 0.0, -std::numbers::pi, 0), 0);
  EXPECT_EQ(doc.AddLocalCoordSystem(90.0, 45.0, 30.0, 1), 1);
  EXPECT_DOUBLE_EQ(doc.GetLocalCoord(0)->m_dAngle[0], 90.0);
  EXPECT_DOUBLE_EQ(doc.GetLocalCoord(0)->m_dAngle[2], -180.0);
  EXPECT_EQ(doc.GetLocalCoord(1)->m_dAngle[0], 90.0);
  EXPECT_EQ(doc.GetCountLocalCoord(), 2);
  EXPECT_EQ(test::RoundTrip(*doc.GetLocalCoord(1)).size(), 32U);
}

TEST(JointTest, DiaphragmSlavesFromText) {
  CTavData doc;
  EXPECT_EQ(doc.AddJointConstraintDiap(4, CString("1  2 3 ")), 0);
  EXPECT_EQ(doc.AddJointConstraintDiap(5, CString("")), 1);
  EXPECT_EQ(doc.AddJointConstraintDiap(6, CString("x7 -3 12abc")), 2);
  const CTavJointConstraints* constraints = doc.GetConstraint();
  EXPECT_EQ(constraints->GetDiaphragm(0)->nMaster, 4);
  EXPECT_EQ(constraints->GetDiaphragm(0)->arrSlave, (CLongArray{1, 2, 3}));
  EXPECT_EQ(CTavJointConstraints::GetStringJointList(constraints->GetDiaphragm(0)->arrSlave), "2 3 4");
  EXPECT_EQ(CTavJointConstraints::GetStringJointList(constraints->GetDiaphragm(1)->arrSlave), "");
  EXPECT_EQ(constraints->GetDiaphragm(2)->arrSlave, (CLongArray{0, -3, 12}));

  CLongArray slaves{8, 9};
  EXPECT_EQ(doc.AddJointConstraintDiap(1, slaves), 3);
  slaves.Add(10);  // the diaphragm keeps its own copy
  EXPECT_EQ(constraints->GetDiaphragm(3)->arrSlave.GetSize(), 2);
}

TEST(JointTest, MassAndDampingRecordsAreNeverMerged) {
  CTavData doc;
  doc.AddJointMass(3, 1.0, 0.0, 2.5, 0.0, 0.0, 1e10);
  doc.AddJointMass(3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  doc.AddJointDamping(1, 0.0, -4.0, 0.0, 0.5, 0.0, 0.0);
  EXPECT_EQ(std::tuple(doc.GetJointMass()->GetCount(), doc.GetJointMass()->GetData(1)->nJoint), std::tuple(2, 3));
  EXPECT_EQ(doc.GetJointMass()->GetStringMass(0), "XMX=1. XMZ=2.5 RMZ=1e+010.");
  EXPECT_EQ(doc.GetJointMass()->GetStringMass(1), "");
  EXPECT_EQ(doc.GetJointDamping()->GetStringDamping(0), "XDY=-4. RDX=0.5");
}

// Version 0 has no restraints, and its reserved value is read but not kept.
TEST(JointTest, JointRecordCarriesEveryFieldFromVersionOne) {
  CTavJoint joint;
  joint.m_nIndex = 7;
  joint.m_vPos = CVector(1.5, -2.0, 1e-9);
  joint.m_nReserved = 3;
  joint.m_nLocalCoord = 2;
  joint.m_Restraint.byFlags = 0xC5;
  EXPECT_EQ(test::RoundTrip(joint).size(), 41U);

  const auto v0 = test::Bytes(
      [](CArchive& ar) { ar << int32_t{0} << int32_t{4} << 1.0 << 2.0 << 3.0 << int32_t{99} << int32_t{-1}; });
  ASSERT_EQ(v0.size(), 40U);
  EXPECT_EQ(test::LoadRecord(v0, joint), 0U);
  EXPECT_EQ(std::tuple(joint.m_nIndex, joint.m_vPos, joint.m_nLocalCoord, joint.m_nReserved, joint.m_Restraint.byFlags),
            std::tuple(4, CVector(1, 2, 3), -1, 3, 0xC5));
}

TEST(JointTest, ValueListRecordsCountTheirRecords) {
  CTavJointMass masses;
  masses.Add(1, 1, 2, 3, 4, 5, 6);
  masses.Add(2, 7, 8, 9, 10, 11, 12);
  CTavJointMass back;
  back.Add(0, 0, 0, 0, 0, 0, 0);
  test::RoundTrip(masses, back);

  // Version 0 carries no count: it fills the records the list holds.
  const auto v0 = test::Bytes([](CArchive& ar) {
    ar << int32_t{0} << int32_t{8};
    for (int i = 0; i < 6; ++i) ar << 0.5 * i;
  });
  CTavJointDamping dampers;
  dampers.Add(0, 9, 9, 9, 9, 9, 9);
  EXPECT_EQ(test::LoadRecord(v0, dampers), 0U);
  EXPECT_EQ(std::tuple(dampers.GetData(0)->nJoint, dampers.GetData(0)->dValue[5]), std::tuple(8, 2.5));
}

TEST(JointTest, ConstraintRecordCountsBothLists) {
  CTavJointConstraints constraints;
  constraints.AddDiaphragm(4, CLongArray{1, 2, 3});
  constraints.AddDiaphragm(7, CLongArray{});
  constraints.AddRigidLink(1, 5, CLongArray{6});
  CTavJointConstraints back;
  back.AddRigidLink(0, 0, CLongArray{});
  back.AddRigidLink(0, 0, CLongArray{});
  test::RoundTrip(constraints, back);
  EXPECT_EQ(back.GetCountRigidLink(), 1);
}

}  // namespace
}  // namespace tav
