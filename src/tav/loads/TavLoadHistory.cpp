#include "tav/loads/TavLoadHistory.h"

namespace tav {

void CTavLoadHistory::Init() {
  m_strName.clear();
  m_dNste = 0.0;
  m_dDt = 0.0;
  m_nHistoryType = 0;
  m_eMode = TaV_MODE_DIRECT_INTEGRATION;
  m_eMethod = TaV_METHOD_NEWMARK_BETA;
  m_nModes = 0;
}

}  // namespace tav
