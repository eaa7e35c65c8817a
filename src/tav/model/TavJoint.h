// A joint of the frame: its number, coordinates, local coordinate system
// and restraints. Owned by the document.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/model/Vector.h"
#include "tav/platform/String.h"

namespace tav {

class CTavJoint : public CTavObject {
 public:
  CTavJoint() { CTavJoint::Init(); }
  ~CTavJoint() override { CTavJoint::Destroy(); }

  void Init() override;
  void Destroy() override {}
  // Number, coordinates, the reserved value and the local system; the
  // restraints are not part of this record.
  void Serialize(CArchive& ar) override;

  // Names of the restrained degrees of freedom ("UX" ... "RZ").
  CString GetStringRestraint(TaV_TEXT_SEPERATE_TYPE separator) const;

  int32_t m_nIndex = -1;
  CVector m_vPos;
  int32_t m_nReserved = 0;
  int32_t m_nLocalCoord = -1;
  TaV_RESTRAINTS m_Restraint;
};

}  // namespace tav
