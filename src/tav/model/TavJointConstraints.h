// Joint constraints: diaphragms and rigid links, each a master joint with
// slave joints. The document owns one; the records are held by value.
#pragma once

#include <vector>

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavJointConstraints : public CTavObject {
 public:
  void Init() override {}
  void Destroy() override {}
  // Version, diaphragm count and each diaphragm (number, master, slaves),
  // rigid link count and each link (number, type, master, slaves). A
  // version-0 record has no counts and fills the records already held.
  void Serialize(CArchive& ar) override;

  // Appends a diaphragm numbered by the diaphragm count; returns the number.
  int32_t AddDiaphragm(int32_t master, const CLongArray& slaves);
  // Appends a rigid link numbered by the rigid link count; returns the number.
  int32_t AddRigidLink(int32_t type, int32_t master, const CLongArray& slaves);

  int32_t GetCountDiaphragm() const { return static_cast<int32_t>(m_arrDiaphragm.size()); }
  int32_t GetCountRigidLink() const { return static_cast<int32_t>(m_arrRigidLink.size()); }
  // Borrowed; valid until the next addition of the same kind or ClearData.
  TaV_DIAPHRAGM* GetDiaphragm(int32_t i) { return &m_arrDiaphragm[static_cast<size_t>(i)]; }
  const TaV_DIAPHRAGM* GetDiaphragm(int32_t i) const { return &m_arrDiaphragm[static_cast<size_t>(i)]; }
  TaV_RIGIDLINK* GetRigidLink(int32_t i) { return &m_arrRigidLink[static_cast<size_t>(i)]; }
  const TaV_RIGIDLINK* GetRigidLink(int32_t i) const { return &m_arrRigidLink[static_cast<size_t>(i)]; }

  void ClearData();

  // The joint numbers + 1, separated by one blank.
  static CString GetStringJointList(const CLongArray& joints);

 private:
  std::vector<TaV_DIAPHRAGM> m_arrDiaphragm;
  std::vector<TaV_RIGIDLINK> m_arrRigidLink;
};

}  // namespace tav
