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
  // The member initialisers are the defaults ClearData returns to.
  CTavGlobalOption() = default;
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

  TaV_RESTRAINTS m_Dof{0xFF};
  int32_t m_nEigenRange = 0;
  int32_t m_nEigenMethod = 0;  // 0 none, 1 determinant search, 2 subspace iteration
  int32_t m_nModes = 0;
  int32_t m_nSubspaceVectors = 0;
  int32_t m_nIterations = 0;
  int32_t m_bRigidBodyMode = 0;
  int32_t m_nRigidBodyShift = 0;
  double m_dCutOffFrequency = 0.0;
  double m_dTolerance = 0.0;
  int32_t m_bLanczosVectors = 0;
  int32_t m_nStartingVectors = 0;
  TaV_RESTRAINTS m_Check{0xFF};
  int32_t m_bInitTemperature = 0;
  int32_t m_bInitTemperatureGradient = 0;
  int32_t m_nForceSegments = 4;

 protected:
  void Init();
};

}  // namespace tav
