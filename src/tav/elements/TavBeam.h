// A two-joint frame element. The document owns every beam in its beam list;
// a beam element group holds the numbers of its beams.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavBeam : public CTavObject {
 public:
  CTavBeam() { CTavBeam::Init(); }
  ~CTavBeam() override { CTavBeam::Destroy(); }

  void Init() override;
  void Destroy() override {}

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
