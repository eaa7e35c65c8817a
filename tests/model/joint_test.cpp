#include "tav/document/TavData.h"

#include <gtest/gtest.h>

#include <numbers>

#include "support/Records.h"

namespace tav {
namespace {

using test::RoundTrip;

TEST(JointTest, JointsAreNumberedInOrderOfAddition) {
  CTavData doc;
  EXPECT_EQ(doc.AddJoint(1.0, 2.0, 3.0, -1), 0);
  EXPECT_EQ(doc.AddJoint(CVector(4.0, 5.0, 6.0), 0), 1);
  EXPECT_EQ(doc.GetCountJoint(), 2);
  const CTavJoint* second = doc.GetJoint(1);
  EXPECT_EQ(second->m_nIndex, 1);
  EXPECT_EQ(second->m_vPos, CVector(4.0, 5.0, 6.0));
  EXPECT_EQ(second->m_nLocalCoord, 0);
  EXPECT_EQ(doc.GetJoint(0)->m_nLocalCoord, -1);
  EXPECT_EQ(doc.GetJoint(0)->m_Restraint.byFlags, 0);
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

TEST(JointTest, LocalSystemAnglesAreStoredInDegrees) {
  CTavData doc;
  EXPECT_EQ(doc.AddLocalCoordSystem(std::numbers::pi / 2, 0.0, -std::numbers::pi, 0), 0);
  EXPECT_EQ(doc.AddLocalCoordSystem(90.0, 0.0, 0.0, 1), 1);
  EXPECT_DOUBLE_EQ(doc.GetLocalCoord(0)->m_dAngle[0], 90.0);
  EXPECT_DOUBLE_EQ(doc.GetLocalCoord(0)->m_dAngle[2], -180.0);
  EXPECT_EQ(doc.GetLocalCoord(1)->m_dAngle[0], 90.0);
  EXPECT_EQ(doc.GetCountLocalCoord(), 2);
}

TEST(JointTest, DiaphragmSlavesFromText) {
  CTavData doc;
  EXPECT_EQ(doc.AddJointConstraintDiap(4, CString("1  2 3 ")), 0);
  EXPECT_EQ(doc.AddJointConstraintDiap(5, CString("")), 1);
  EXPECT_EQ(doc.AddJointConstraintDiap(6, CString("x7 -3 12abc")), 2);
  const CTavJointConstraints* constraints = doc.GetConstraint();
  EXPECT_EQ(constraints->GetDiaphragm(0)->nMaster, 4);
  EXPECT_EQ(constraints->GetDiaphragm(0)->arrSlave, (CLongArray{1, 2, 3}));
  EXPECT_EQ(constraints->GetDiaphragm(1)->arrSlave.GetSize(), 0);
  EXPECT_EQ(constraints->GetDiaphragm(2)->arrSlave, (CLongArray{0, -3, 12}));

  CLongArray slaves{8, 9};
  EXPECT_EQ(doc.AddJointConstraintDiap(1, slaves), 3);
  slaves.Add(10);  // the diaphragm keeps its own copy
  EXPECT_EQ(constraints->GetDiaphragm(3)->arrSlave.GetSize(), 2);
}

TEST(JointTest, JointListText) {
  EXPECT_EQ(CTavJointConstraints::GetStringJointList(CLongArray{2, 3, 6}), "3 4 7");
  EXPECT_EQ(CTavJointConstraints::GetStringJointList(CLongArray{}), "");
}

TEST(JointTest, MassAndDampingRecordsAreNeverMerged) {
  CTavData doc;
  doc.AddJointMass(3, 1.0, 0.0, 2.5, 0.0, 0.0, 1e10);
  doc.AddJointMass(3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  doc.AddJointDamping(1, 0.0, -4.0, 0.0, 0.5, 0.0, 0.0);
  EXPECT_EQ(doc.GetJointMass()->GetCount(), 2);
  EXPECT_EQ(doc.GetJointMass()->GetData(1)->nJoint, 3);
  EXPECT_EQ(doc.GetJointMass()->GetStringMass(0), "XMX=1. XMZ=2.5 RMZ=1e+010.");
  EXPECT_EQ(doc.GetJointMass()->GetStringMass(1), "");
  EXPECT_EQ(doc.GetJointDamping()->GetStringDamping(0), "XDY=-4. RDX=0.5");
}

TEST(JointTest, JointRecordCarriesEveryField) {
  CTavJoint joint;
  joint.m_nIndex = 7;
  joint.m_vPos = CVector(1.5, -2.0, 1e-9);
  joint.m_nReserved = 3;
  joint.m_nLocalCoord = 2;
  joint.m_Restraint.byFlags = 0xC5;
  const auto bytes = test::StoreRecord(joint);
  EXPECT_EQ(bytes.size(), 41U);
  CTavJoint back;
  RoundTrip(joint, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);
}

TEST(JointTest, VersionZeroJointRecordHasNoRestraintsAndItsReservedValueIsSkipped) {
  const auto v0 = test::Bytes(
      [](CArchive& ar) { ar << int32_t{0} << int32_t{4} << 1.0 << 2.0 << 3.0 << int32_t{99} << int32_t{-1}; });
  ASSERT_EQ(v0.size(), 40U);
  CTavJoint back;
  back.m_nReserved = 55;
  back.m_Restraint.byFlags = 0x07;
  EXPECT_EQ(test::LoadRecord(v0, back), 0U);
  EXPECT_EQ(back.m_nIndex, 4);
  EXPECT_EQ(back.m_vPos, CVector(1, 2, 3));
  EXPECT_EQ(back.m_nLocalCoord, -1);
  EXPECT_EQ(back.m_nReserved, 55);
  EXPECT_EQ(back.m_Restraint.byFlags, 0x07);
}

TEST(JointTest, LocalSystemRecord) {
  CTavLocalCoord system;
  system.m_nIndex = 3;
  system.m_dAngle[1] = 45.0;
  const auto bytes = test::StoreRecord(system);
  EXPECT_EQ(bytes.size(), 32U);
  CTavLocalCoord back;
  RoundTrip(system, back);
  EXPECT_EQ(test::StoreRecord(back), bytes);
}

TEST(JointTest, ValueListRecordsCountTheirRecords) {
  CTavJointMass masses;
  masses.Add(1, 1, 2, 3, 4, 5, 6);
  masses.Add(2, 7, 8, 9, 10, 11, 12);
  CTavJointMass back;
  back.Add(0, 0, 0, 0, 0, 0, 0);
  RoundTrip(masses, back);
  EXPECT_EQ(test::StoreRecord(back), test::StoreRecord(masses));

  // Version 0 carries no count: it fills the records the list holds.
  const auto v0 = test::Bytes([](CArchive& ar) {
    ar << int32_t{0} << int32_t{8};
    for (int i = 0; i < 6; ++i) ar << 0.5 * i;
  });
  CTavJointDamping dampers;
  dampers.Add(0, 9, 9, 9, 9, 9, 9);
  EXPECT_EQ(test::LoadRecord(v0, dampers), 0U);
  EXPECT_EQ(dampers.GetData(0)->nJoint, 8);
  EXPECT_EQ(dampers.GetData(0)->dValue[5], 2.5);
}

TEST(JointTest, ConstraintRecordCountsBothLists) {
  CTavJointConstraints constraints;
  constraints.AddDiaphragm(4, CLongArray{1, 2, 3});
  constraints.AddDiaphragm(7, CLongArray{});
  constraints.AddRigidLink(1, 5, CLongArray{6});
  CTavJointConstraints back;
  back.AddRigidLink(0, 0, CLongArray{});
  back.AddRigidLink(0, 0, CLongArray{});
  RoundTrip(constraints, back);
  EXPECT_EQ(test::StoreRecord(back), test::StoreRecord(constraints));
  EXPECT_EQ(back.GetCountRigidLink(), 1);
}

}  // namespace
}  // namespace tav
