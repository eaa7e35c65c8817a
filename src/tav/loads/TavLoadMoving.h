// A moving load case: the path of a moving load as a sequence of lane
// elements. Owned by the document; the case owns its lane elements.
#pragma once

#include <memory>
#include <vector>

#include "tav/model/TavObject.h"
#include "tav/platform/String.h"

namespace tav {

// Two beams of the path with an eccentricity at each.
class CTavLane : public CTavObject {
 public:
  void Init() override {}
  void Destroy() override {}
  // Version, the two beam numbers, the two eccentricities.
  void Serialize(CArchive& ar) override;

  int32_t m_nElement1 = 0;
  int32_t m_nElement2 = 0;
  double m_dEcc1 = 0.0;
  double m_dEcc2 = 0.0;
};

class CTavLoadMoving : public CTavObject {
 public:
  CTavLoadMoving() { CTavLoadMoving::Init(); }
  ~CTavLoadMoving() override { CTavLoadMoving::Destroy(); }

  void Init() override { m_strName.clear(); }
  // Deletes every lane element.
  void Destroy() override { m_arrLane.clear(); }
  // Version, number, name, lane count and each lane element's record.
  void Serialize(CArchive& ar) override;

  CTavLane* AddMovingLoad_Lane(int32_t element1, int32_t element2, double ecc1, double ecc2);
  int32_t GetCountLane() const { return static_cast<int32_t>(m_arrLane.size()); }
  CTavLane* GetLane(int32_t lane) const { return m_arrLane[static_cast<size_t>(lane)].get(); }
  CString GetStringName() const { return m_strName; }

  int32_t m_nIndex = -1;
  CString m_strName;
  std::vector<std::unique_ptr<CTavLane>> m_arrLane;
};

}  // namespace tav
