// A response spectrum load case. Owned by the document.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavLoadResponseSpectrum : public CTavObject {
 public:
  CTavLoadResponseSpectrum() { CTavLoadResponseSpectrum::Init(); }
  ~CTavLoadResponseSpectrum() override { CTavLoadResponseSpectrum::Destroy(); }

  // Name empty, no modes, rule 0; the damping values are kept.
  void Init() override;
  void Destroy() override {}

  CString GetStringName() const { return m_strName; }

  int32_t m_nIndex = -1;
  CString m_strName;
  int32_t m_nModes = 0;
  TaV_MODE_COMBINATION m_eCombination = TaV_MODECOMB_ABS;
  CDoubleArray m_arrDamping;
};

}  // namespace tav
