// A static load case: a named set of loads applied together. Owned by the
// document.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/platform/String.h"

namespace tav {

class CTavLoadStatic : public CTavObject {
 public:
  CTavLoadStatic() { CTavLoadStatic::Init(); }
  ~CTavLoadStatic() override { CTavLoadStatic::Destroy(); }

  void Init() override;
  void Destroy() override {}

  CString GetStringName() const { return m_strName; }

  int32_t m_nIndex = -1;
  CString m_strName;
  int32_t m_bSelfWeight = 0;
};

}  // namespace tav
