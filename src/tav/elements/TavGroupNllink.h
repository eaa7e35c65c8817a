// Nonlinear links: two-joint elements with a nonlinear spring property. The
// document owns every link; a link group owns its properties and holds the
// numbers of its links, whose property numbers are read against it.
#pragma once

#include <memory>
#include <vector>

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavData;

class CTavNLLink : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavNLLink() = default;
  ~CTavNLLink() override { CTavNLLink::Destroy(); }

  void Init() override;
  void Destroy() override {}
  // 28 bytes: version, number, joints, property, angle.
  void Serialize(CArchive& ar) override;

  int32_t m_nIndex = -1;
  int32_t m_nJointI = -1;
  int32_t m_nJointJ = -1;
  int32_t m_nProperty = -1;
  double m_dAngle = 0.0;
};

class CTavNllinkConstant : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavNllinkConstant() = default;
  ~CTavNllinkConstant() override { CTavNllinkConstant::Destroy(); }

  // Every value 0; the number is kept.
  void Init() override;
  void Destroy() override {}
  // 40 bytes: version, number, K0 and the three further values.
  void Serialize(CArchive& ar) override;

  int32_t m_nIndex = -1;
  double m_dK0 = 0.0;
  double m_dLinkValue2 = 0.0;
  double m_dLinkValue3 = 0.0;
  double m_dLinkValue4 = 0.0;
};

class CTavGroupNllink : public CTavGroup {
 public:
  CTavGroupNllink() { CTavGroupNllink::Init(); }
  ~CTavGroupNllink() override { CTavGroupNllink::Destroy(); }

  void Init() override { m_nType = kLink; }
  // Deletes the link properties; the links stay with the document.
  void Destroy() override { m_arrNllinkConstant.clear(); }
  // Version, property count and records, link count and numbers.
  void Serialize(CArchive& ar) override;

  CTavNllinkConstant* AddNllinkConstants(double k0, double value2, double value3, double value4);
  int32_t GetCountNllink() const { return m_arrNllink.GetSize(); }
  int32_t GetCountNllinkConstant() const { return static_cast<int32_t>(m_arrNllinkConstant.size()); }
  CTavNllinkConstant* GetNllinkConstant(int32_t property) const {
    return m_arrNllinkConstant[static_cast<size_t>(property)].get();
  }

  std::vector<std::unique_ptr<CTavNllinkConstant>> m_arrNllinkConstant;
  CLongArray m_arrNllink;

 private:
  friend class CTavData;
  // Creates link `index` and lists its number; the document takes the link.
  std::unique_ptr<CTavNLLink> AddNllink(int32_t index, int32_t jointI, int32_t jointJ, int32_t property, double angle);
};

}  // namespace tav
