// A section of a beam element group: material values and cross-section
// properties. Owned by its group.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavSection : public CTavObject {
 public:
  CTavSection() { CTavSection::Init(); }
  ~CTavSection() override { CTavSection::Destroy(); }

  // Type 0 and every value 0; the number is kept.
  void Init() override;
  void Destroy() override {}

  int32_t m_nIndex = -1;
  TaV_SECTION_TYPE m_eType = TaV_SECTION_GENERAL;
  double m_dDim[4] = {};
  double m_dW = 0.0;
  double m_dE = 0.0;
  double m_dPoisson = 0.0;
  double m_dMaterialAux = 0.0;
  double m_dJ = 0.0;
  double m_dIS = 0.0;
  double m_dIT = 0.0;
  double m_dArea = 0.0;
  double m_dASHS = 0.0;
  double m_dASHT = 0.0;
  double m_dSectionAux = 0.0;
};

}  // namespace tav
