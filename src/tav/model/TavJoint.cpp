#include "tav/model/TavJoint.h"

#include "tav/model/TavText.h"

namespace tav {

void CTavJoint::Init() {
  m_nIndex = -1;
  m_vPos = CVector();
  m_nReserved = 0;
  m_nLocalCoord = -1;
  m_Restraint.byFlags = 0;
}

void CTavJoint::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t{0} << m_nIndex << m_vPos.x << m_vPos.y << m_vPos.z << m_nReserved << m_nLocalCoord;
  } else {
    int32_t version = 0;
    int32_t reserved = 0;
    ar >> version >> m_nIndex >> m_vPos.x >> m_vPos.y >> m_vPos.z >> reserved >> m_nLocalCoord;
  }
}

CString CTavJoint::GetStringRestraint(TaV_TEXT_SEPERATE_TYPE separator) const {
  static const char* const kNames[6] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
  return JoinFlagNames(m_Restraint.byFlags, kNames, SeparatorText(separator));
}

}  // namespace tav
