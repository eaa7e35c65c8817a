// Lists of joints with six values each: lumped masses (CTavJointMass) and
// dampers (CTavJointDamping). A joint may appear in several records; nothing
// merges them. The document owns one list of each kind.
#pragma once

#include <vector>

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavJointValueList : public CTavObject {
 public:
  void Init() override {}
  void Destroy() override {}
  // Version, record count, then joint and six values per record. A version-0
  // record has no count and fills the records the list already holds.
  void Serialize(CArchive& ar) override;

  void Add(int32_t joint, double v1, double v2, double v3, double v4, double v5, double v6);
  int32_t GetCount() const { return static_cast<int32_t>(m_arrData.size()); }
  // Borrowed; valid until the next Add or ClearData.
  TaV_JOINT_VALUES* GetData(int32_t i) { return &m_arrData[static_cast<size_t>(i)]; }
  const TaV_JOINT_VALUES* GetData(int32_t i) const { return &m_arrData[static_cast<size_t>(i)]; }
  void ClearData() { m_arrData.clear(); }

 protected:
  std::vector<TaV_JOINT_VALUES> m_arrData;
};

class CTavJointMass : public CTavJointValueList {
 public:
  // "XMX=..." to "RMZ=..." for the values that are not 0.
  CString GetStringMass(int32_t record, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
};

class CTavJointDamping : public CTavJointValueList {
 public:
  // "XDX=..." to "RDZ=..." for the values that are not 0.
  CString GetStringDamping(int32_t record, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
};

}  // namespace tav
