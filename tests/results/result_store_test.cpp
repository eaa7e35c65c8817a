#include <gtest/gtest.h>

#include <climits>
#include <span>
#include <tuple>

#include "support/Fixtures.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

// Two joints, two beams, three static cases and one combination: T = 5.
class ResultStoreTest : public testing::Test {
 protected:
  ResultStoreTest() {
    doc.AddBeam(test::AddBeamBetween(doc, {0, 0, 0}, {10, 4, 0}), 0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    for (const char* name : {"A", "B", "C"}) doc.AddLoadStatic(name, 0);
    doc.AddCombo("K", TaV_COMBO_ADD);
  }
  // The smallest and largest `force` of case `position` over every beam.
  static std::pair<double, double> Range(CTavData& data, int32_t position, TaV_BEAM_FORCE_TYPE force = TaV_FORCE_3) {
    data.CalcMaxMin_Beam(position, force);
    return {data.GetResultMin(), data.GetResultMax()};
  }
  CTavData doc;
};

// Values set outside the buffers, before or after allocation, are left out.
TEST_F(ResultStoreTest, PositionsFollowTheCountsAndAllocationZeroesAndLocks) {
  EXPECT_EQ(doc.GetPosJointResultBuff(1, 4, TaV_JOINT_SPRING), 174);
  EXPECT_EQ(doc.GetPosBeamResultBuff(1, 2, 3), 266);
  EXPECT_EQ(doc.GetPosJointResultBuff(0, 0, TaV_JOINT_REACTION), 0);
  const double values[7] = {1, 1, 1, 1, 1, 1, 1};
  doc.SetResult_Beam(0, 0, 0, values, 7);
  EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 0, 0, TaV_FORCE_1), 0.0);
  EXPECT_FALSE(doc.HasResults());
  doc.AllocResultForceBuff();
  EXPECT_TRUE(doc.HasResults());
  EXPECT_EQ(doc.IsLockInput(), 1);
  doc.SetResult_Joint(2, 0, values, TaV_JOINT_REACTION, 6);
  doc.SetResult_Beam(1, 4, 4, values, 8);
  doc.SetResult_Beam(-1, 0, 0, values, 7);
  EXPECT_EQ(doc.GetResultValue_Joint(5, 0, TaV_JOINT_REACTION, 0), CVector(0, 0, 0));
  EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 4, 4, TaV_FORCE_6), 0.0);
  double all[18];
  doc.GetResultValue_Joint(1, 4, all, 18);
  for (double v : all) EXPECT_EQ(v, 0.0);
}

TEST_F(ResultStoreTest, JointValuesByKindAndRotation) {
  doc.AllocResultForceBuff();
  const double displacement[6] = {1, 2, 3, 4, 5, 6};
  doc.SetResult_Joint(1, 2, displacement, TaV_JOINT_DISPLACEMENT, 6);
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(1, 2), CVector(1, 2, 3));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 2, TaV_JOINT_DISPLACEMENT, 1), CVector(4, 5, 6));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 2, TaV_JOINT_REACTION, 0), CVector(0, 0, 0));
  double block[18];
  doc.GetResultValue_Joint(1, 2, block, 18);
  EXPECT_EQ(block[6], 1.0);
  EXPECT_EQ(block[11], 6.0);
  double eighteen[18];
  for (int i = 0; i < 18; ++i) eighteen[i] = i;
  doc.SetResult_Joint(0, 0, eighteen, TaV_JOINT_REACTION, 18);
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_SPRING, 1), CVector(15, 16, 17));
}

TEST_F(ResultStoreTest, BeamForcesAndPositionsAreRoundedToSixDecimals) {
  doc.AllocResultForceBuff();
  const double record[7] = {0.3333333333, 1.2345675, -0.0000004, 3, 4, 5, 6};
  doc.SetResult_Beam(1, 3, 2, record, 7);
  EXPECT_DOUBLE_EQ(doc.GetResultValue_Beam_Dist(1, 3, 2), 0.333333);
  EXPECT_DOUBLE_EQ(doc.GetResultValue_Beam_Force(1, 3, 2, TaV_FORCE_1), 1.234568);
  EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 3, 2, TaV_FORCE_2), 0.0);
  EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 3, 2, TaV_FORCE_6), 6.0);
  double back[7];
  doc.GetResultValue_Beam(1, 3, 2, back, 7);
  EXPECT_EQ(back[1], 1.2345675);  // the block read gives the values as stored
}

// A block is empty outside the two beams, the two joints and the five cases,
// and before the store is allocated; in range it is the case's values in
// place.
TEST_F(ResultStoreTest, BlocksAreTheCasesValuesInPlaceAndEmptyOutsideThem) {
  const CTavData& constant = doc;
  struct Case {
    int32_t element, resultCase;
  };
  const Case outside[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 5}, {1, 5}, {INT32_MAX, 0}, {0, INT32_MIN}};
  const auto emptyEverywhere = [&](const char* when) {
    SCOPED_TRACE(when);
    for (const Case& c : outside) {
      SCOPED_TRACE(testing::Message() << c.element << ", " << c.resultCase);
      EXPECT_TRUE(doc.GetResultBlock_Beam(c.element, c.resultCase).empty());
      EXPECT_TRUE(constant.GetResultBlock_Beam(c.element, c.resultCase).empty());
      EXPECT_TRUE(doc.GetResultBlock_Joint(c.element, c.resultCase).empty());
      EXPECT_TRUE(constant.GetResultBlock_Joint(c.element, c.resultCase).empty());
    }
    for (int32_t element : {-1, 2, INT32_MAX}) {
      EXPECT_TRUE(doc.GetResultBlocks_Beam(element).empty());
      EXPECT_TRUE(doc.GetResultBlocks_Joint(element).empty());
    }
  };
  emptyEverywhere("before allocation");
  EXPECT_TRUE(doc.GetResultBlock_Beam(0, 0).empty());
  EXPECT_TRUE(doc.GetResultBlocks_Joint(0).empty());
  doc.AllocResultForceBuff();
  emptyEverywhere("allocated");

  const auto stations = static_cast<size_t>(doc.GetCountResultStation());
  const double record[7] = {0.5, 1, 2, 3, 4, 5, 6};
  doc.SetResult_Beam(1, 3, 2, record, 7);
  const std::span<double> beam = doc.GetResultBlock_Beam(1, 3);
  ASSERT_EQ(beam.size(), 7 * stations);
  EXPECT_EQ(beam[7 * 2], 0.5);
  EXPECT_EQ(beam[7 * 2 + 6], 6.0);
  EXPECT_EQ(constant.GetResultBlock_Beam(1, 3).data(), beam.data());
  beam[7 * 2 + 1] = -8.0;  // writable in place
  EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 3, 2, TaV_FORCE_1), -8.0);
  const std::span<double> beamCases = doc.GetResultBlocks_Beam(1);
  ASSERT_EQ(beamCases.size(), 5 * 7 * stations);  // case after case
  EXPECT_EQ(beamCases.data() + 3 * 7 * stations, beam.data());

  const double spring[6] = {10, 11, 12, 13, 14, 15};
  doc.SetResult_Joint(1, 4, spring, TaV_JOINT_SPRING, 6);
  const std::span<double> joint = doc.GetResultBlock_Joint(1, 4);
  ASSERT_EQ(joint.size(), 18U);  // reactions, displacements, springs
  EXPECT_EQ(joint[12], 10.0);
  EXPECT_EQ(joint[17], 15.0);
  EXPECT_EQ(constant.GetResultBlock_Joint(1, 4).data(), joint.data());
  const std::span<double> jointCases = doc.GetResultBlocks_Joint(1);
  ASSERT_EQ(jointCases.size(), 5 * 18U);
  EXPECT_EQ(jointCases.data() + 4 * 18, joint.data());
}

TEST_F(ResultStoreTest, RangeOfACaseAndOfACombination) {
  CTavData empty;
  EXPECT_EQ(Range(empty, 0, TaV_FORCE_1), std::make_pair(1.0e10, -1.0e10));
  EXPECT_EQ(Range(doc, 0), std::make_pair(0.0, 0.0));  // nothing allocated: every value reads 0
  EXPECT_EQ(doc.GetValueRatio(5.0), 0.0);

  doc.AllocResultForceBuff();
  double record[7] = {};
  for (const auto& [beam, kase, station, value] :
       {std::tuple{0, 1, 2, -4.0}, {1, 1, 4, 2.5}, {1, 3, 0, 8.0}, {0, 4, 1, -9.0}}) {
    record[3] = value;
    doc.SetResult_Beam(beam, kase, station, record, 7);
  }
  EXPECT_EQ(Range(doc, 1), std::make_pair(-4.0, 2.5));
  EXPECT_DOUBLE_EQ(doc.GetValueRatio(2.0), 0.5);
  EXPECT_EQ(Range(doc, 3), std::make_pair(-9.0, 8.0));  // the combination's place in the name list: 3 + 2 * 0
  EXPECT_EQ(Range(doc, 2), std::make_pair(0.0, 0.0));
}

TEST_F(ResultStoreTest, ArrowsScaleWithTheModelAndTheLargestValue) {
  double value = -1.0;
  double head = -1.0;
  double length = -1.0;
  CTavData().CalcBeamLoad_Arrow(0, value, head, length);  // no joint: nothing changes
  EXPECT_EQ(value, -1.0);
  EXPECT_EQ(length, -1.0);

  doc.CalcBeamLoad_Arrow(7, value, head, length);
  EXPECT_DOUBLE_EQ(length, 2.0);
  EXPECT_DOUBLE_EQ(head, 0.02);
  EXPECT_EQ(value, 1.0);

  CTavLoadStatic* loads = doc.GetStaticLoad(1);
  loads->AddLoadStatic_Joint(0, 3, 0, -12, 0, 0, 0, 0);
  loads->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, -20, 5, 0, 1, 0, 0);
  value = 0.0;
  doc.CalcJointLoad_Arrow(1, value, head, length);
  EXPECT_DOUBLE_EQ(length, 1.0);
  EXPECT_DOUBLE_EQ(head, 0.01);
  EXPECT_EQ(value, 20.0);
  value = 7.0;
  doc.CalcJointLoad_Arrow(0, value, head, length);  // a case without loads
  doc.CalcJointLoad_Arrow(9, value, head, length);  // not a static case
  EXPECT_EQ(value, 7.0);

  doc.AllocResultForceBuff();
  const double reaction[6] = {1.0, -6.5, 2.0, 100.0, 0, 0};
  doc.SetResult_Joint(1, 0, reaction, TaV_JOINT_REACTION, 6);
  doc.CalcJointReaction_Arrow(0, value, head, length);
  EXPECT_EQ(value, 6.5);
  value = 3.0;
  doc.CalcJointReaction_Arrow(-1, value, head, length);
  EXPECT_EQ(value, 3.0);
}

}  // namespace
}  // namespace tav
