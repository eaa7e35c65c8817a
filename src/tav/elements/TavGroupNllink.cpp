#include "tav/elements/TavGroupNllink.h"

namespace tav {

void CTavNLLink::Init() {
  m_nIndex = m_nJointI = m_nJointJ = m_nProperty = -1;
  m_dAngle = 0.0;
}

void CTavNllinkConstant::Init() { m_dK0 = m_dLinkValue2 = m_dLinkValue3 = m_dLinkValue4 = 0.0; }

std::unique_ptr<CTavNLLink> CTavGroupNllink::AddNllink(int32_t index, int32_t jointI, int32_t jointJ, int32_t property,
                                                       double angle) {
  auto link = std::make_unique<CTavNLLink>();
  link->m_nIndex = index;
  link->m_nJointI = jointI;
  link->m_nJointJ = jointJ;
  link->m_nProperty = property;
  link->m_dAngle = angle;
  m_arrNllink.Add(index);
  return link;
}

}  // namespace tav
