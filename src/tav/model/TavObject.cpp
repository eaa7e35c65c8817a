#include "tav/model/TavObject.h"

namespace tav {

void CTavGroup::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t{0} << m_nIndex << m_nType;
  } else {
    int32_t version = 0;
    ar >> version >> m_nIndex >> m_nType;
  }
}

}  // namespace tav
