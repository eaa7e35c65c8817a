#include "tav/model/TavLocalCoord.h"

namespace tav {

void CTavLocalCoord::Init() {
  m_nIndex = -1;
  m_dAngle[0] = m_dAngle[1] = m_dAngle[2] = 0.0;
}

void CTavLocalCoord::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t{0} << m_nIndex << m_dAngle[0] << m_dAngle[1] << m_dAngle[2];
  } else {
    int32_t version = 0;
    ar >> version >> m_nIndex >> m_dAngle[0] >> m_dAngle[1] >> m_dAngle[2];
  }
}

}  // namespace tav
