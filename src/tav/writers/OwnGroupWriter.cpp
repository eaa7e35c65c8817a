// The element groups of the own solver input, in the order of the
// document's group list: a header, then the group's properties, then its
// elements.
#include "tav/document/TavData.h"

namespace tav {
namespace {

const char* SpringType(const CTavGroupSpring& group, int32_t constant) {
  return group.GetSpingConstant(constant)->m_bMultiDof != 0 ? "MULTI D.O.F" : "SINGLE D.O.F";
}

}  // namespace

int CTavData::WriteGroup_Tav(CArchive& ar) {
  const int32_t segments = m_pGlobalOption->GetCountForceSegment();
  for (const auto& base : m_arrGroup) {
    switch (base->GetType()) {
      case CTavGroup::kBeam: {
        auto& group = static_cast<CTavGroupElement&>(*base);
        Write_Tav(ar, "BEAM ELEMENT GROUP %d NUMBER OF ELEMENTS=%d", group.GetIndex() + 1, group.GetCountBeam());
        for (const auto& section : group.m_arrSection) {
          Write_Tav(ar, "   MAT/SEC PROPERTIES %d %s", section->m_nIndex + 1,
                    section->GetStringSectionProp_Tav(m_eRealPrecision).c_str());
        }
        for (int32_t number : group.m_arrBeam) {
          const CTavBeam& beam = *GetBeam(number);
          Write_Tav(ar, "   %2d MATERIAL=%d NOAN=%d %d %s NREG=%d %s", beam.m_nIndex + 1, beam.m_nSection + 1,
                    beam.m_nJointI + 1, beam.m_nJointJ + 1, RealText(beam.m_dAngle).c_str(), segments,
                    beam.GetStringExt(m_eRealPrecision).c_str());
        }
        break;
      }
      case CTavGroup::kSpring: {
        const auto& group = static_cast<const CTavGroupSpring&>(*base);
        Write_Tav(ar, "SUPPORT SPRING GROUP %d NUMBER OF ELEMENTS=%d NUMBER OF CONSTANTS=%d", group.GetIndex() + 1,
                  group.GetCountSpring(), group.GetCountSpingConstant());
        for (const auto& constant : group.m_arrSpringConstant) {
          const double* k = constant->m_dStiffness;
          if (constant->m_bMultiDof == 0) {
            Write_Tav(ar, "   SPRING CONSTANTS %d STIFFNESS=%s", constant->m_nIndex + 1, RealText(k[0]).c_str());
          } else {
            Write_Tav(ar, "   SPRING CONSTANTS %d STIFFNESS=%s,%s,%s", constant->m_nIndex + 1, RealText(k[0]).c_str(),
                      RealText(k[1]).c_str(), RealText(k[2]).c_str());
          }
        }
        for (const TaV_SPRING& spring : group.m_arrSpring) {
          Write_Tav(ar, "   %2d SPRING CONSTANT=%d NODE=%d TYPE=%s", spring.nIndex + 1, spring.nConstant + 1,
                    spring.nJoint + 1, SpringType(group, spring.nConstant));
        }
        break;
      }
      case CTavGroup::kLink: {
        const auto& group = static_cast<const CTavGroupNllink&>(*base);
        Write_Tav(ar, "NLLINK ELEMENT GROUP %d NUMBER OF ELEMENTS=%d NUMBER OF CONSTANTS=%d", group.GetIndex() + 1,
                  group.GetCountNllink(), group.GetCountNllinkConstant());
        for (const auto& property : group.m_arrNllinkConstant) {
          Write_Tav(ar, "   MAT/SEC PROPERTIE %d K0=%s", property->m_nIndex + 1, RealText(property->m_dK0).c_str());
        }
        for (int32_t number : group.m_arrNllink) {
          const CTavNLLink& link = *GetNLLink(number);
          Write_Tav(ar, "   %2d NODE %d %2d MATERIAL=%d", link.m_nIndex + 1, link.m_nJointI + 1, link.m_nJointJ + 1,
                    link.m_nProperty + 1);
        }
        break;
      }
      default:
        break;
    }
  }
  return 1;
}

}  // namespace tav
