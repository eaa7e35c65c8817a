// Model-wide analysis settings: active degrees of freedom, eigen solution,
// check prints, initial conditions and the number of result segments per
// beam. The document owns exactly one.
#pragma once

#include <cstdint>

#include "tav/model/TavTypes.h"
#include "tav/platform/Archive.h"
#include "tav/platform/String.h"

namespace tav {

class CTavGlobalOption {
 public:
  CTavGlobalOption() { Init(); }
  virtual ~CTavGlobalOption() = default;
  CTavGlobalOption(const CTavGlobalOption&) = default;
  CTavGlobalOption& operator=(const CTavGlobalOption&) = default;

  void ClearData() { Init(); }
  // Version 0, then every field in declared order.
  void Serialize(CArchive& ar);

  // Replaces bits 0 to 5 of the active degrees of freedom.
  void SetDOF(bool ux, bool uy, bool uz, bool rx, bool ry, bool rz) { m_Dof.SetSix(ux, uy, uz, rx, ry, rz); }
  TaV_RESTRAINTS GetDof() const { return m_Dof; }
  void SetNumberOfModes(int32_t modes) { m_nModes = modes; }
  int32_t GetCountForceSegment() const { return m_nForceSegments; }

  CString GetStringDOF(TaV_TEXT_SEPERATE_TYPE separator) const;
  CString GetStringCheck() const;
  CString GetStringEigenValue() const;
  CString GetStringEigenSolutionMethod() const;
  CString GetStringEigen() const;
  CString GetStringRigidBodyExist() const;
  CString GetStringLanzosMethod() const;

  TaV_RESTRAINTS m_Dof;
  int32_t m_nEigenRange;
  int32_t m_nEigenMethod;  // 0 none, 1 determinant search, 2 subspace iteration
  int32_t m_nModes;
  int32_t m_nSubspaceVectors;
  int32_t m_nIterations;
  int32_t m_bRigidBodyMode;
  int32_t m_nRigidBodyShift;
  double m_dCutOffFrequency;
  double m_dTolerance;
  int32_t m_bLanczosVectors;
  int32_t m_nStartingVectors;
  TaV_RESTRAINTS m_Check;
  int32_t m_bInitTemperature;
  int32_t m_bInitTemperatureGradient;
  int32_t m_nForceSegments;

 protected:
  void Init();
};

}  // namespace tav
