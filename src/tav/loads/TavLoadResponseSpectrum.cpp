#include "tav/loads/TavLoadResponseSpectrum.h"

namespace tav {

void CTavLoadResponseSpectrum::Init() {
  m_strName.clear();
  m_nModes = 0;
  m_eCombination = TaV_MODECOMB_ABS;
}

}  // namespace tav
