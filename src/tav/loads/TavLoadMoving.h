// A moving load case: the path of a moving load. Owned by the document.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/platform/String.h"

namespace tav {

class CTavLoadMoving : public CTavObject {
 public:
  CTavLoadMoving() { CTavLoadMoving::Init(); }
  ~CTavLoadMoving() override { CTavLoadMoving::Destroy(); }

  void Init() override { m_strName.clear(); }
  void Destroy() override {}

  CString GetStringName() const { return m_strName; }

  int32_t m_nIndex = -1;
  CString m_strName;
};

}  // namespace tav
