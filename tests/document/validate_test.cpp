#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "support/Models.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

TEST(ValidateTest, ModelsBuiltThroughTheOperationsHoldTogether) {
  CTavData empty;
  EXPECT_EQ(empty.Validate(), 1);
  CTavData exchange;
  test::BuildExchangeModel(exchange);
  CString problem;
  EXPECT_EQ(exchange.Validate(&problem), 1) << problem;
  // Loads name the first function by default, also in a model without one.
  CTavData bare;
  bare.AddJoint(0, 0, 0, -1);
  bare.AddLoadStatic("LC", 0)->AddLoadStatic_Joint(0, 1, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(bare.Validate(&problem), 1) << problem;
}

template <typename Group>
Group& GroupAt(CTavData& doc, int32_t g) {
  return static_cast<Group&>(*doc.GetGroup(g));
}

TEST(ValidateTest, EachBrokenReferenceIsNamedWithItsPlace) {
  struct Case {
    const char* problem;
    std::function<void(CTavData&)> damage;
  };
  const Case cases[] = {
      {"analysis options: the number of force segments per beam, -2, is not within 1 to 1000",
       [](CTavData& doc) { doc.GetGlobalOption()->m_nForceSegments = -2; }},
      {"joint 3: carries the number 8", [](CTavData& doc) { doc.GetJoint(2)->m_nIndex = 7; }},
      {"joint 2: local coordinate system 3 does not exist (the model has 2 local coordinate systems)",
       [](CTavData& doc) { doc.GetJoint(1)->m_nLocalCoord = 2; }},
      {"joint 1: a coordinate is not a finite number",
       [](CTavData& doc) { doc.GetJoint(0)->m_vPos.y = std::numeric_limits<double>::infinity(); }},
      {"beam 2: joint 2147483648 does not exist (the model has 5 joints)",
       [](CTavData& doc) { doc.GetBeam(1)->m_nJointJ = 0x7FFFFFFF; }},
      {"link 1: joint 0 does not exist", [](CTavData& doc) { doc.GetNLLink(0)->m_nJointI = -1; }},
      {"element group 1: lists beam 9, which does not exist (the model has 4 beams)",
       [](CTavData& doc) { GroupAt<CTavGroupElement>(doc, 0).m_arrBeam.Add(8); }},
      {"beam 1: is listed by element group 1 and again by element group 4",
       [](CTavData& doc) { GroupAt<CTavGroupElement>(doc, 3).m_arrBeam.Add(0); }},
      {"beam 3: belongs to no beam group",
       [](CTavData& doc) { GroupAt<CTavGroupElement>(doc, 3).m_arrBeam.SetSize(0); }},
      {"beam 2 of element group 1: section 3 does not exist (the group has 2 sections)",
       [](CTavData& doc) { doc.GetBeam(1)->m_nSection = 2; }},
      {"element group 1, section 2: carries the number 1",
       [](CTavData& doc) { GroupAt<CTavGroupElement>(doc, 0).GetSection(1)->m_nIndex = 0; }},
      {"element group 2, spring 3: spring constant 5 does not exist (the group has 2 spring constants)",
       [](CTavData& doc) { GroupAt<CTavGroupSpring>(doc, 1).GetSpring(2)->nConstant = 4; }},
      {"element group 2, spring 1: joint 6 does not exist",
       [](CTavData& doc) { GroupAt<CTavGroupSpring>(doc, 1).GetSpring(0)->nJoint = 5; }},
      {"link 1 of element group 3: link property 3 does not exist (the group has 2 link properties)",
       [](CTavData& doc) { doc.GetNLLink(0)->m_nProperty = 2; }},
      {"element group 3: lists link 3, which does not exist (the model has 2 links)",
       [](CTavData& doc) { GroupAt<CTavGroupNllink>(doc, 2).m_arrNllink.Add(2); }},
      {"element group 2: is of no known kind (7)", [](CTavData& doc) { doc.GetGroup(1)->m_nType = 7; }},
      {"diaphragm 1: joint 10 does not exist",
       [](CTavData& doc) {
         doc.AddJointConstraintDiap(0, CLongArray({1, 9}));
       }},
      {"rigid link 1: joint 0 does not exist",
       [](CTavData& doc) { doc.GetConstraint()->AddRigidLink(0, -1, CLongArray{}); }},
      {"joint mass 1: joint 6 does not exist", [](CTavData& doc) { doc.AddJointMass(5, 1, 1, 1, 0, 0, 0); }},
      {"joint damper 1: joint 0 does not exist", [](CTavData& doc) { doc.AddJointDamping(-1, 1, 1, 1, 0, 0, 0); }},
      {"function 1: says it has 2 points but holds 2 abscissas and 1 ordinates",
       [](CTavData& doc) { doc.GetFunction()->GetFunction(0)->arrY.SetSize(1); }},
      {"static load case 1, joint load 1: joint 12 does not exist",
       [](CTavData& doc) { doc.GetStaticLoad(0)->GetLoadJoint(0)->m_nJoint = 11; }},
      {"static load case 1, joint load 1: function 2 does not exist (the model has 1 function)",
       [](CTavData& doc) { doc.GetStaticLoad(0)->GetLoadJoint(0)->m_nFunction = 1; }},
      {"static load case 2, beam load 2: beam 5 does not exist (the model has 4 beams)",
       [](CTavData& doc) { doc.GetStaticLoad(1)->GetLoadBeam(1)->m_nBeam = 4; }},
      {"static load case 1, prescribed displacement 1: joint 0 does not exist",
       [](CTavData& doc) { doc.GetStaticLoad(0)->GetLoadDisplacement(0)->m_nJoint = -1; }},
      {"static load case 3, self weight: function 3 does not exist",
       [](CTavData& doc) { doc.GetStaticLoad(2)->GetSelfWeight()->m_nFunction = 2; }},
      {"history load case 1: carries the number 3", [](CTavData& doc) { doc.GetHistoryLoad(0)->m_nHistoryIndex = 2; }},
      {"history load case 1, beam load 1: beam 7 does not exist",
       [](CTavData& doc) { doc.GetHistoryLoad(0)->AddLoadStatic_BEAMLOAD_DIST_W1W2(6, TaV_DIR_Z, 1, 1, 0, 1, 0, 0); }},
      {"response spectrum load case 1, excitation: function 4 does not exist",
       [](CTavData& doc) { doc.GetResponseSpectrum(0)->GetSelfWeight()->m_nFunction = 3; }},
      {"moving load case 1, lane element 1: beam 5 does not exist",
       [](CTavData& doc) { doc.GetMovingLoad(0)->AddMovingLoad_Lane(0, 4, 0, 0); }},
      {"combination 1, term 2: static load case 4 does not exist (the model has 3 static load cases)",
       [](CTavData& doc) { doc.GetCombo(0)->GetLoad(1)->nCase = 3; }},
      {"combination 2, term 1: combination 0 does not exist",
       [](CTavData& doc) { doc.GetCombo(1)->GetLoad(0)->nCase = -1; }},
      {"combination 2, term 2: history load case 2 does not exist",
       [](CTavData& doc) { doc.GetCombo(1)->GetLoad(1)->nCase = 1; }},
  };
  for (const Case& c : cases) {
    CTavData doc;
    test::BuildExchangeModel(doc);
    c.damage(doc);
    CString problem;
    EXPECT_EQ(doc.Validate(&problem), 0) << c.problem;
    EXPECT_NE(problem.find(c.problem), CString::npos) << problem;
  }
}

}  // namespace
}  // namespace tav
