#include "support/Models.h"

namespace tav::test {

void BuildSmallFrame(CTavData& doc, const CString& caseName) {
  doc.SetTitle("FRAME");
  doc.GetFunction()->AddFunctionDefault();
  doc.AddJoint(0, 0, 0, true, true, true, true, true, true, -1);
  doc.AddJoint(0, 0, 3, -1);
  CTavGroupElement* group = doc.AddGroupElement();
  group->AddSection_Rect(2.1e7, 0.3, 0.5);
  doc.AddBeam(group, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic(caseName, 0)->AddLoadStatic_Joint(1, 10, 0, 0, 0, 0, 0, 0);
}

void BuildExchangeModel(CTavData& doc) {
  doc.SetTitle("EXCHANGE");
  doc.GetFunction()->AddFunctionDefault();
  doc.GetGlobalOption()->SetDOF(true, false, true, false, true, false);
  doc.AddLocalCoordSystem(30.0, 0.0, 0.0, 1);
  doc.AddLocalCoordSystem(12.5, 45.0, 0.0, 1);
  doc.AddJoint(0, 0, 0, true, false, false, false, false, true, 0);
  doc.AddJoint(2, 0, 0, -1);
  doc.AddJoint(6, 0, 0, -1);
  doc.AddJoint(6, 0, 4.5, -1);
  doc.AddJoint(0, 0, 4.5, true, true, true, true, true, true, 1);

  CTavGroupElement* girders = doc.AddGroupElement();
  girders->AddSection_Rect(2.1e7, 0.3, 0.5)->m_dW = 24.0;
  CTavSection* steel = girders->AddSection(2.0e8, 0.3, 8.0e-5, 2.0e-5, 6.0e-3, 78.5, 0, 1.2e-6, 3.0e-3, 2.5e-3);
  steel->m_dDim[0] = 0.2;
  steel->m_dDim[1] = 0.4;
  doc.AddBeam(girders, 0, 0, 1, 0.0, 0, 0, 0, 0, 0, 0);
  CTavBeam* released = doc.AddBeam(girders, 1, 1, 2, 12.7, 1, 1, 0, 0, 0, 0);
  released->SetEndRelease(1, false, false, false, false, true, true);
  released->SetEndRelease(0, false, false, false, true, false, false);

  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(1000.0, 0.0, 3000.0);
  springs->AddSpringConstants(5.0, 6.0, 7.0)->m_bMultiDof = 1;
  springs->AddSpring(0, 2);
  springs->AddSpring(1, 3);  // multi-degree: not in either format
  springs->AddSpring(0, 3);

  CTavGroupNllink* gaps = doc.AddGroupNllink();
  gaps->AddNllinkConstants(1e5, 0, 0, 0);
  gaps->AddNllinkConstants(2.5e3, 0, 0, 0);
  doc.AddNllink(gaps, 3, 4, 1, 22.5);

  CTavGroupElement* columns = doc.AddGroupElement();
  columns->AddSection_Rect(3.0e7, 0.4, 0.4);
  columns->AddSection_Rect(3.0e7, 0.5, 0.5);
  doc.AddBeam(columns, 0, 2, 3, 90.0, 0, 0, 0, 0, 0, 0);
  doc.AddBeam(columns, 1, 4, 0, -45.0, 0, 0, 0, 0, 0, 0);

  CTavGroupNllink* second = doc.AddGroupNllink();
  second->AddNllinkConstants(9.0, 0, 0, 0);
  doc.AddNllink(second, 0, 4, 0, 0.0);

  CTavLoadStatic* dead = doc.AddLoadStatic("DL", 1);
  dead->AddSelfWeight(TaV_DIR_Z, 1.0, 9.81, 0);
  dead->AddLoadStatic_Joint(3, 0, 0, -10, 0, 0, 2.5, 0);
  dead->AddLoadStatic_BEAMLOAD_DIST_W1W2(1, TaV_DIR_Z, -5, -6, 1, 3, 0, 1);
  dead->AddLoadStatic_Displacement(0, 0, 0, -0.01, 0, 0, 0, 0);

  CTavLoadStatic* live = doc.AddLoadStatic("LL", 0);
  const TaV_TYPED_LOAD x{1, 0, {20.0}, {0.5}}, z{1, 0, {-15.0}, {0.5}};
  live->AddLoadStatic_Beam(0, TaV_BEAMLOAD_FORCE, x, {}, z, 0, 0);
  live->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_X, 2, 4, 0.25, 0.75, 0, 0);
  live->AddLoadStatic_Beam(1, TaV_BEAMLOAD_MOMENT, {}, x, {}, 0, 1);

  doc.AddLoadStatic("SELF", 0)->AddSelfWeight(TaV_DIR_Z, 1.0, 9.81, 0);

  doc.AddLoadHistory("EQ-TH");
  doc.AddLoadResponseSpectrum("EQ-RS");
  doc.AddMovingLoad("TRUCK");

  CTavCombo* ultimate = doc.AddCombo("ULS", TaV_COMBO_ADD);
  ultimate->AddLoad(TaV_LOAD_STATIC, 0, 1.2, 0);
  ultimate->AddLoad(TaV_LOAD_STATIC, 1, 1.6, 0);
  CTavCombo* envelope = doc.AddCombo("ENV", TaV_COMBO_ENVE);
  envelope->AddLoad(TaV_LOAD_COMBO, 0, 1.0, 0);
  envelope->AddLoad(TaV_LOAD_HISTORY, 0, 1.0, 0.3);
  envelope->AddLoad(TaV_LOAD_RESPONSE_SPECTRUM, 0, 0.5, 1.5);
  envelope->AddLoad(TaV_LOAD_MOVING, 0, 1.1, 0);
  envelope->AddLoad(static_cast<TaV_LOAD_TYPE>(9), 0, 1.0, 0);
  CTavCombo* quake = doc.AddCombo("QUAKE", TaV_COMBO_ABS);
  quake->AddLoad(TaV_LOAD_RESPONSE_SPECTRUM, 0, 1.0, 1.0);
}

}  // namespace tav::test
