#include "tav/elements/TavGroupElement.h"

namespace tav {

std::unique_ptr<CTavBeam> CTavGroupElement::AddBeam(int32_t index, int32_t section, int32_t jointI, int32_t jointJ,
                                                    double angle, int releaseI, int releaseJ, double offsetI,
                                                    double offsetJ, double rigid, double nreg) {
  auto beam = std::make_unique<CTavBeam>();
  beam->m_nIndex = index;
  beam->m_nSection = section;
  beam->m_nJointI = jointI;
  beam->m_nJointJ = jointJ;
  beam->m_dAngle = angle;
  beam->m_bReleaseI = releaseI;
  beam->m_bReleaseJ = releaseJ;
  beam->m_dOffsetI = offsetI;
  beam->m_dOffsetJ = offsetJ;
  beam->m_dRigid = rigid;
  beam->m_dNReg = nreg;
  m_arrBeam.Add(index);
  return beam;
}

}  // namespace tav
