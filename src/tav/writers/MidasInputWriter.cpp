// The Midas text input, block by block in file order.
#include "tav/writers/MidasInputWriter.h"

#include "tav/platform/Format.h"

namespace tav {
namespace {

constexpr const char* kVersion430 = "4.3.0";
constexpr const char* kVersion720 = "7.2.0";

// The comment lines that open the section block.
constexpr const char* kSectionComments[] = {
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

}  // namespace

MidasInputWriter::MidasInputWriter(const CTavData& document, LineSink& sink)
    : document_(document),
      lines_(sink),
      version430_(document.GetMidasVersion() == kVersion430),
      version720_(document.GetMidasVersion() == kVersion720) {}

void MidasInputWriter::Write() {
  using Section = void (MidasInputWriter::*)();
  static constexpr Section kFileOrder[] = {
      &MidasInputWriter::WriteTitle,         &MidasInputWriter::WriteVersion,   &MidasInputWriter::WriteUnit,
      &MidasInputWriter::WriteStructType,    &MidasInputWriter::WriteNodes,     &MidasInputWriter::WriteElements,
      &MidasInputWriter::WriteMaterials,     &MidasInputWriter::WriteSections,  &MidasInputWriter::WriteSprings,
      &MidasInputWriter::WriteLoadCaseNames, &MidasInputWriter::WriteLoadCases, &MidasInputWriter::WriteCombinations,
      &MidasInputWriter::WriteEnd,
  };
  for (Section section : kFileOrder) (this->*section)();
}

template <typename Visit>
void MidasInputWriter::ForEachBeamSection(Visit visit) const {
  int32_t number = 0;
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    if (document_.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    for (const auto& section : static_cast<const CTavGroupElement&>(*document_.GetGroup(g)).m_arrSection) {
      visit(*section, ++number);
    }
  }
}

void MidasInputWriter::WriteTitle() { lines_.Linef("; <%s>", document_.GetTitle().c_str()); }

void MidasInputWriter::WriteVersion() {
  Line("*VERSION");
  lines_.Linef("%s", document_.GetMidasVersion().c_str());
  Separator();
}

void MidasInputWriter::WriteUnit() {
  Line("*UNIT");
  Line(";  FORCE, LENGTH");
  Line("KN, M");
  Separator();
}

void MidasInputWriter::WriteStructType() {
  Line("*STRUCTYPE");
  Line(";  iSTYP, iSMAS, GRAV, TEMPER, bALIGNBEAM, bALIGNSLAB");
  lines_.Linef("   %d,   %d,   9.806,   0.0,    NO,   NO", document_.GetMidasStructType(),
               document_.GetMidasMassOption());
  Separator();
}

void MidasInputWriter::WriteNodes() {
  if (document_.GetCountJoint() == 0) return;
  Line("*NODE");
  Line(";  iNO, X, Y, Z");
  for (int32_t i = 0; i < document_.GetCountJoint(); ++i) {
    const CTavJoint& joint = *document_.GetJoint(i);
    CString& line = lines_.Start();
    AppendFormat(line, "   %d", joint.m_nIndex + 1);
    for (const double coordinate : {joint.m_vPos.x, joint.m_vPos.y, joint.m_vPos.z}) {
      line += ",  ";
      AppendGeneral(line, coordinate);
    }
    lines_.Finish();
  }
  Separator();
}

// A beam's material and property are both its section's number.
void MidasInputWriter::WriteElements() {
  if (document_.GetCountGroup() == 0) return;
  Line("*ELEMENT");
  Line("; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB, EXVAL            ; Frame Element");
  Line("; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iSUB, iWID          ; Plane Element");
  Line("; iEL, TYPE, iMAT, iPRO, iN1, iN2, iN3, iN4, iN5, iN6, iN7, iN8  ; Solid Element");
  int32_t sectionsBefore = 0;  // sections of the beam groups already passed
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    if (document_.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*document_.GetGroup(g));
    for (int32_t number : group.m_arrBeam) {
      const CTavBeam& beam = *document_.GetBeam(number);
      const int32_t section = sectionsBefore + beam.m_nSection + 1;
      lines_.Linef("   %2d,   BEAM,   %d,   %d,   %d,   %d,   %.0f", beam.m_nIndex + 1, section, section,
                   beam.m_nJointI + 1, beam.m_nJointJ + 1, beam.m_dAngle);
    }
    sectionsBefore += group.GetCountSection();
  }
  Separator();
}

// Every section is a material of its own; only the 4.3.0 layout lists them.
void MidasInputWriter::WriteMaterials() {
  if (document_.GetCountGroup() == 0) return;
  Line("*MATERIAL");
  Line("; iMAT, TYPE, MNAME, [DATA]          ; STEEL, CONC, USER");
  Line("; iMAT, TYPE, MNAME, [DATA], [DATA]  ; SRC");
  Line("; [DATA] : 1, DB, NAME or 2, ELAST, POISN, THERMAL, DEN");
  if (version430_) {
    ForEachBeamSection([this](const CTavSection& section, int32_t number) {
      lines_.Linef("%d, USER, %s, 2, %g, %g, %g, %g", number, Format("Mat%d", number).c_str(), section.m_dE,
                   section.m_dPoisson, 9.99e-06, section.m_dW);
    });
  }
  Separator();
}

void MidasInputWriter::WriteSections() {
  if (document_.GetCountGroup() == 0) return;
  for (const char* line : kSectionComments) Line(line);
  ForEachBeamSection([this](const CTavSection& section, int32_t number) {
    // A section of another type writes nothing but keeps its number.
    if (section.m_eType != TaV_SECTION_GENERAL && section.m_eType != TaV_SECTION_RECT) return;
    // Every section goes out as a solid rectangle of its stored dimensions.
    const CString name = Format("Sec%d", number);
    const double width = section.m_dDim[0];
    const double height = section.m_dDim[1];
    if (version430_) {
      lines_.Linef("%d, DBUSER, %s, SB, 2, %g, %g, 0, 0, 0, 0", number, name.c_str(), width, height);
    } else if (version720_) {
      lines_.Linef("%d, DBUSER, %s, CC, 0, 0, 0, 0, 0, 0, YES, SB, 2, %g, %g, 0, 0, 0, 0, 0, 0, 0, 0", number,
                   name.c_str(), width, height);
    }
  });
  Separator();
}

// Single-degree springs of every spring group, with all six stiffnesses.
void MidasInputWriter::WriteSprings() {
  if (document_.GetCountGroup() == 0) return;
  Line("*SPRING");
  if (version430_) Line("; NODE_LIST, SDX, SDY, SDZ, SRX, SRY, SRZ");
  if (version720_) Line("; NODE_LIST, TYPE, SDX, SDY, SDZ, SRX, SRY, SRZ");
  for (int32_t g = 0; g < document_.GetCountGroup(); ++g) {
    if (document_.GetGroup(g)->GetType() != CTavGroup::kSpring) continue;
    const auto& group = static_cast<const CTavGroupSpring&>(*document_.GetGroup(g));
    for (const TaV_SPRING& spring : group.m_arrSpring) {
      const CTavSpringConstant& constant = *group.GetSpingConstant(spring.nConstant);
      if (constant.m_bMultiDof != 0) continue;
      const double* k = constant.m_dStiffness;
      if (version430_) {
        lines_.Linef("%d,  %g,  %g,  %g,  %g,  %g,  %g", spring.nJoint + 1, k[0], k[1], k[2], k[3], k[4], k[5]);
      } else if (version720_) {
        lines_.Linef("%d, LINEAR, %g,  %g,  %g,  %g,  %g,  %g", spring.nJoint + 1, k[0], k[1], k[2], k[3], k[4], k[5]);
      }
    }
  }
  Separator();
}

void MidasInputWriter::WriteLoadCaseNames() {
  if (document_.GetCountStaticLoad() == 0) return;
  Line("*STLDCASE");
  Line("; LCNAME, LCTYPE, DESC");
  for (int32_t i = 0; i < document_.GetCountStaticLoad(); ++i) {
    lines_.Linef("%s, USER", document_.GetStaticLoad(i)->m_strName.c_str());
  }
  Separator();
}

void MidasInputWriter::WriteLoadCases() {
  if (document_.GetCountStaticLoad() == 0) return;
  for (int32_t i = 0; i < document_.GetCountStaticLoad(); ++i) WriteLoadCase(*document_.GetStaticLoad(i));
  Separator();
}

void MidasInputWriter::WriteLoadCase(const CTavLoadStatic& loadCase) {
  lines_.Linef("*USE-STLD, %s \n", loadCase.m_strName.c_str());
  if (loadCase.IsSelfWeight() != 0) Line("*SELFWEIGHT, 0, 0, -1");
  if (loadCase.GetSizeLoadJoint() > 0) {
    Line("*CONLOAD");
    Line("; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP");
    for (const auto& load : loadCase.m_arrLoadJoint) {
      const double* v = load->m_dValue;
      CString& line = lines_.Start();
      AppendFormat(line, "    %d", load->m_nJoint + 1);
      for (int i = 0; i < 6; ++i) {
        line += ", ";
        AppendGeneral(line, v[i]);
      }
      lines_.Finish();
    }
  }
  if (loadCase.GetSizeLoadBeam() > 0) {
    Line("*BEAMLOAD");
    Line("; ELEM_LIST, iCMD, TYPE, DIR, bPROJ, D1, P1, D2, P2, D3, P3, D4, P4");
    for (const auto& load : loadCase.m_arrLoadBeam) {
      const CString records = load->GetStringLoad_Midas(document_.GetLengthBeam(load->m_nBeam));
      if (!records.empty()) Line(records);
    }
  }
  lines_.Linef("; End of data for load case [%s] -------------------------", loadCase.m_strName.c_str());
  Separator();
}

// The 4.3.0 layout states version 4.3.2 for the combinations and returns to
// 4.3.0 after them.
void MidasInputWriter::WriteCombinations() {
  if (version430_) {
    Line("*VERSION");
    Line("4.3.2");
    Separator();
  }
  Line("LOADCOMB");
  Line("; NAME=NAME, KIND, bACTIVE, iTYPE, DESC  ; line 1");
  Line(";      ANAL1, LCNAME1, FACT1, ...        ; from line 2");
  for (int32_t i = 0; i < document_.GetCountComboLoad(); ++i) WriteCombination(*document_.GetCombo(i));
  if (version430_) {
    Line("*VERSION");
    Line("4.3.0");
    Separator();
  }
}

// The terms follow the head on one line of their own: static cases as
// "ST, name, factor", combinations as "CB, name, factor"; the format has no
// place for the other kinds, so they are left out. A version without a
// layout writes neither the head nor the terms.
void MidasInputWriter::WriteCombination(const CTavCombo& combo) {
  if (version430_) {
    lines_.Linef("NAME=%s, GEN, YES, %d,", combo.m_strName.c_str(), combo.m_eType);
  } else if (version720_) {
    lines_.Linef("NAME=%s, GEN, ACTIVE, 0, %d", combo.m_strName.c_str(), combo.m_eType);
  } else {
    return;
  }
  CString terms;
  for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
    const char* analysis = term.eType == TaV_LOAD_STATIC ? "ST" : term.eType == TaV_LOAD_COMBO ? "CB" : nullptr;
    if (analysis == nullptr) continue;
    if (!terms.empty()) terms += ", ";
    terms += Format("%s, %s, %g", analysis, document_.GetLoadName(term.nCase, term.eType).c_str(), term.dFactor);
  }
  if (!terms.empty()) Line("        " + terms);
}

void MidasInputWriter::WriteEnd() { Line("*ENDDATA"); }

}  // namespace tav
