#include "tav/model/TavGlobalOption.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

void CTavGlobalOption::Init() { *this = CTavGlobalOption(); }

void CTavGlobalOption::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "analysis options");
  Exchange(ar, m_Dof.byFlags, m_nEigenRange, m_nEigenMethod, m_nModes, m_nSubspaceVectors, m_nIterations,
           m_bRigidBodyMode, m_nRigidBodyShift, m_dCutOffFrequency, m_dTolerance, m_bLanczosVectors, m_nStartingVectors,
           m_Check.byFlags, m_bInitTemperature, m_bInitTemperatureGradient, m_nForceSegments);
}

CString CTavGlobalOption::GetStringDOF(TaV_TEXT_SEPERATE_TYPE separator) const {
  return JoinFlagNames(m_Dof.byFlags, words::kJointDof, SeparatorText(separator));
}

CString CTavGlobalOption::GetStringCheck() const { return JoinFlagNames(m_Check.byFlags, words::kChecks, " "); }

CString CTavGlobalOption::GetStringEigenValue() const {
  return m_nEigenRange != 0 ? "FREQUENCIES WITHIN INTERVAL" : "SMALLEST FREQUENCIES";
}

CString CTavGlobalOption::GetStringEigenSolutionMethod() const {
  return m_nEigenMethod == 1 ? "DETERMINANT SEARCH" : "SUBSPACE ITERATION";
}

CString CTavGlobalOption::GetStringEigen() const {
  return Format("EIGEN SOLUTION OF %s BY %s", GetStringEigenValue().c_str(), GetStringEigenSolutionMethod().c_str());
}

CString CTavGlobalOption::GetStringRigidBodyExist() const {
  return m_bRigidBodyMode != 0 ? "RIGID BODY MODE EXIST" : "";
}

CString CTavGlobalOption::GetStringLanzosMethod() const {
  return m_bLanczosVectors != 0 ? "GENERATE LANZOS STARTING ITERATION VECTORS" : "";
}

}  // namespace tav
