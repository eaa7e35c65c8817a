// A local coordinate system: three rotation angles in degrees. Owned by the
// document; joints refer to it by number.
#pragma once

#include "tav/model/TavObject.h"

namespace tav {

class CTavLocalCoord : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavLocalCoord() = default;
  ~CTavLocalCoord() override { CTavLocalCoord::Destroy(); }

  void Init() override;
  void Destroy() override {}
  void Serialize(CArchive& ar) override;

  int32_t m_nIndex = -1;
  double m_dAngle[3] = {};
};

}  // namespace tav
