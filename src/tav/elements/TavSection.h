// A section of a beam element group: material values and cross-section
// properties, entered as numbers (general section) or as a solid rectangle
// whose inertias and shear areas AutoPropCalc derives. Owned by its group.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavSection : public CTavObject {
 public:
  // The member initialisers are the defaults Init returns to.
  CTavSection() = default;
  ~CTavSection() override { CTavSection::Destroy(); }

  // Type 0 and every value 0; the number is kept.
  void Init() override;
  void Destroy() override {}
  // 132 bytes: version, number, type, four dimensions, eleven values.
  void Serialize(CArchive& ar) override;

  // E, unit weight W and area.
  void SetMaterialValue(double e, double w, double area);
  double GetWidth() const { return m_dDim[0]; }
  double GetHeight() const { return m_dDim[1]; }
  // For a rectangle (type 1): IS, IT from width and height, ASHS = ASHT from
  // the stored area. Other types are left alone.
  void AutoPropCalc();

  // "E=... J=... POISSON'S RATIO=... IS=... IT=... AREA=... ASHS=... ASHT=..."
  // for the values that are not 0. When IS and IT are both 0 the rectangle
  // properties are computed first and kept in the section.
  CString GetStringSectionProp_Tav(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS);
  // The Sap frame section: a rectangle by width and height, any other type
  // by area, inertias and torsional constant; its material has its number.
  CString GetStringSectionProp_Sap() const;

  int32_t m_nIndex = -1;
  TaV_SECTION_TYPE m_eType = TaV_SECTION_GENERAL;
  double m_dDim[4] = {};
  double m_dW = 0.0;
  double m_dE = 0.0;
  double m_dPoisson = 0.0;
  double m_dMaterialAux = 0.0;
  double m_dJ = 0.0;
  double m_dIS = 0.0;
  double m_dIT = 0.0;
  double m_dArea = 0.0;
  double m_dASHS = 0.0;
  double m_dASHT = 0.0;
  double m_dSectionAux = 0.0;
};

}  // namespace tav
