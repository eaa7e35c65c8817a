#include "tav/elements/TavBeam.h"

namespace tav {

void CTavBeam::Init() {
  m_nIndex = m_nJointI = m_nJointJ = m_nSection = -1;
  m_bReleaseI = m_bReleaseJ = 0;
  m_ReleaseI.byFlags = m_ReleaseJ.byFlags = 0xFF;
  m_dOffsetI = m_dOffsetJ = m_dRigid = m_dNReg = m_dAngle = 0.0;
}

}  // namespace tav
