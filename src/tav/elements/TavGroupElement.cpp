#include "tav/elements/TavGroupElement.h"

#include "tav/model/Records.h"

namespace tav {

void CTavGroupElement::Serialize(CArchive& ar) {
  constexpr size_t kSectionRecordBytes = 132;
  SerializeVersion(ar, 0, "beam group");
  SerializeOwned(ar, m_arrSection, kSectionRecordBytes, "sections");
  m_arrBeam.Serialize(ar);
}

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

CTavSection* CTavGroupElement::AppendSection() {
  auto section = std::make_unique<CTavSection>();
  section->m_nIndex = GetCountSection();
  m_arrSection.push_back(std::move(section));
  return m_arrSection.back().get();
}

CTavSection* CTavGroupElement::AddSection(TaV_SECTION_TYPE type, double* const values) {
  CTavSection* section = AppendSection();
  section->m_eType = type;
  if (values != nullptr) {
    for (int i = 0; i < 4; ++i) section->m_dDim[i] = values[i];
  }
  if (type == TaV_SECTION_RECT) section->m_dArea = section->m_dDim[0] * section->m_dDim[1];
  return section;
}

CTavSection* CTavGroupElement::AddSection_Rect(double e, double width, double height) {
  CTavSection* section = AppendSection();
  section->m_eType = TaV_SECTION_RECT;
  section->m_dE = e;
  section->m_dDim[0] = width;
  section->m_dDim[1] = height;
  section->m_dArea = width * height;
  return section;
}

CTavSection* CTavGroupElement::AddSection(double e, double poisson, double is, double it, double area, double w,
                                          double materialAux, double j, double ashs, double asht) {
  CTavSection* section = AppendSection();
  section->m_dE = e;
  section->m_dPoisson = poisson;
  section->m_dIS = is;
  section->m_dIT = it;
  section->m_dArea = area;
  section->m_dW = w;
  section->m_dMaterialAux = materialAux;
  section->m_dJ = j;
  section->m_dASHS = ashs;
  section->m_dASHT = asht;
  return section;
}

}  // namespace tav
