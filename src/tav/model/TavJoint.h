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
  // The member initialisers are the defaults Init returns to.
  CTavJoint() = default;
  ~CTavJoint() override { CTavJoint::Destroy(); }

  void Init() override;
  void Destroy() override {}
  // Number, coordinates, the reserved value, the local system and, from
  // version 1, the restraints (version 0 does not read the reserved value).
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
