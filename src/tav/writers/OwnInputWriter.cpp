// The own solver input: the header (title to initial conditions), the
// element groups in the order of the document's group list, the load
// conditions of each kind in list order, and the closing STOP.
#include "tav/writers/OwnInputWriter.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {
namespace {

const char* ExistText(int32_t flag) { return flag != 0 ? "EXIST" : "NOT EXIST"; }

const char* SpringType(const CTavSpringConstant& constant) {
  return constant.m_bMultiDof != 0 ? "MULTI D.O.F" : "SINGLE D.O.F";
}

// "     joint values FUNCTION=n" of a joint load or a prescribed displacement.
template <typename JointValues>
void JointValuesStatement(LineBuilder& statements, const JointValues& load, TaV_REAL_PRECISION precision) {
  CString& statement = statements.Start();
  AppendFormat(statement, "     %d ", load.m_nJoint + 1);
  load.AppendStringComponent(statement, precision);
  AppendFormat(statement, " FUNCTION=%d", load.m_nFunction + 1);
  statements.Finish();
}

}  // namespace

OwnInputWriter::OwnInputWriter(const CTavData& document, LineSink& sink)
    : document_(document),
      lines_(sink),
      wrapping_(sink),
      statements_(wrapping_),
      precision_(document.GetRealPrecision()) {}

void OwnInputWriter::Write() {
  using Section = void (OwnInputWriter::*)();
  static constexpr Section kFileOrder[] = {
      &OwnInputWriter::WriteTitle,        &OwnInputWriter::WriteSystem,
      &OwnInputWriter::WriteFunctions,    &OwnInputWriter::WriteLocalCoords,
      &OwnInputWriter::WriteJoints,       &OwnInputWriter::WriteRestraints,
      &OwnInputWriter::WriteConstraints,  &OwnInputWriter::WriteMasses,
      &OwnInputWriter::WriteDampers,      &OwnInputWriter::WriteInitialConditions,
      &OwnInputWriter::WriteGroups,       &OwnInputWriter::WriteStaticLoads,
      &OwnInputWriter::WriteHistoryLoads, &OwnInputWriter::WriteSpectrumLoads,
      &OwnInputWriter::WriteMovingLoads,  &OwnInputWriter::WriteStop,
  };
  for (Section section : kFileOrder) (this->*section)();
}

CString OwnInputWriter::Real(double value) const { return GetRealText(value, precision_); }

// ---- Header ----------------------------------------------------------------

// Like every text of the model, the title ends at a NUL character it may hold.
void OwnInputWriter::WriteTitle() { statements_.Linef("TAV %s", document_.GetTitle().c_str()); }

void OwnInputWriter::WriteSystem() {
  const CTavGlobalOption& options = *document_.GetGlobalOption();
  Statement("SYSTEM");
  Statement("   MASTER DOF=" + options.GetStringDOF(TaV_SEPERATE_BLANK));
  if (options.m_nEigenMethod != 0) WriteEigenStatements(options);
  WriteCountStatement();
  Statement("   CHECK " + options.GetStringCheck());
}

// Determinant search (method 1) and subspace iteration (method 2) have an
// iteration statement of their own; other methods have none.
void OwnInputWriter::WriteEigenStatements(const CTavGlobalOption& options) {
  Statement("   " + options.GetStringEigen());
  Statement(
      Format("      NUMBER OF MODES=%d SUBSPACE ITERATION VECTORS=%d", options.m_nModes, options.m_nSubspaceVectors));
  const CString iteration = Format(
      "   ITERATION NUMBERS=%d %s RIGID BODY MODE SHIFTE=%d CUT_OFF CIRCLULAR FREQUENCY=%s", options.m_nIterations,
      options.GetStringRigidBodyExist().c_str(), options.m_nRigidBodyShift, Real(options.m_dCutOffFrequency).c_str());
  if (options.m_nEigenMethod == 1) {
    Statement(iteration);
  } else if (options.m_nEigenMethod == 2) {
    Statement(iteration + Format(" CONVERGENCE TOLERANCE=%s %s STARTING ITEATION VECTOR NUMBERS=%d",
                                 Real(options.m_dTolerance).c_str(), options.GetStringLanzosMethod().c_str(),
                                 options.m_nStartingVectors));
  }
}

void OwnInputWriter::WriteCountStatement() {
  CString counts = Format("   NUMBER OF NODES=%d", document_.GetCountJoint());
  const int32_t linear = document_.GetCountLinearGroup();
  const int32_t nonlinear = document_.GetCountNonLinearGroup();
  if (linear > 0) counts += Format(" LINEAR ELEMENT GROUP=%d", linear);
  if (nonlinear > 0) counts += Format(" NONLINEAR ELEMENT GROUP=%d", nonlinear);
  if (document_.GetCountLocalCoord() > 0) counts += Format(" LOCAL COORNATE SYSTEM=%d", document_.GetCountLocalCoord());
  if (document_.GetCountRigidLink() > 0) counts += Format(" RIGID LINKS=%d", document_.GetCountRigidLink());
  Statement(counts);
}

void OwnInputWriter::WriteFunctions() {
  const CTavFunction& table = *document_.GetFunction();
  if (table.GetCount() == 0) return;
  Statement("FUNTION");
  for (int32_t f = 0; f < table.GetCount(); ++f) {
    Statement(table.GetStringData_Tav(f, precision_));
    // The points are one line that is never wrapped, however long.
    const TaV_FUNCTION& function = *table.GetFunction(f);
    CString points = "  ";
    for (int32_t p = 0; p < function.arrX.GetSize(); ++p) {
      points += Format(" %s %s", Real(function.arrX[p]).c_str(), Real(function.arrY[p]).c_str());
    }
    lines_.Line(points);
  }
}

void OwnInputWriter::WriteLocalCoords() {
  if (document_.GetCountLocalCoord() == 0) return;
  Statement("LOCAL COORDINATE SYSTEMS");
  for (int32_t i = 0; i < document_.GetCountLocalCoord(); ++i) {
    const CTavLocalCoord& system = *document_.GetLocalCoord(i);
    statements_.Linef("   %d ROTATION ANGLE SYSTEM 1-ANGLE=%s 2-ANGLE=%s 3-ANGLE=%s", system.m_nIndex + 1,
                      Real(system.m_dAngle[0]).c_str(), Real(system.m_dAngle[1]).c_str(),
                      Real(system.m_dAngle[2]).c_str());
  }
}

void OwnInputWriter::WriteJoints() {
  if (document_.GetCountJoint() == 0) return;
  Statement("JOINT INFORMATIONS");
  for (int32_t i = 0; i < document_.GetCountJoint(); ++i) {
    const CTavJoint& joint = *document_.GetJoint(i);
    CString& statement = statements_.Start();
    AppendFormat(statement, "  %-2d X=", joint.m_nIndex + 1);
    AppendRealText(statement, joint.m_vPos.x, precision_);
    statement += " Y=";
    AppendRealText(statement, joint.m_vPos.y, precision_);
    statement += " Z=";
    AppendRealText(statement, joint.m_vPos.z, precision_);
    if (joint.m_nLocalCoord != -1) AppendFormat(statement, " LOCAL COORDINATE=%d", joint.m_nLocalCoord + 1);
    statements_.Finish();
  }
}

void OwnInputWriter::WriteRestraints() {
  if (document_.GetCountJoint() == 0) return;
  Statement("JOINT RESTRAINTS");
  for (int32_t i = 0; i < document_.GetCountJoint(); ++i) {
    const CTavJoint& joint = *document_.GetJoint(i);
    if (!joint.m_Restraint.Any()) continue;
    statements_.Linef("  %-2d %s", joint.m_nIndex + 1, joint.GetStringRestraint(TaV_SEPERATE_BLANK).c_str());
  }
}

void OwnInputWriter::WriteConstraints() {
  const CTavJointConstraints& constraints = *document_.GetConstraint();
  if (constraints.GetCountDiaphragm() == 0 && constraints.GetCountRigidLink() == 0) return;
  Statement("JOINT CONSTRAINT");
  for (int32_t i = 0; i < constraints.GetCountDiaphragm(); ++i) {
    const TaV_DIAPHRAGM& diaphragm = *constraints.GetDiaphragm(i);
    statements_.Linef("  DIAPH%d MASS %d ADD=%s", diaphragm.nIndex + 1, diaphragm.nMaster + 1,
                      CTavJointConstraints::GetStringJointList(diaphragm.arrSlave).c_str());
  }
  for (int32_t i = 0; i < constraints.GetCountRigidLink(); ++i) {
    const TaV_RIGIDLINK& link = *constraints.GetRigidLink(i);
    statements_.Linef("  RIGIDLINK%d TYPE=%s MASTER JOINT %d SLAVE JOINT=%s", link.nIndex + 1,
                      link.nType != 0 ? "NONLINEAR" : "LINEAR", link.nMaster + 1,
                      CTavJointConstraints::GetStringJointList(link.arrSlave).c_str());
  }
}

void OwnInputWriter::WriteMasses() {
  const CTavJointMass& masses = *document_.GetJointMass();
  if (masses.GetCount() == 0) return;
  Statement("JOINT MASS");
  for (int32_t i = 0; i < masses.GetCount(); ++i) {
    statements_.Linef("  %-2d %s", masses.GetData(i)->nJoint + 1, masses.GetStringMass(i, precision_).c_str());
  }
}

void OwnInputWriter::WriteDampers() {
  const CTavJointDamping& dampers = *document_.GetJointDamping();
  if (dampers.GetCount() == 0) return;
  Statement("JOINT DAMPER");
  for (int32_t i = 0; i < dampers.GetCount(); ++i) {
    statements_.Linef("  %-2d %s", dampers.GetData(i)->nJoint + 1, dampers.GetStringDamping(i, precision_).c_str());
  }
}

void OwnInputWriter::WriteInitialConditions() {
  const CTavGlobalOption& options = *document_.GetGlobalOption();
  if (options.m_bInitTemperature == 0 && options.m_bInitTemperatureGradient == 0) {
    Statement("INITIAL CONDITIONS NOT EXIST");
    return;
  }
  statements_.Linef("INITIAL CONDITIONS EXIST INITIAL TEMPERATURE %s INITIAL TEMPERATURE GRADIENT %s",
                    ExistText(options.m_bInitTemperature), ExistText(options.m_bInitTemperatureGradient));
}

// ---- Element groups: a header, the group's properties, its elements -------

void OwnInputWriter::WriteGroups() {
  const int32_t segments = document_.GetGlobalOption()->GetCountForceSegment();
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    const CTavGroup& group = *document_.GetGroup(g);
    switch (group.GetType()) {
      case CTavGroup::kBeam:
        WriteBeamGroup(static_cast<const CTavGroupElement&>(group), segments);
        break;
      case CTavGroup::kSpring:
        WriteSpringGroup(static_cast<const CTavGroupSpring&>(group));
        break;
      case CTavGroup::kLink:
        WriteLinkGroup(static_cast<const CTavGroupNllink&>(group));
        break;
      default:
        break;
    }
  }
}

void OwnInputWriter::WriteBeamGroup(const CTavGroupElement& group, int32_t segments) {
  statements_.Linef("BEAM ELEMENT GROUP %d NUMBER OF ELEMENTS=%d", group.GetIndex() + 1, group.GetCountBeam());
  for (const auto& section : group.m_arrSection) {
    // The text completes a rectangle without IS and IT; on a copy, so the
    // document stays as it is.
    CTavSection completed = *section;
    statements_.Linef("   MAT/SEC PROPERTIES %d %s", section->m_nIndex + 1,
                      completed.GetStringSectionProp_Tav(precision_).c_str());
  }
  for (int32_t number : group.m_arrBeam) {
    const CTavBeam& beam = *document_.GetBeam(number);
    CString& statement = statements_.Start();
    AppendFormat(statement, "   %2d MATERIAL=%d NOAN=%d %d ", beam.m_nIndex + 1, beam.m_nSection + 1,
                 beam.m_nJointI + 1, beam.m_nJointJ + 1);
    AppendRealText(statement, beam.m_dAngle, precision_);
    AppendFormat(statement, " NREG=%d ", segments);
    statement += beam.GetStringExt(precision_);
    statements_.Finish();
  }
}

void OwnInputWriter::WriteSpringGroup(const CTavGroupSpring& group) {
  statements_.Linef("SUPPORT SPRING GROUP %d NUMBER OF ELEMENTS=%d NUMBER OF CONSTANTS=%d", group.GetIndex() + 1,
                    group.GetCountSpring(), group.GetCountSpingConstant());
  for (const auto& constant : group.m_arrSpringConstant) {
    const double* k = constant->m_dStiffness;
    CString statement = Format("   SPRING CONSTANTS %d STIFFNESS=%s", constant->m_nIndex + 1, Real(k[0]).c_str());
    if (constant->m_bMultiDof != 0) statement += Format(",%s,%s", Real(k[1]).c_str(), Real(k[2]).c_str());
    Statement(statement);
  }
  for (const TaV_SPRING& spring : group.m_arrSpring) {
    statements_.Linef("   %2d SPRING CONSTANT=%d NODE=%d TYPE=%s", spring.nIndex + 1, spring.nConstant + 1,
                      spring.nJoint + 1, SpringType(*group.GetSpingConstant(spring.nConstant)));
  }
}

void OwnInputWriter::WriteLinkGroup(const CTavGroupNllink& group) {
  statements_.Linef("NLLINK ELEMENT GROUP %d NUMBER OF ELEMENTS=%d NUMBER OF CONSTANTS=%d", group.GetIndex() + 1,
                    group.GetCountNllink(), group.GetCountNllinkConstant());
  for (const auto& property : group.m_arrNllinkConstant) {
    statements_.Linef("   MAT/SEC PROPERTIE %d K0=%s", property->m_nIndex + 1, Real(property->m_dK0).c_str());
  }
  for (int32_t number : group.m_arrNllink) {
    const CTavNLLink& link = *document_.GetNLLink(number);
    statements_.Linef("   %2d NODE %d %2d MATERIAL=%d", link.m_nIndex + 1, link.m_nJointI + 1, link.m_nJointJ + 1,
                      link.m_nProperty + 1);
  }
}

// ---- Load conditions -------------------------------------------------------

void OwnInputWriter::WriteStaticLoads() {
  for (int32_t i = 0; i < document_.GetCountStaticLoad(); ++i) {
    const CTavLoadStatic& loadCase = *document_.GetStaticLoad(i);
    Statement(loadCase.GetStringTitle());
    if (loadCase.GetSizeLoadJoint() > 0) {
      Statement("     JOINT LOADS");
      for (const auto& load : loadCase.m_arrLoadJoint) {
        JointValuesStatement(statements_, *load, precision_);
      }
    }
    WriteBeamLoads(loadCase);
    WriteDisplacementLoads(loadCase, "     PRESCRIBED DISPPACEMENT LOADS");
    if (const CTavSelfWeight* weight = loadCase.GetSelfWeight()) {
      statements_.Linef("     %s=%s ACCELERATION=%s FUNCTION=%d", weight->GetStringDir().c_str(),
                        Real(weight->m_dFactor).c_str(), Real(weight->m_dAcceleration).c_str(),
                        weight->m_nFunction + 1);
    }
  }
}

void OwnInputWriter::WriteHistoryLoads() {
  for (int32_t i = 0; i < document_.GetCountHistoryLoad(); ++i) {
    const CTavLoadHistory& loadCase = *document_.GetHistoryLoad(i);
    Statement(
        Format("HISTORY LOAD CONDITION %d TYPE=%s BY %s INTEGRATION METHOD=%s INTEGRATION PARAMETERS=%s "
               "NUMBER OF MODES=%d NSTE=%s DT=%s GROUND ACCELERATION",
               loadCase.m_nHistoryIndex + 1, loadCase.GetStringLoadHistoryType().c_str(),
               loadCase.GetStringLoadHistoryMode().c_str(), loadCase.GetStringLoadHistoryMethod().c_str(),
               loadCase.GetStringLoadHistoryParameters(precision_).c_str(), loadCase.m_nModes,
               Real(loadCase.m_dNste).c_str(), Real(loadCase.m_dDt).c_str()));
    WriteHistoryJointLoads(loadCase);
    WriteBeamLoads(loadCase);
    WriteDisplacementLoads(loadCase, "     PRESCRIBED DISPLACEMENT LOADS");
    if (const CTavSelfWeight* weight = loadCase.GetSelfWeight()) WriteExcitation(*weight);
  }
}

void OwnInputWriter::WriteSpectrumLoads() {
  for (int32_t i = 0; i < document_.GetCountResponseSpectrumLoad(); ++i) {
    const CTavLoadResponseSpectrum& loadCase = *document_.GetResponseSpectrum(i);
    statements_.Linef("RESPONSE SPECTRUM LOAD CONDITION %d NUMBER OF MODES=%d MODE COMBINATION=%s",
                      loadCase.m_nIndex + 1, loadCase.m_nModes, loadCase.GetStringLoadResponseCombination().c_str());
    if (loadCase.GetSizeDamping() > 0) {
      Statement("     MODAL DAMPING=" + loadCase.GetStringLoadResponseDamping(precision_));
    }
    if (const CTavSelfWeight* weight = loadCase.GetSelfWeight()) WriteExcitation(*weight);
  }
}

void OwnInputWriter::WriteMovingLoads() {
  for (int32_t i = 0; i < document_.GetCountMovingLoad(); ++i) {
    const CTavLoadMoving& loadCase = *document_.GetMovingLoad(i);
    statements_.Linef("MOVING LOAD CONDITION %d LANE ELEMENTS %d", loadCase.m_nIndex + 1, loadCase.GetCountLane());
    if (loadCase.GetCountLane() == 0) continue;
    Statement("     LANE SEQUENCE");
    for (const auto& lane : loadCase.m_arrLane) {
      statements_.Linef("     ELE=%d ECC=%s ELE=%d ECC=%s", lane->m_nElement1 + 1, Real(lane->m_dEcc1).c_str(),
                        lane->m_nElement2 + 1, Real(lane->m_dEcc2).c_str());
    }
  }
}

void OwnInputWriter::WriteStop() { Statement("STOP"); }

// A history case always states all six components of a joint load.
void OwnInputWriter::WriteHistoryJointLoads(const CTavLoadHistory& loadCase) {
  if (loadCase.GetSizeLoadJoint() == 0) return;
  Statement("     JOINT LOADS");
  for (const auto& load : loadCase.m_arrLoadJoint) {
    CString& statement = statements_.Start();
    AppendFormat(statement, "     %d", load->m_nJoint + 1);
    for (size_t i = 0; i < 6; ++i) {
      AppendFormat(statement, " %s=%s", words::kJointLoad[i], Real(load->m_dValue[i]).c_str());
    }
    AppendFormat(statement, " FUNCTION=%d", load->m_nFunction + 1);
    statements_.Finish();
  }
}

// Beams are named by their two joints; the load text needs the beam's
// length, taken afresh from the joints for every statement.
void OwnInputWriter::WriteBeamLoads(const CTavLoadStatic& loadCase) {
  if (loadCase.GetSizeLoadBeam() == 0) return;
  Statement("     BEAM LOADS");
  for (const auto& load : loadCase.m_arrLoadBeam) {
    const CTavBeam& beam = *document_.GetBeam(load->m_nBeam);
    // The type is any number a host stored; it is counted from 1 in 64 bits.
    statements_.Linef("     %d TYPE=%lld %s NOAN=%d %d %s FUNCTION=%d", load->m_nIndex + 1,
                      static_cast<long long>(load->m_eType) + 1,
                      load->GetStringLoad_Tav(document_.GetLengthBeam(load->m_nBeam), precision_).c_str(),
                      beam.m_nJointI + 1, beam.m_nJointJ + 1, Real(beam.m_dAngle).c_str(), load->m_nFunction + 1);
  }
}

void OwnInputWriter::WriteDisplacementLoads(const CTavLoadStatic& loadCase, const char* heading) {
  if (loadCase.GetSizeLoadDisplacement() == 0) return;
  Statement(heading);
  for (const auto& load : loadCase.m_arrLoadDisplacement) {
    JointValuesStatement(statements_, *load, precision_);
  }
}

void OwnInputWriter::WriteExcitation(const CTavSelfWeight& weight) {
  statements_.Linef("     FUNCTION=%d %s=%s ACC=%s", weight.m_nFunction + 1, weight.GetStringDir().c_str(),
                    Real(weight.m_dFactor).c_str(), Real(weight.m_dAcceleration).c_str());
}

}  // namespace tav
