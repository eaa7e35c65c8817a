// Support springs: spring constants (owned by the group) and springs that
// place a constant at a joint (held by value).
#pragma once

#include <memory>
#include <vector>

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavSpringConstant : public CTavObject {
 public:
  CTavSpringConstant() { CTavSpringConstant::Init(); }
  ~CTavSpringConstant() override { CTavSpringConstant::Destroy(); }

  void Init() override;
  void Destroy() override {}

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

  int32_t GetCountSpring() const { return static_cast<int32_t>(m_arrSpring.size()); }
  int32_t GetCountSpingConstant() const { return static_cast<int32_t>(m_arrSpringConstant.size()); }

  std::vector<std::unique_ptr<CTavSpringConstant>> m_arrSpringConstant;
  std::vector<TaV_SPRING> m_arrSpring;
};

}  // namespace tav
