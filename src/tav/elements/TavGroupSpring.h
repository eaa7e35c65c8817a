// Support springs that tie joints to the ground. A spring group owns its
// spring constants and holds its springs by value; each spring places one
// constant of the same group at one joint.
#pragma once

#include <memory>
#include <vector>

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavSpringConstant : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavSpringConstant() = default;
  ~CTavSpringConstant() override { CTavSpringConstant::Destroy(); }

  // Single degree of freedom, every value 0; the number is kept.
  void Init() override;
  void Destroy() override {}
  // Version, number, then per degree of freedom the stiffness and the two
  // further values (version 0, 152 bytes); version 1 adds the flag.
  void Serialize(CArchive& ar) override;

  // "U1=... U2=... U3=..." for the first three stiffnesses that are not 0.
  CString GetStringValue_Sap() const;

  int32_t m_nIndex = -1;
  int32_t m_bMultiDof = 0;
  double m_dStiffness[6] = {};
  double m_dSpringAux1[6] = {};
  double m_dSpringAux2[6] = {};
};

class CTavGroupSpring : public CTavGroup {
 public:
  CTavGroupSpring() { CTavGroupSpring::Init(); }
  ~CTavGroupSpring() override { CTavGroupSpring::Destroy(); }

  void Init() override { m_nType = kSpring; }
  // Deletes the spring constants.
  void Destroy() override { m_arrSpringConstant.clear(); }
  // Version, constant count and records, spring count and the springs
  // (number, constant, joint). A version-0 record has no spring count: its
  // entries fill the springs the group already holds.
  void Serialize(CArchive& ar) override;

  // A single-degree-of-freedom constant with the first three stiffnesses.
  CTavSpringConstant* AddSpringConstants(double k1, double k2, double k3);
  // Places constant `constant` at `joint`; returns the spring's number.
  int32_t AddSpring(int32_t constant, int32_t joint);

  int32_t GetCountSpring() const { return static_cast<int32_t>(m_arrSpring.size()); }
  // Borrowed; the next AddSpring may move it.
  TaV_SPRING* GetSpring(int32_t spring) { return &m_arrSpring[static_cast<size_t>(spring)]; }
  const TaV_SPRING* GetSpring(int32_t spring) const { return &m_arrSpring[static_cast<size_t>(spring)]; }
  int32_t GetCountSpingConstant() const { return static_cast<int32_t>(m_arrSpringConstant.size()); }
  CTavSpringConstant* GetSpingConstant(int32_t constant) const {
    return m_arrSpringConstant[static_cast<size_t>(constant)].get();
  }

  std::vector<std::unique_ptr<CTavSpringConstant>> m_arrSpringConstant;
  std::vector<TaV_SPRING> m_arrSpring;
};

}  // namespace tav
