// A two-joint frame element. The document owns every beam in its beam list;
// a beam element group holds the numbers of its beams, and the beam's
// section number is read against that group's sections.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavBeam : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavBeam() = default;
  ~CTavBeam() override { CTavBeam::Destroy(); }

  // Numbers -1, no releases flagged but every release bit set, no offsets.
  void Init() override;
  void Destroy() override {}
  // Version, number, joints, angle, section, the two release flags, offsets
  // and rigid-zone factor (version 0, 60 bytes); version 1 adds the two
  // release sets and the own segment count (70 bytes).
  void Serialize(CArchive& ar) override;

  // Any non-zero `end` selects end I, zero end J; bits 6 and 7 are kept and
  // the end's flag is left as it is.
  void SetEndRelease(int end, bool u1, bool u2, bool u3, bool r1, bool r2, bool r3);
  TaV_RESTRAINTS GetEndRelease(int end) const { return end != 0 ? m_ReleaseI : m_ReleaseJ; }
  int IsEndRelease() const { return m_bReleaseI | m_bReleaseJ; }
  int IsExistOffset() const { return m_dOffsetI != 0.0 || m_dOffsetJ != 0.0 ? 1 : 0; }

  // "END RELEASE=MTI MTJ ", "IOFFSET=%g JOFFSET=%g", "RIGID=%g", "NREG=%g",
  // each where it applies.
  CString GetStringExt(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
  // " IREL=..." and " JREL=..." with U1 to R3 for each flagged end.
  CString GetStringEndRelrease(TaV_TEXT_SEPERATE_TYPE separator) const;

  int32_t m_nIndex = -1;
  int32_t m_nJointI = -1;
  int32_t m_nJointJ = -1;
  int32_t m_nSection = -1;
  int32_t m_bReleaseI = 0;
  int32_t m_bReleaseJ = 0;
  TaV_RESTRAINTS m_ReleaseI{0xFF};
  TaV_RESTRAINTS m_ReleaseJ{0xFF};
  double m_dOffsetI = 0.0;
  double m_dOffsetJ = 0.0;
  double m_dRigid = 0.0;
  double m_dNReg = 0.0;
  double m_dAngle = 0.0;
};

}  // namespace tav
