#include "tav/loads/TavLoadMoving.h"

#include "tav/model/Records.h"

namespace tav {

void CTavLane::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "lane element");
  Exchange(ar, m_nElement1, m_nElement2, m_dEcc1, m_dEcc2);
}

void CTavLoadMoving::Serialize(CArchive& ar) {
  constexpr size_t kLaneRecordBytes = 28;
  SerializeVersion(ar, 0, "moving load case");
  Exchange(ar, m_nIndex, m_strName);
  SerializeOwned(ar, m_arrLane, kLaneRecordBytes, "lane elements");
}

CTavLane* CTavLoadMoving::AddMovingLoad_Lane(int32_t element1, int32_t element2, double ecc1, double ecc2) {
  auto lane = std::make_unique<CTavLane>();
  lane->m_nElement1 = element1;
  lane->m_nElement2 = element2;
  lane->m_dEcc1 = ecc1;
  lane->m_dEcc2 = ecc2;
  m_arrLane.push_back(std::move(lane));
  return m_arrLane.back().get();
}

}  // namespace tav
