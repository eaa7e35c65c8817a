// The load conditions of the own input, and a small frame end to end.
#include <gtest/gtest.h>

#include "support/Golden.h"
#include "support/Models.h"
#include "tav/writers/OwnInputWriter.h"
#include "writers/WriterTesting.h"

namespace tav::test {
namespace {

TEST(OwnLoadWriterTest, SmallFrameEndToEnd) {
  CTavData doc;
  BuildSmallFrame(doc, "LOAD");

  EXPECT_EQ(
      SaveToString(doc, TaV_FORMAT_TAV),
      CrLfLines({"TAV FRAME", "SYSTEM", "   MASTER DOF=UX UY UZ RX RY RZ",
                 "   NUMBER OF NODES=2 LINEAR ELEMENT GROUP=1",
                 "   CHECK STIFFNESS-MATRIX DECOMPOSED-STIFFNESS-MATRIX LOAD-VECTOR V-VECTOR     *",
                 "     DISPLACEMENT-VECTOR MEMORY-SIZE"}) +
          CrLfLines({"FUNTION", "   1 TYPE=CONSTANT POINTS=2", "   0. 1. 1. 1."}) +
          CrLfLines({"JOINT INFORMATIONS", "  1  X=0. Y=0. Z=0.", "  2  X=0. Y=0. Z=3."}) +
          CrLfLines({"JOINT RESTRAINTS", "  1  UX UY UZ RX RY RZ", "INITIAL CONDITIONS NOT EXIST"}) +
          CrLfLines({"BEAM ELEMENT GROUP 1 NUMBER OF ELEMENTS=1",
                     "   MAT/SEC PROPERTIES 1 E=2.1e+007 IS=0.003125 IT=0.001125 AREA=0.15           *",
                     "     ASHS=0.125 ASHT=0.125", "    1 MATERIAL=1 NOAN=1 2 0. NREG=4 "}) +
          CrLfLines({"STATIC LOAD CONDITION 1 JOINT LOAD=1", "     JOINT LOADS", "     2 PX=10. FUNCTION=1", "STOP"}));
}

// A three-span beam on five joints with every kind of load case.
void BuildLoadModel(CTavData& doc) {
  doc.SetTitle("LOADS");
  CTavFunction& functions = *doc.GetFunction();
  functions.AddFunctionDefault();
  const int32_t quake = functions.AddFunction(TaV_FUNCTION_CONSTANT, 0, 0);
  functions.AddFunctionValue(quake, 0.0, 0.1);
  functions.AddFunctionValue(quake, 1.0, 0.2);
  doc.AddJoint(0, 0, 0, true, true, true, true, true, true, -1);
  doc.AddJoint(4, 0, 0, -1);
  doc.AddJoint(4, 3, 0, -1);  // the second span is 3 long
  doc.AddJoint(4, 3, 6, -1);
  CTavGroupElement* group = doc.AddGroupElement();
  group->AddSection(2e8, 0.3, 1e-4, 2e-4, 0.01, 78.5, 0, 1e-5, 0, 0);
  doc.AddBeam(group, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  doc.AddBeam(group, 0, 1, 2, 90, 0, 0, 0, 0, 0, 0);
  doc.AddBeam(group, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0);

  // Every kind of load and a self weight.
  CTavLoadStatic* dead = doc.AddLoadStatic("DEAD", 1);
  dead->AddLoadStatic_Joint(1, 0, 0, -10, 0, 0, 0, 0);
  dead->AddLoadStatic_Joint(2, 0, 0, 0, 0, 0, 0, 0);
  dead->AddLoadStatic_BEAMLOAD_DIST_W1W2(0, TaV_DIR_Z, 5, 5, 0, 1, 0, 0);
  dead->AddLoadStatic_Displacement(0, 0, 0, -0.01, 0, 0.002, 0, 0);
  dead->AddSelfWeight(TaV_DIR_Z, 1, 9.81, 0);

  // Beam loads of every type.
  CTavLoadStatic* live = doc.AddLoadStatic("LIVE", 0);
  const TaV_TYPED_LOAD x{2, 0, {2, 4}, {0.25, 0.75}}, z{2, 0, {-1, -1}, {0, 1}};
  live->AddLoadStatic_Beam(1, TaV_BEAMLOAD_DISTRIBUTED, x, {}, z, 0, 0);  // relative, on length 3
  const TaV_TYPED_LOAD absolute{2, 0, {2, 4}, {0.5, 2.5}};
  live->AddLoadStatic_Beam(2, TaV_BEAMLOAD_DISTRIBUTED, {}, absolute, {}, 1, 1);  // absolute, on length 6
  const TaV_TYPED_LOAD point{1, 0, {20}, {0.5}};
  live->AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, point, {}, point, 0, 0);
  live->AddLoadStatic_Beam(2, TaV_BEAMLOAD_FORCE, {}, point, {}, 0, 1);
  live->AddLoadStatic_Beam(0, TaV_BEAMLOAD_MOMENT, point, {}, {}, 0, 0);
  live->AddLoadStatic_Beam(0, static_cast<TaV_BEMALOAD_TYPE>(3), point, {}, {}, 0, 0);

  CTavLoadHistory* steps = doc.AddLoadHistory("STEPS");
  steps->AddLoadHistory_NST(100, 0.01);
  CTavLoadHistory* quakeCase = doc.AddLoadHistory("QUAKE");
  quakeCase->AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_NEWMARK_BETA, 6, 2000, 0.005,
                                             "0.25 0.5");
  quakeCase->AddLoadStatic_Joint(3, 0, 1.5, 0, 0, 0, 0, 1);
  quakeCase->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_X, 1, 2, 0, 1, 1, 0);
  quakeCase->AddLoadStatic_Displacement(0, 0.01, 0, 0, 0, 0, 0, 1);
  quakeCase->AddSelfWeight(TaV_DIR_X, 1, 9.81, 1);

  CTavLoadResponseSpectrum* cqc = doc.AddLoadResponseSpectrum("RSX");
  cqc->AddLoadResponseSpectrum_Combination(0, 6, TaV_MODECOMB_CQC, "0.05 0.02");
  cqc->AddSelfWeight(TaV_DIR_X, 1, 9.81, 1);
  CTavLoadResponseSpectrum* srss = doc.AddLoadResponseSpectrum("RSY");
  srss->AddLoadResponseSpectrum_Combination(0, 3, TaV_MODECOMB_SRSS, "0.05");
  CTavLoadResponseSpectrum* bare = doc.AddLoadResponseSpectrum("BARE");
  bare->Destroy();

  doc.AddMovingLoad("EMPTY");
  CTavLoadMoving* truck = doc.AddMovingLoad("TRUCK");
  truck->AddMovingLoad_Lane(0, 1, 0.5, 0.5);
  truck->AddMovingLoad_Lane(1, 2, 0.5, -1.25);

  doc.AddCombo("NOT WRITTEN", TaV_COMBO_ADD)->AddLoad(TaV_LOAD_STATIC, 0, 1.2, 0);
}

// The beam loads' lengths are taken from the joints at every write.
TEST(OwnLoadWriterTest, EveryKindOfLoadCaseGolden) {
  CTavData doc;
  BuildLoadModel(doc);
  EXPECT_TRUE(MatchesGolden("own_loads.tav", SaveToString(doc, TaV_FORMAT_TAV)));
  const auto firstBeamLoad = [&doc] { return SplitLines(WriteSection(doc, &OwnInputWriter::WriteStaticLoads))[6]; };
  EXPECT_EQ(firstBeamLoad(), "     1 TYPE=3 WZ=-5. -5. 0. 4.  NOAN=1 2 0. FUNCTION=1");
  doc.GetJoint(1)->m_vPos.x = 8.0;
  EXPECT_EQ(firstBeamLoad(), "     1 TYPE=3 WZ=-5. -5. 0. 8.  NOAN=1 2 0. FUNCTION=1");
}

}  // namespace
}  // namespace tav::test
