// The Sap text input, block by block in file order.
#include "tav/writers/SapInputWriter.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

void SapInputWriter::Write() {
  using Section = void (SapInputWriter::*)();
  static constexpr Section kFileOrder[] = {
      &SapInputWriter::WriteSystem,         &SapInputWriter::WriteJoints,        &SapInputWriter::WriteLocalSystems,
      &SapInputWriter::WriteRestraints,     &SapInputWriter::WriteSprings,       &SapInputWriter::WriteMaterials,
      &SapInputWriter::WriteLinkProperties, &SapInputWriter::WriteFrameSections, &SapInputWriter::WriteFrames,
      &SapInputWriter::WriteLinks,          &SapInputWriter::WriteLoads,         &SapInputWriter::WriteCombinations,
      &SapInputWriter::WriteOutput,
  };
  for (Section section : kFileOrder) (this->*section)();
}

const CTavGroup* SapInputWriter::FindFirstGroup(int32_t kind) const {
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    if (document_.GetGroup(g)->GetType() == kind) return document_.GetGroup(g);
  }
  return nullptr;
}

const CTavGroupElement* SapInputWriter::FirstBeamGroup() const {
  return static_cast<const CTavGroupElement*>(FindFirstGroup(CTavGroup::kBeam));
}

void SapInputWriter::WriteSystem() {
  lines_.Linef("< %s >", document_.GetTitle().c_str());
  Line("SYSTEM");
  Line("   DOF=" + document_.GetGlobalOption()->GetStringDOF(TaV_SEPERATE_COMMA) + " LENGTH=M FORCE=kN");
}

void SapInputWriter::WriteJoints() {
  if (document_.GetCountJoint() == 0) return;
  Line("JOINT");
  for (int32_t i = 0; i < document_.GetCountJoint(); ++i) {
    const CTavJoint& joint = *document_.GetJoint(i);
    CString& line = lines_.Start();
    AppendFormat(line, "  %-2d X=", joint.m_nIndex + 1);
    AppendRealText(line, joint.m_vPos.x);
    line += " Y=";
    AppendRealText(line, joint.m_vPos.y);
    line += " Z=";
    AppendRealText(line, joint.m_vPos.z);
    lines_.Finish();
  }
}

void SapInputWriter::WriteLocalSystems() {
  if (document_.GetCountLocalCoord() == 0) return;
  Line("LOCAL");
  // The receiving program needs the angle after "ANG="; the system's first
  // rotation angle (degrees) is written there with "%g".
  for (int32_t i = 0; i < document_.GetCountLocalCoord(); ++i) {
    const CTavLocalCoord& system = *document_.GetLocalCoord(i);
    lines_.Linef("   ADD=%d ANG=%g", system.m_nIndex + 1, system.m_dAngle[0]);
  }
}

void SapInputWriter::WriteRestraints() {
  if (document_.GetCountJoint() == 0) return;
  Line("RESTRAINT");
  for (int32_t i = 0; i < document_.GetCountJoint(); ++i) {
    const CTavJoint& joint = *document_.GetJoint(i);
    if (!joint.m_Restraint.Any()) continue;
    lines_.Linef("  ADD=%-2d DOF=%s", joint.m_nIndex + 1, joint.GetStringRestraint(TaV_SEPERATE_COMMA).c_str());
  }
}

// The block of every spring group, under one header written at the first.
void SapInputWriter::WriteSprings() {
  bool header = false;
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    if (document_.GetGroup(g)->GetType() != CTavGroup::kSpring) continue;
    if (!header) {
      Line("SPRING");
      header = true;
    }
    const auto& group = static_cast<const CTavGroupSpring&>(*document_.GetGroup(g));
    for (const TaV_SPRING& spring : group.m_arrSpring) {
      const CTavSpringConstant& constant = *group.GetSpingConstant(spring.nConstant);
      if (constant.m_bMultiDof != 0) continue;  // the format has single-degree springs only
      lines_.Linef("  ADD=%d %s", spring.nJoint + 1, constant.GetStringValue_Sap().c_str());
    }
  }
}

void SapInputWriter::WriteMaterials() {
  const CTavGroupElement* group = FirstBeamGroup();
  if (group == nullptr || group->GetCountSection() == 0) return;
  Line("MATERIAL");
  for (const auto& section : group->m_arrSection) {
    lines_.Linef("  Name=%d W=%s\r\n    E=%s A=%s", section->m_nIndex + 1, GetRealText(section->m_dW).c_str(),
                 GetRealText(section->m_dE).c_str(), GetRealText(section->m_dArea).c_str());
  }
}

void SapInputWriter::WriteLinkProperties() {
  const auto* group = static_cast<const CTavGroupNllink*>(FindFirstGroup(CTavGroup::kLink));
  if (group == nullptr || group->GetCountNllinkConstant() == 0) return;
  Line("NLPROP");
  for (const auto& property : group->m_arrNllinkConstant) {
    const CString k0 = GetRealText(property->m_dK0);
    Line(
        Format("  NAME=%d TYPE=Gap M=1e-005 MR1=1e-005 MR2=1e-005 MR3=1e-005\r\n"
               "        DOF=U1 KE=%s CE=0.99999 K=%s OPEN=0",
               property->m_nIndex + 1, k0.c_str(), k0.c_str()));
  }
}

void SapInputWriter::WriteFrameSections() {
  const CTavGroupElement* group = FirstBeamGroup();
  if (group == nullptr || group->GetCountSection() == 0) return;
  Line("FRAME SECTION");
  for (const auto& section : group->m_arrSection) Line("  " + section->GetStringSectionProp_Sap());
}

void SapInputWriter::WriteFrames() {
  const CTavGroupElement* group = FirstBeamGroup();
  if (group == nullptr || group->GetCountBeam() == 0) return;
  Line("FRAME");
  const int32_t segments = document_.GetGlobalOption()->GetCountForceSegment();
  for (int32_t number : group->m_arrBeam) {
    const CTavBeam& beam = *document_.GetBeam(number);
    CString& line = lines_.Start();
    AppendFormat(line, "   %2d J=%d, %d SEC=%d NSEG=%d ANG=", beam.m_nIndex + 1, beam.m_nJointI + 1, beam.m_nJointJ + 1,
                 beam.m_nSection + 1, segments);
    AppendRealText(line, beam.m_dAngle);
    line += ' ';
    line += beam.GetStringEndRelrease(TaV_SEPERATE_COMMA);
    lines_.Finish();
  }
}

void SapInputWriter::WriteLinks() {
  if (document_.GetCountNLLink() == 0) return;
  Line("NLLINK");
  // The link's angle is a real number: it is written with "%g", which keeps
  // whole-number angles as they were and gives the others their value.
  for (int32_t i = 0; i < document_.GetCountNLLink(); ++i) {
    const CTavNLLink& link = *document_.GetNLLink(i);
    lines_.Linef("   %d J=%d,%d NLP=%d ANG=%g", link.m_nIndex + 1, link.m_nJointI + 1, link.m_nJointJ + 1,
                 link.m_nProperty + 1, link.m_dAngle);
  }
}

void SapInputWriter::WriteLoads() {
  if (document_.GetCountStaticLoad() == 0) return;
  Line("LOAD");
  for (int32_t i = 0; i < document_.GetCountStaticLoad(); ++i) WriteLoadCase(*document_.GetStaticLoad(i));
}

void SapInputWriter::WriteLoadCase(const CTavLoadStatic& loadCase) {
  lines_.Linef("NAME=%s  SW=%d", loadCase.m_strName.c_str(), loadCase.m_bSelfWeight != 0 ? 1 : 0);
  // Forces and imposed displacements alike name the joint's six degrees of
  // freedom.
  const auto writeSixValues = [this](const CTavJointLoadValues& load) {
    CString& line = lines_.Start();
    AppendFormat(line, "      ADD=%d", load.m_nJoint + 1);
    for (size_t i = 0; i < 6; ++i) {
      line.append(" ").append(words::kJointDof[i]).append("=");
      AppendGeneral(line, load.m_dValue[i]);
    }
    lines_.Finish();
  };
  if (loadCase.GetSizeLoadJoint() > 0) {
    Line("   TYPE=FORCE");
    for (const auto& load : loadCase.m_arrLoadJoint) writeSixValues(*load);
  }
  if (loadCase.GetSizeLoadBeam() > 0) {
    // One sub-header for all beam loads of the case, chosen by the first.
    const bool distributed = loadCase.GetLoadBeam(0)->m_eType == TaV_BEAMLOAD_DISTRIBUTED;
    Line(distributed ? "   TYPE=DISTRIBUTED SPAN" : "   TYPE=CONCENTRATED SPAN");
    for (const auto& load : loadCase.m_arrLoadBeam) {
      lines_.Start().append("      ").append(load->GetStringLoad_Sap());
      lines_.Finish();
    }
  }
  if (loadCase.GetSizeLoadDisplacement() > 0) {
    Line("   TYPE=RESTRAINT DISPLACEMENT");
    for (const auto& load : loadCase.m_arrLoadDisplacement) writeSixValues(*load);
  }
}

void SapInputWriter::WriteCombinations() {
  if (document_.GetCountComboLoad() == 0) return;
  Line("COMBO");
  for (int32_t i = 0; i < document_.GetCountComboLoad(); ++i) {
    const CTavCombo& combo = *document_.GetCombo(i);
    lines_.Linef("   NAME=%s  TYPE=%s", combo.m_strName.c_str(), combo.GetStringType().c_str());
    for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
      const CString name = document_.GetLoadName(term.nCase, term.eType);
      switch (term.eType) {
        case TaV_LOAD_STATIC:
          lines_.Linef("      LOAD=%s SF=%g", name.c_str(), term.dFactor);
          break;
        case TaV_LOAD_HISTORY:
          lines_.Linef("      MODE=%s SF=%g,%g", name.c_str(), term.dFactor, term.dFactor2);
          break;
        case TaV_LOAD_RESPONSE_SPECTRUM:
          lines_.Linef("      SPEC=%s SF=%g,%g", name.c_str(), term.dFactor, term.dFactor2);
          break;
        case TaV_LOAD_MOVING:
          lines_.Linef("      MOVE=%s SF=%g", name.c_str(), term.dFactor);
          break;
        case TaV_LOAD_COMBO:
          lines_.Linef("      COMB=%s SF=%g", name.c_str(), term.dFactor);
          break;
      }
    }
  }
}

void SapInputWriter::WriteOutput() {
  Line("OUTPUT");
  Line("   ELEM=JOINT   TYPE=REAC,DISP,APP      LOAD=*  COMB=*  HIST=*  SPEC=*");
  Line("   ELEM=FRAME   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*");
  Line("   ELEM=SHELL   TYPE=FORCE              LOAD=*  COMB=*  HIST=*  SPEC=*");
}

}  // namespace tav
