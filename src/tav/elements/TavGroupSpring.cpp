#include "tav/elements/TavGroupSpring.h"

namespace tav {

void CTavSpringConstant::Init() {
  m_bMultiDof = 0;
  for (int i = 0; i < 6; ++i) m_dStiffness[i] = m_dSpringAux1[i] = m_dSpringAux2[i] = 0.0;
}

}  // namespace tav
