#include "tav/elements/TavGroupNllink.h"

#include "tav/model/Records.h"

namespace tav {

void CTavNLLink::Init() { *this = CTavNLLink(); }

void CTavNLLink::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "nonlinear link");
  Exchange(ar, m_nIndex, m_nJointI, m_nJointJ, m_nProperty, m_dAngle);
}

void CTavNllinkConstant::Init() {
  const int32_t number = m_nIndex;
  *this = CTavNllinkConstant();
  m_nIndex = number;
}

void CTavNllinkConstant::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "link property");
  Exchange(ar, m_nIndex, m_dK0, m_dLinkValue2, m_dLinkValue3, m_dLinkValue4);
}

void CTavGroupNllink::Serialize(CArchive& ar) {
  constexpr size_t kPropertyRecordBytes = 40;
  SerializeVersion(ar, 0, "link group");
  SerializeOwned(ar, m_arrNllinkConstant, kPropertyRecordBytes, "link properties");
  m_arrNllink.Serialize(ar);
}

CTavNllinkConstant* CTavGroupNllink::AddNllinkConstants(double k0, double value2, double value3, double value4) {
  auto property = std::make_unique<CTavNllinkConstant>();
  property->m_nIndex = GetCountNllinkConstant();
  property->m_dK0 = k0;
  property->m_dLinkValue2 = value2;
  property->m_dLinkValue3 = value3;
  property->m_dLinkValue4 = value4;
  m_arrNllinkConstant.push_back(std::move(property));
  return m_arrNllinkConstant.back().get();
}

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
