// The Sap text input (".s2k"): keyword blocks, one statement a line, never
// wrapped. Sections, materials and frames come from the first beam group
// only, link properties from the first link group only.
#include "tav/document/TavData.h"

namespace tav {

int CTavData::WriteSystem_Sap(CArchive& ar) {
  Write_Sap(ar, "< %s >", m_strTitle.c_str());
  Write_Sap(ar, "SYSTEM");
  Write_Sap(ar, "   DOF=%s LENGTH=M FORCE=kN", m_pGlobalOption->GetStringDOF(TaV_SEPERATE_COMMA).c_str());
  return 1;
}

int CTavData::WriteJoint_Sap(CArchive& ar) {
  if (m_arrJoint.empty()) return 1;
  Write_Sap(ar, "JOINT");
  for (const auto& joint : m_arrJoint) {
    Write_Sap(ar, "  %-2d X=%s Y=%s Z=%s", joint->m_nIndex + 1, GetTextReal(joint->m_vPos.x).c_str(),
              GetTextReal(joint->m_vPos.y).c_str(), GetTextReal(joint->m_vPos.z).c_str());
  }
  return 1;
}

int CTavData::WriteLocal_Sap(CArchive& ar) {
  if (m_arrLocalCoord.empty()) return 1;
  Write_Sap(ar, "LOCAL");
  // The receiving program needs the angle after "ANG="; the system's first
  // rotation angle (degrees) is written there with "%g".
  for (const auto& system : m_arrLocalCoord) {
    Write_Sap(ar, "   ADD=%d ANG=%g", system->m_nIndex + 1, system->m_dAngle[0]);
  }
  return 1;
}

int CTavData::WriteRestaint_Sap(CArchive& ar) {
  if (m_arrJoint.empty()) return 1;
  Write_Sap(ar, "RESTRAINT");
  for (const auto& joint : m_arrJoint) {
    if (!joint->m_Restraint.Any()) continue;
    Write_Sap(ar, "  ADD=%-2d DOF=%s", joint->m_nIndex + 1, joint->GetStringRestraint(TaV_SEPERATE_COMMA).c_str());
  }
  return 1;
}

int CTavData::WriteSpring_Sap(CArchive& ar) {
  bool header = false;
  for (const auto& base : m_arrGroup) {
    if (base->GetType() != CTavGroup::kSpring) continue;
    if (!header) {
      Write_Sap(ar, "SPRING");
      header = true;
    }
    const auto& group = static_cast<const CTavGroupSpring&>(*base);
    for (const TaV_SPRING& spring : group.m_arrSpring) {
      const CTavSpringConstant& constant = *group.GetSpingConstant(spring.nConstant);
      if (constant.m_bMultiDof != 0) continue;  // the format has single-degree springs only
      Write_Sap(ar, "  ADD=%d %s", spring.nJoint + 1, constant.GetStringValue_Sap().c_str());
    }
  }
  return 1;
}

int CTavData::WriteMaterial_Sap(CArchive& ar) {
  const auto* group = static_cast<const CTavGroupElement*>(FindFirstGroup(CTavGroup::kBeam));
  if (group == nullptr || group->GetCountSection() == 0) return 1;
  Write_Sap(ar, "MATERIAL");
  for (const auto& section : group->m_arrSection) {
    Write_Sap(ar, "  Name=%d W=%s\r\n    E=%s A=%s", section->m_nIndex + 1, GetTextReal(section->m_dW).c_str(),
              GetTextReal(section->m_dE).c_str(), GetTextReal(section->m_dArea).c_str());
  }
  return 1;
}

int CTavData::WriteNLProp_Sap(CArchive& ar) {
  const auto* group = static_cast<const CTavGroupNllink*>(FindFirstGroup(CTavGroup::kLink));
  if (group == nullptr || group->GetCountNllinkConstant() == 0) return 1;
  Write_Sap(ar, "NLPROP");
  for (const auto& property : group->m_arrNllinkConstant) {
    const CString k0 = GetTextReal(property->m_dK0);
    Write_Sap(ar,
              "  NAME=%d TYPE=Gap M=1e-005 MR1=1e-005 MR2=1e-005 MR3=1e-005\r\n"
              "        DOF=U1 KE=%s CE=0.99999 K=%s OPEN=0",
              property->m_nIndex + 1, k0.c_str(), k0.c_str());
  }
  return 1;
}

int CTavData::WriteFrameSection_Sap(CArchive& ar) {
  const auto* group = static_cast<const CTavGroupElement*>(FindFirstGroup(CTavGroup::kBeam));
  if (group == nullptr || group->GetCountSection() == 0) return 1;
  Write_Sap(ar, "FRAME SECTION");
  for (const auto& section : group->m_arrSection) Write_Sap(ar, "  %s", section->GetStringSectionProp_Sap().c_str());
  return 1;
}

int CTavData::WriteFrame_Sap(CArchive& ar) {
  const auto* group = static_cast<const CTavGroupElement*>(FindFirstGroup(CTavGroup::kBeam));
  if (group == nullptr || group->GetCountBeam() == 0) return 1;
  Write_Sap(ar, "FRAME");
  const int32_t segments = m_pGlobalOption->GetCountForceSegment();
  for (int32_t number : group->m_arrBeam) {
    const CTavBeam& beam = *GetBeam(number);
    Write_Sap(ar, "   %2d J=%d, %d SEC=%d NSEG=%d ANG=%s %s", beam.m_nIndex + 1, beam.m_nJointI + 1, beam.m_nJointJ + 1,
              beam.m_nSection + 1, segments, GetTextReal(beam.m_dAngle).c_str(),
              beam.GetStringEndRelrease(TaV_SEPERATE_COMMA).c_str());
  }
  return 1;
}

int CTavData::WriteNLLink_Sap(CArchive& ar) {
  if (m_arrNLLink.empty()) return 1;
  Write_Sap(ar, "NLLINK");
  // The link's angle is a real number: it is written with "%g", which keeps
  // whole-number angles as they were and gives the others their value.
  for (const auto& link : m_arrNLLink) {
    Write_Sap(ar, "   %d J=%d,%d NLP=%d ANG=%g", link->m_nIndex + 1, link->m_nJointI + 1, link->m_nJointJ + 1,
              link->m_nProperty + 1, link->m_dAngle);
  }
  return 1;
}

int CTavData::WriteLoad_Sap(CArchive& ar) {
  if (m_arrLoadStatic.empty()) return 1;
  Write_Sap(ar, "LOAD");
  for (const auto& loadCase : m_arrLoadStatic) {
    Write_Sap(ar, "NAME=%s  SW=%d", loadCase->m_strName.c_str(), loadCase->m_bSelfWeight != 0 ? 1 : 0);
    if (loadCase->GetSizeLoadJoint() > 0) {
      Write_Sap(ar, "   TYPE=FORCE");
      for (const auto& load : loadCase->m_arrLoadJoint) {
        const double* v = load->m_dValue;
        Write_Sap(ar, "      ADD=%d UX=%g UY=%g UZ=%g RX=%g RY=%g RZ=%g", load->m_nJoint + 1, v[0], v[1], v[2], v[3],
                  v[4], v[5]);
      }
    }
    if (loadCase->GetSizeLoadBeam() > 0) {
      // One sub-header for all beam loads of the case, chosen by the first.
      const bool distributed = loadCase->GetLoadBeam(0)->m_eType == TaV_BEAMLOAD_DISTRIBUTED;
      Write_Sap(ar, distributed ? "   TYPE=DISTRIBUTED SPAN" : "   TYPE=CONCENTRATED SPAN");
      for (const auto& load : loadCase->m_arrLoadBeam) Write_Sap(ar, "      %s", load->GetStringLoad_Sap().c_str());
    }
    if (loadCase->GetSizeLoadDisplacement() > 0) {
      Write_Sap(ar, "   TYPE=RESTRAINT DISPLACEMENT");
      for (const auto& load : loadCase->m_arrLoadDisplacement) {
        const double* v = load->m_dValue;
        Write_Sap(ar, "      ADD=%d UX=%g UY=%g UZ=%g RX=%g RY=%g RZ=%g", load->m_nJoint + 1, v[0], v[1], v[2], v[3],
                  v[4], v[5]);
      }
    }
  }
  return 1;
}

int CTavData::WriteCombo_Sap(CArchive& ar) {
  if (m_arrCombo.empty()) return 1;
  Write_Sap(ar, "COMBO");
  for (const auto& combo : m_arrCombo) {
    Write_Sap(ar, "   NAME=%s  TYPE=%s", combo->m_strName.c_str(), combo->GetStringType().c_str());
    for (const TaV_COMBO_DATA& term : combo->m_arrLoad) {
      const CString name = GetLoadName(term.nCase, term.eType);
      switch (term.eType) {
        case TaV_LOAD_STATIC:
          Write_Sap(ar, "      LOAD=%s SF=%g", name.c_str(), term.dFactor);
          break;
        case TaV_LOAD_HISTORY:
          Write_Sap(ar, "      MODE=%s SF=%g,%g", name.c_str(), term.dFactor, term.dFactor2);
          break;
        case TaV_LOAD_RESPONSE_SPECTRUM:
          Write_Sap(ar, "      SPEC=%s SF=%g,%g", name.c_str(), term.dFactor, term.dFactor2);
          break;
        case TaV_LOAD_MOVING:
          Write_Sap(ar, "      MOVE=%s SF=%g", name.c_str(), term.dFactor);
          break;
        case TaV_LOAD_COMBO:
          Write_Sap(ar, "      COMB=%s SF=%g", name.c_str(), term.dFactor);
          break;
      }
    }
  }
  return 1;
}

int CTavData::WriteOutput_Sap(CArchive& ar) {
  Write_Sap(ar, "OUTPUT");
  Write_Sap(ar, "   ELEM=JOINT   TYPE=REAC,DISP,APP      LOAD=*  COMB=*  HIST=*  SPEC=*");
  Write_Sap(ar, "   ELEM=FRAME   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*");
  Write_Sap(ar, "   ELEM=SHELL   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*");
  return 1;
}

}  // namespace tav
