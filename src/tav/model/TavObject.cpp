#include "tav/model/TavObject.h"

#include "tav/model/Records.h"

namespace tav {

void CTavGroup::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "element group");
  Exchange(ar, m_nIndex, m_nType);
}

}  // namespace tav
