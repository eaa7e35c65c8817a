#include "tav/model/TavJoint.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"

namespace tav {

void CTavJoint::Init() { *this = CTavJoint(); }

// Version 1 adds the restraint byte after the version-0 fields and reads the
// reserved value back.
void CTavJoint::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "joint");
  // Version 0 ignored the reserved value; version 1 gives back what was stored.
  int32_t reserved = m_nReserved;
  Exchange(ar, m_nIndex, m_vPos.x, m_vPos.y, m_vPos.z, reserved, m_nLocalCoord);
  if (version >= 1) {
    m_nReserved = reserved;
    Exchange(ar, m_Restraint.byFlags);
  }
}

CString CTavJoint::GetStringRestraint(TaV_TEXT_SEPERATE_TYPE separator) const {
  return JoinFlagNames(m_Restraint.byFlags, words::kJointDof, SeparatorText(separator));
}

}  // namespace tav
