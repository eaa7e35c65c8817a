#include "tav/elements/TavBeam.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

void CTavBeam::Init() { *this = CTavBeam(); }

// Version 1 adds the two release sets and the own segment count.
void CTavBeam::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "beam");
  Exchange(ar, m_nIndex, m_nJointI, m_nJointJ, m_dAngle, m_nSection, m_bReleaseI, m_bReleaseJ, m_dOffsetI, m_dOffsetJ,
           m_dRigid);
  if (version >= 1) Exchange(ar, m_ReleaseI.byFlags, m_ReleaseJ.byFlags, m_dNReg);
}

void CTavBeam::SetEndRelease(int end, bool u1, bool u2, bool u3, bool r1, bool r2, bool r3) {
  (end != 0 ? m_ReleaseI : m_ReleaseJ).SetSix(u1, u2, u3, r1, r2, r3);
}

CString CTavBeam::GetStringExt(TaV_REAL_PRECISION precision) const {
  CString text;
  if (m_bReleaseI != 0 || m_bReleaseJ != 0) {
    text = "END RELEASE=";
    if (m_bReleaseI != 0) text.append(words::kReleaseI).append(" ");
    if (m_bReleaseJ != 0) text.append(words::kReleaseJ).append(" ");
  }
  const auto append = [&text](const CString& piece) {
    if (!text.empty()) text += ' ';
    text += piece;
  };
  const auto real = [precision](double value) { return GetPlainRealText(value, precision); };
  if (m_dOffsetI != 0.0 || m_dOffsetJ != 0.0) append("IOFFSET=" + real(m_dOffsetI) + " JOFFSET=" + real(m_dOffsetJ));
  if (m_dRigid != 0.0) append("RIGID=" + real(m_dRigid));
  if (m_dNReg != 0.0) append("NREG=" + real(m_dNReg));
  return text;
}

CString CTavBeam::GetStringEndRelrease(TaV_TEXT_SEPERATE_TYPE separator) const {
  CString text;
  if (m_bReleaseI != 0) text += " IREL=" + JoinFlagNames(m_ReleaseI.byFlags, words::kBeamDof, SeparatorText(separator));
  if (m_bReleaseJ != 0) text += " JREL=" + JoinFlagNames(m_ReleaseJ.byFlags, words::kBeamDof, SeparatorText(separator));
  return text;
}

}  // namespace tav
