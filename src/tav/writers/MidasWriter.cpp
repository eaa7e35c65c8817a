// The Midas text input: keyword blocks with ";" comments and comma-separated
// records. Two record layouts exist, chosen by the document's version text
// ("4.3.0" or "7.2.0"); any other text writes neither variant. The sections
// of all beam groups are numbered together from 1, group by group.
#include "tav/document/TavData.h"
#include "tav/platform/Format.h"

namespace tav {
namespace {

constexpr const char* kVersion430 = "4.3.0";
constexpr const char* kVersion720 = "7.2.0";

}  // namespace

void CTavData::WriteSeparator_Midas(CArchive& ar) { Write_Midas(ar, "\n"); }

int CTavData::WriteTitle_Midas(CArchive& ar) {
  Write_Midas(ar, "; <%s>", m_strTitle.c_str());
  return 1;
}

int CTavData::WriteVersion(CArchive& ar) {
  Write_Midas(ar, "*VERSION");
  Write_Midas(ar, "%s", m_strMidasVersion.c_str());
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteUnit_Midas(CArchive& ar) {
  Write_Midas(ar, "*UNIT");
  Write_Midas(ar, ";  FORCE, LENGTH");
  Write_Midas(ar, "KN, M");
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteStructType_Midas(CArchive& ar) {
  Write_Midas(ar, "*STRUCTYPE");
  Write_Midas(ar, ";  iSTYP, iSMAS, GRAV, TEMPER, bALIGNBEAM, bALIGNSLAB");
  Write_Midas(ar, "   %d,   %d,   9.806,   0.0,    NO,   NO", m_nMidasStructType, m_nMidasMassOption);
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteNode_Midas(CArchive& ar) {
  if (m_arrJoint.empty()) return 1;
  Write_Midas(ar, "*NODE");
  Write_Midas(ar, ";  iNO, X, Y, Z");
  for (const auto& joint : m_arrJoint) {
    Write_Midas(ar, "   %d,  %g,  %g,  %g", joint->m_nIndex + 1, joint->m_vPos.x, joint->m_vPos.y, joint->m_vPos.z);
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteElement_Midas(CArchive& ar) {
  if (m_arrGroup.empty()) return 1;
  Write_Midas(ar, "*ELEMENT");
  Write_Midas(ar, "; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB, EXVAL            ; Frame Element");
  Write_Midas(ar, "; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iSUB, iWID          ; Plane Element");
  Write_Midas(ar, "; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iN5, iN6, iN7, iN8  ; Solid Element");
  int32_t sectionsBefore = 0;  // sections of the beam groups already passed
  for (const auto& base : m_arrGroup) {
    if (base->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*base);
    for (int32_t number : group.m_arrBeam) {
      const CTavBeam& beam = *GetBeam(number);
      const int32_t section = sectionsBefore + beam.m_nSection + 1;
      Write_Midas(ar, "   %2d,   BEAM,   %d,   %d,   %d,   %d,   %.0f", beam.m_nIndex + 1, section, section,
                  beam.m_nJointI + 1, beam.m_nJointJ + 1, beam.m_dAngle);
    }
    sectionsBefore += group.GetCountSection();
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteMaterial_Midas(CArchive& ar) {
  if (m_arrGroup.empty()) return 1;
  Write_Midas(ar, "*MATERIAL");
  Write_Midas(ar, "; iMAT, TYPE, MNAME, [DATA]          ; STEEL, CONC, USER");
  Write_Midas(ar, "; iMAT, TYPE, MNAME, [DATA], [DATA]  ; SRC");
  Write_Midas(ar, "; [DATA] : 1, DB, NAME or 2, ELAST, POISN, THERMAL, DEN");
  if (m_strMidasVersion == kVersion430) {
    int32_t number = 0;
    for (const auto& base : m_arrGroup) {
      if (base->GetType() != CTavGroup::kBeam) continue;
      for (const auto& section : static_cast<const CTavGroupElement&>(*base).m_arrSection) {
        ++number;
        const CString name = Format("Mat%d", number);
        Write_Midas(ar, "%d, USER, %s, 2, %g, %g, %g, %g", number, name.c_str(), section->m_dE, section->m_dPoisson,
                    9.99e-06, section->m_dW);
      }
    }
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteSection_Midas(CArchive& ar) {
  if (m_arrGroup.empty()) return 1;
  static const char* const kComments[] = {
      "*SECTION",
      "; iSEC, TYPE, SNAME, SHAPE, [DATA]                           ; DB/USER",
      "; iSEC, TYPE, SNAME, SHAPE, BLT, D1, D2, D3, D4, D5, D6     ; 1st line - VALUE",
      ";       AREA, ASY, ASZ, IXX, IYY, IZZ                        ; 2nd line",
      ";       CYP, CYM, CZP, CZM, QYB, QZB, PERI                   ; 3rd line",
      "; iSEC, TYPE, SNAME, SHAPE, iREPLACE, ELAST, DEN, POIS, POIC ; 1st line - SRC",
      ";       D1, D2, [DATA]                                       ; 2nd line",
      "; iSEC, TYPE, SNAME, SHAPE, 1, DB, NAME1, NAME2, D1, D2      ; COMBINED",
      "; iSEC, TYPE, SNAME, SHAPE, 2, D11, D12, D13, D14, D15, D21, D22, D23, D24",
      "; iSEC, TYPE, SNAME, SHAPE, iYVAR, iZVAR, STYPE              ; 1st line - TAPERED",
      ";       DB, NAME1, NAME2                                     ; 2nd line(STYPE=DB)",
      ";       [DIM1], [DIM2]                                       ; 2nd line(STYPE=USER)",
      ";       D11, D12, D13, D14, D15, D16                         ; 2nd line(STYPE=VALUE)",
      ";            AREA1, ASY1, ASZ1, IXX1, IYY1, IZZ1             ; 3rd line(STYPE=VALUE)",
      ";            CYP1, CYM1, CZP1, CZM1, QYB1, QZB1, PERI1       ; 4th line(STYPE=VALUE)",
      ";       D21, D22, D23, D24, D25, D26                         ; 5th line(STYPE=VALUE)",
      ";            AREA2, ASY2, ASZ2, IXX2, IYY2, IZZ2             ; 6th line(STYPE=VALUE)",
      ";            CYP2, CYM2, CZP2, CZM2, QYB2, QZB2, PERI2       ; 7th line(STYPE=VALUE)",
      "; iSEC, TYPE, SNAME, STYPE1, STYPE2                          ; 1st line - CONSTRUCT",
      ";       SHAPE, ...(same with other type data from shape)     ; Before (STYPE1)",
      ";       SHAPE, ...(same with other type data from shape)     ; After  (STYPE2)",
      "; [DATA] : 1, DB, NAME or 2, D1, D2, D3, D4, D5, D6",
      "; [DIM1], [DIM2] : D1, D2, D3, D4, D5, D6",
  };
  for (const char* line : kComments) Write_Midas(ar, "%s", line);
  int32_t number = 0;
  for (const auto& base : m_arrGroup) {
    if (base->GetType() != CTavGroup::kBeam) continue;
    for (const auto& section : static_cast<const CTavGroupElement&>(*base).m_arrSection) {
      ++number;  // a section of another type writes nothing but keeps its number
      if (section->m_eType != TaV_SECTION_GENERAL && section->m_eType != TaV_SECTION_RECT) continue;
      // Every section goes out as a solid rectangle of its stored dimensions.
      const CString name = Format("Sec%d", number);
      const double width = section->m_dDim[0];
      const double height = section->m_dDim[1];
      if (m_strMidasVersion == kVersion430) {
        Write_Midas(ar, "%d, DBUSER, %s, SB, 2, %g, %g, 0, 0, 0, 0", number, name.c_str(), width, height);
      } else if (m_strMidasVersion == kVersion720) {
        Write_Midas(ar, "%d, DBUSER, %s, CC, 0, 0, 0, 0, 0, 0, YES, SB, 2, %g, %g, 0, 0, 0, 0, 0, 0, 0, 0", number,
                    name.c_str(), width, height);
      }
    }
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteSpring_Midas(CArchive& ar) {
  if (m_arrGroup.empty()) return 1;
  const bool v430 = m_strMidasVersion == kVersion430;
  const bool v720 = m_strMidasVersion == kVersion720;
  Write_Midas(ar, "*SPRING");
  if (v430) Write_Midas(ar, "; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ");
  if (v720) Write_Midas(ar, "; NODE_LIST, TYPE, SDX, SDY, SDZ, SRX, SRY, SRZ");
  for (const auto& base : m_arrGroup) {
    if (base->GetType() != CTavGroup::kSpring) continue;
    const auto& group = static_cast<const CTavGroupSpring&>(*base);
    for (const TaV_SPRING& spring : group.m_arrSpring) {
      const CTavSpringConstant& constant = *group.GetSpingConstant(spring.nConstant);
      if (constant.m_bMultiDof != 0) continue;
      const double* k = constant.m_dStiffness;
      if (v430) {
        Write_Midas(ar, "%d,  %g,  %g,  %g,  %g,  %g,  %g", spring.nJoint + 1, k[0], k[1], k[2], k[3], k[4], k[5]);
      } else if (v720) {
        Write_Midas(ar, "%d, LINEAR, %g,  %g,  %g,  %g,  %g,  %g", spring.nJoint + 1, k[0], k[1], k[2], k[3], k[4],
                    k[5]);
      }
    }
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteLoadCaseName_Midas(CArchive& ar) {
  if (m_arrLoadStatic.empty()) return 1;
  Write_Midas(ar, "*STLDCASE");
  Write_Midas(ar, "; LCNAME, LCTYPE, DESC");
  for (const auto& loadCase : m_arrLoadStatic) Write_Midas(ar, "%s, USER", loadCase->m_strName.c_str());
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteLoadCase_Midas(CArchive& ar) {
  if (m_arrLoadStatic.empty()) return 1;
  for (const auto& loadCase : m_arrLoadStatic) {
    Write_Midas(ar, "*USE-STLD, %s \n", loadCase->m_strName.c_str());
    if (loadCase->IsSelfWeight() != 0) Write_Midas(ar, "*SELFWEIGHT, 0, 0, -1");
    if (loadCase->GetSizeLoadJoint() > 0) {
      Write_Midas(ar, "*CONLOAD");
      Write_Midas(ar, "; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP");
      for (const auto& load : loadCase->m_arrLoadJoint) {
        const double* v = load->m_dValue;
        Write_Midas(ar, "    %d, %g, %g, %g, %g, %g, %g", load->m_nJoint + 1, v[0], v[1], v[2], v[3], v[4], v[5]);
      }
    }
    if (loadCase->GetSizeLoadBeam() > 0) {
      Write_Midas(ar, "*BEAMLOAD");
      Write_Midas(ar, "; ELEM_LIST, iCMD, TYPE, DIR, bPROJ, D1, P1, D2, P2, D3, P3, D4, P4");
      for (const auto& load : loadCase->m_arrLoadBeam) {
        const CString records = load->GetStringLoad_Midas(GetLengthBeam(load->m_nBeam));
        if (!records.empty()) Write_Midas(ar, "%s", records.c_str());
      }
    }
    Write_Midas(ar, "; End of data for load case [%s] -------------------------", loadCase->m_strName.c_str());
    WriteSeparator_Midas(ar);
  }
  WriteSeparator_Midas(ar);
  return 1;
}

int CTavData::WriteLoadCombo_Midas(CArchive& ar) {
  const bool v430 = m_strMidasVersion == kVersion430;
  const bool v720 = m_strMidasVersion == kVersion720;
  if (v430) {
    Write_Midas(ar, "*VERSION");
    Write_Midas(ar, "4.3.2");
    WriteSeparator_Midas(ar);
  }
  Write_Midas(ar, "LOADCOMB");
  Write_Midas(ar, "; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1");
  Write_Midas(ar, ";      ANAL1, LCNAME1, FACT1, ...        ; from line 2");
  for (const auto& combo : m_arrCombo) {
    if (v430) {
      Write_Midas(ar, "NAME=%s, GEN, YES, %d,", combo->m_strName.c_str(), combo->m_eType);
    } else if (v720) {
      Write_Midas(ar, "NAME=%s, GEN, ACTIVE, 0, %d", combo->m_strName.c_str(), combo->m_eType);
    } else {
      continue;  // no layout for this version: neither the head nor the terms
    }
    // The terms follow the head on one line of their own: static cases as
    // "ST, name, factor", combinations as "CB, name, factor"; the format has
    // no place for the other kinds, so they are left out.
    CString terms;
    for (const TaV_COMBO_DATA& term : combo->m_arrLoad) {
      const char* analysis = term.eType == TaV_LOAD_STATIC ? "ST" : term.eType == TaV_LOAD_COMBO ? "CB" : nullptr;
      if (analysis == nullptr) continue;
      if (!terms.empty()) terms += ", ";
      terms += Format("%s, %s, %g", analysis, GetLoadName(term.nCase, term.eType).c_str(), term.dFactor);
    }
    if (!terms.empty()) Write_Midas(ar, "        %s", terms.c_str());
  }
  if (v430) {
    Write_Midas(ar, "*VERSION");
    Write_Midas(ar, "4.3.0");
    WriteSeparator_Midas(ar);
  }
  return 1;
}

int CTavData::WriteEndMessage_Midas(CArchive& ar) {
  Write_Midas(ar, "*ENDDATA");
  return 1;
}

}  // namespace tav
