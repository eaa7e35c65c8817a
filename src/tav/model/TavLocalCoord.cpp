#include "tav/model/TavLocalCoord.h"

#include "tav/model/Records.h"

namespace tav {

void CTavLocalCoord::Init() { *this = CTavLocalCoord(); }

void CTavLocalCoord::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "local coordinate system");
  Exchange(ar, m_nIndex);
  ExchangeEach(ar, m_dAngle);
}

}  // namespace tav
