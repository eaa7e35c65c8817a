#include "tav/loads/TavLoadStatic.h"

namespace tav {

void CTavLoadStatic::Init() {
  m_strName.clear();
  m_bSelfWeight = 0;
}

}  // namespace tav
