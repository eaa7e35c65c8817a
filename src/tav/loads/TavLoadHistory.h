// A history (time-history) load case: a static case extended by the
// settings of a dynamic analysis. Owned by the document.
#pragma once

#include "tav/loads/TavLoadStatic.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavLoadHistory : public CTavLoadStatic {
 public:
  CTavLoadHistory() { CTavLoadHistory::Init(); }
  ~CTavLoadHistory() override { CTavLoadHistory::Destroy(); }

  // Name empty, history type 0, Newmark beta; the parameters are kept.
  void Init() override;
  void Destroy() override {}

  int32_t m_nHistoryIndex = -1;
  double m_dNste = 0.0;
  double m_dDt = 0.0;
  int32_t m_nHistoryType = 0;
  TaV_DYNAMIC_ANALYSYS_MODE m_eMode = TaV_MODE_DIRECT_INTEGRATION;
  TaV_INTEGRATION_METHOD m_eMethod = TaV_METHOD_NEWMARK_BETA;
  int32_t m_nModes = 0;
  CDoubleArray m_arrParameter;
};

}  // namespace tav
