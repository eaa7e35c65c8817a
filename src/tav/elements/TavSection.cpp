#include "tav/elements/TavSection.h"

namespace tav {

void CTavSection::Init() {
  m_eType = TaV_SECTION_GENERAL;
  for (double& dim : m_dDim) dim = 0.0;
  m_dW = m_dE = m_dPoisson = m_dMaterialAux = m_dJ = 0.0;
  m_dIS = m_dIT = m_dArea = m_dASHS = m_dASHT = m_dSectionAux = 0.0;
}

}  // namespace tav
