// The own solver input, from the title to the initial conditions, and its
// closing line.
#include "tav/document/TavData.h"
#include "tav/platform/Format.h"

namespace tav {
namespace {

const char* ExistText(int32_t flag) { return flag != 0 ? "EXIST" : "NOT EXIST"; }

}  // namespace

int CTavData::WriteTitle_Tav(CArchive& ar) {
  Write_Tav(ar, "TAV %s", m_strTitle.c_str());
  return 1;
}

int CTavData::WriteSystem_Tav(CArchive& ar) {
  const CTavGlobalOption& options = *m_pGlobalOption;
  Write_Tav(ar, "SYSTEM");
  Write_Tav(ar, "   MASTER DOF=%s", options.GetStringDOF(TaV_SEPERATE_BLANK).c_str());
  if (options.m_nEigenMethod != 0) {
    Write_Tav(ar, "   %s", options.GetStringEigen().c_str());
    Write_Tav(ar, "      NUMBER OF MODES=%d SUBSPACE ITERATION VECTORS=%d", options.m_nModes,
              options.m_nSubspaceVectors);
    if (options.m_nEigenMethod == 1) {
      Write_Tav(ar, "   ITERATION NUMBERS=%d %s RIGID BODY MODE SHIFTE=%d CUT_OFF CIRCLULAR FREQUENCY=%s",
                options.m_nIterations, options.GetStringRigidBodyExist().c_str(), options.m_nRigidBodyShift,
                RealText(options.m_dCutOffFrequency).c_str());
    } else if (options.m_nEigenMethod == 2) {
      Write_Tav(ar,
                "   ITERATION NUMBERS=%d %s RIGID BODY MODE SHIFTE=%d CUT_OFF CIRCLULAR FREQUENCY=%s "
                "CONVERGENCE TOLERANCE=%s %s STARTING ITEATION VECTOR NUMBERS=%d",
                options.m_nIterations, options.GetStringRigidBodyExist().c_str(), options.m_nRigidBodyShift,
                RealText(options.m_dCutOffFrequency).c_str(), RealText(options.m_dTolerance).c_str(),
                options.GetStringLanzosMethod().c_str(), options.m_nStartingVectors);
    }
  }

  CString counts = Format("   NUMBER OF NODES=%d", GetCountJoint());
  if (GetCountLinearGroup() > 0) counts += Format(" LINEAR ELEMENT GROUP=%d", GetCountLinearGroup());
  if (GetCountNonLinearGroup() > 0) counts += Format(" NONLINEAR ELEMENT GROUP=%d", GetCountNonLinearGroup());
  if (GetCountLocalCoord() > 0) counts += Format(" LOCAL COORNATE SYSTEM=%d", GetCountLocalCoord());
  if (!m_arrRigidLink.empty()) counts += Format(" RIGID LINKS=%d", Count(m_arrRigidLink));
  Write_Tav(ar, "%s", counts.c_str());

  Write_Tav(ar, "   CHECK %s", options.GetStringCheck().c_str());
  return 1;
}

int CTavData::WriteFunction_Tav(CArchive& ar) {
  const CTavFunction& table = *m_pFunction;
  if (table.GetCount() == 0) return 1;
  Write_Tav(ar, "FUNTION");
  for (int32_t f = 0; f < table.GetCount(); ++f) {
    Write_Tav(ar, "%s", table.GetStringData_Tav(f, m_eRealPrecision).c_str());
    // The points go out piece by piece, so this statement is never wrapped.
    const TaV_FUNCTION* function = table.GetFunction(f);
    Write(ar, "  ", 0, 1);
    for (int32_t p = 0; p < function->arrX.GetSize(); ++p) {
      Write(ar, Format(" %s %s", RealText(function->arrX[p]).c_str(), RealText(function->arrY[p]).c_str()), 0, 1);
    }
    Write(ar, "", 1, 1);
  }
  return 1;
}

int CTavData::WriteLocalCoord_Tav(CArchive& ar) {
  if (m_arrLocalCoord.empty()) return 1;
  Write_Tav(ar, "LOCAL COORDINATE SYSTEMS");
  for (const auto& system : m_arrLocalCoord) {
    Write_Tav(ar, "   %d ROTATION ANGLE SYSTEM 1-ANGLE=%s 2-ANGLE=%s 3-ANGLE=%s", system->m_nIndex + 1,
              RealText(system->m_dAngle[0]).c_str(), RealText(system->m_dAngle[1]).c_str(),
              RealText(system->m_dAngle[2]).c_str());
  }
  return 1;
}

int CTavData::WriteJointInfomation_Tav(CArchive& ar) {
  if (m_arrJoint.empty()) return 1;
  Write_Tav(ar, "JOINT INFORMATIONS");
  for (const auto& joint : m_arrJoint) {
    const CString x = RealText(joint->m_vPos.x);
    const CString y = RealText(joint->m_vPos.y);
    const CString z = RealText(joint->m_vPos.z);
    if (joint->m_nLocalCoord != -1) {
      Write_Tav(ar, "  %-2d X=%s Y=%s Z=%s LOCAL COORDINATE=%d", joint->m_nIndex + 1, x.c_str(), y.c_str(), z.c_str(),
                joint->m_nLocalCoord + 1);
    } else {
      Write_Tav(ar, "  %-2d X=%s Y=%s Z=%s", joint->m_nIndex + 1, x.c_str(), y.c_str(), z.c_str());
    }
  }
  return 1;
}

int CTavData::WriteJointRestraint_Tav(CArchive& ar) {
  if (m_arrJoint.empty()) return 1;
  Write_Tav(ar, "JOINT RESTRAINTS");
  for (const auto& joint : m_arrJoint) {
    if (!joint->m_Restraint.Any()) continue;
    Write_Tav(ar, "  %-2d %s", joint->m_nIndex + 1, joint->GetStringRestraint(TaV_SEPERATE_BLANK).c_str());
  }
  return 1;
}

int CTavData::WriteJointConstraint_Tav(CArchive& ar) {
  const CTavJointConstraints& constraints = *m_pConstraints;
  if (constraints.GetCountDiaphragm() == 0 && constraints.GetCountRigidLink() == 0) return 1;
  Write_Tav(ar, "JOINT CONSTRAINT");
  for (int32_t i = 0; i < constraints.GetCountDiaphragm(); ++i) {
    const TaV_DIAPHRAGM* diaphragm = constraints.GetDiaphragm(i);
    Write_Tav(ar, "  DIAPH%d MASS %d ADD=%s", diaphragm->nIndex + 1, diaphragm->nMaster + 1,
              CTavJointConstraints::GetStringJointList(diaphragm->arrSlave).c_str());
  }
  for (int32_t i = 0; i < constraints.GetCountRigidLink(); ++i) {
    const TaV_RIGIDLINK* link = constraints.GetRigidLink(i);
    Write_Tav(ar, "  RIGIDLINK%d TYPE=%s MASTER JOINT %d SLAVE JOINT=%s", link->nIndex + 1,
              link->nType != 0 ? "NONLINEAR" : "LINEAR", link->nMaster + 1,
              CTavJointConstraints::GetStringJointList(link->arrSlave).c_str());
  }
  return 1;
}

int CTavData::WriteJointMass_Tav(CArchive& ar) {
  const CTavJointMass& masses = *m_pJointMass;
  if (masses.GetCount() == 0) return 1;
  Write_Tav(ar, "JOINT MASS");
  for (int32_t i = 0; i < masses.GetCount(); ++i) {
    Write_Tav(ar, "  %-2d %s", masses.GetData(i)->nJoint + 1, masses.GetStringMass(i, m_eRealPrecision).c_str());
  }
  return 1;
}

int CTavData::WriteJointDamp_Tav(CArchive& ar) {
  const CTavJointDamping& dampers = *m_pJointDamping;
  if (dampers.GetCount() == 0) return 1;
  Write_Tav(ar, "JOINT DAMPER");
  for (int32_t i = 0; i < dampers.GetCount(); ++i) {
    Write_Tav(ar, "  %-2d %s", dampers.GetData(i)->nJoint + 1, dampers.GetStringDamping(i, m_eRealPrecision).c_str());
  }
  return 1;
}

int CTavData::WriteInitialConditions_Tav(CArchive& ar) {
  const CTavGlobalOption& options = *m_pGlobalOption;
  if (options.m_bInitTemperature == 0 && options.m_bInitTemperatureGradient == 0) {
    Write_Tav(ar, "INITIAL CONDITIONS NOT EXIST");
  } else {
    Write_Tav(ar, "INITIAL CONDITIONS EXIST INITIAL TEMPERATURE %s INITIAL TEMPERATURE GRADIENT %s",
              ExistText(options.m_bInitTemperature), ExistText(options.m_bInitTemperatureGradient));
  }
  return 1;
}

int CTavData::WriteStop_Tav(CArchive& ar) {
  Write_Tav(ar, "STOP");
  return 1;
}

}  // namespace tav
