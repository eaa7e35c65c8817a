#include "tav/model/TavLocalCoord.h"

#include "tav/model/Records.h"

namespace tav {

void CTavLocalCoord::Init() {
  m_nIndex = -1;
  m_dAngle[0] = m_dAngle[1] = m_dAngle[2] = 0.0;
}

void CTavLocalCoord::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "local coordinate system");
  if (ar.IsStoring()) {
    ar << m_nIndex << m_dAngle[0] << m_dAngle[1] << m_dAngle[2];
  } else {
    ar >> m_nIndex >> m_dAngle[0] >> m_dAngle[1] >> m_dAngle[2];
  }
}

}  // namespace tav
