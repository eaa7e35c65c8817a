#include "tav/elements/TavSection.h"

#include "tav/model/Records.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {
namespace {

// The double nearest to 1/12.
constexpr double kTwelfth = 1.0 / 12.0;
// The shear area factor: one unit in the last place below the double
// nearest to 5/6, as the solver's own property tables use it.
constexpr double kShearFactor = std::bit_cast<double>(uint64_t{0x3FEAAAAAAAAAAAAA});

}  // namespace

void CTavSection::Init() {
  const int32_t number = m_nIndex;
  *this = CTavSection();
  m_nIndex = number;
}

void CTavSection::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "section");
  Exchange(ar, m_nIndex, m_eType);
  ExchangeEach(ar, m_dDim);
  Exchange(ar, m_dW, m_dE, m_dPoisson, m_dMaterialAux, m_dJ, m_dIS, m_dIT, m_dArea, m_dASHS, m_dASHT, m_dSectionAux);
}

void CTavSection::SetMaterialValue(double e, double w, double area) {
  m_dE = e;
  m_dW = w;
  m_dArea = area;
}

void CTavSection::AutoPropCalc() {
  if (m_eType != TaV_SECTION_RECT) return;
  const double b = m_dDim[0];
  const double h = m_dDim[1];
  m_dIS = std::pow(h, 3) * b * kTwelfth;
  m_dIT = std::pow(b, 3) * h * kTwelfth;
  m_dASHS = m_dArea * kShearFactor;
  m_dASHT = m_dASHS;
}

CString CTavSection::GetStringSectionProp_Tav(TaV_REAL_PRECISION precision) {
  if (m_dIS == 0.0 && m_dIT == 0.0) AutoPropCalc();
  const struct {
    const char* name;
    double value;
  } fields[] = {{"E", m_dE},       {"J", m_dJ},      {"POISSON'S RATIO", m_dPoisson},
                {"IS", m_dIS},     {"IT", m_dIT},    {"AREA", m_dArea},
                {"ASHS", m_dASHS}, {"ASHT", m_dASHT}};
  CString text;
  for (const auto& field : fields) {
    if (field.value == 0.0) continue;
    if (!text.empty()) text += ' ';
    text += field.name;
    text += '=';
    text += GetRealText(field.value, precision);
  }
  return text;
}

CString CTavSection::GetStringSectionProp_Sap() const {
  const int32_t n = m_nIndex + 1;
  if (m_eType == TaV_SECTION_RECT) return Format("Name=%d  Mat=%d  SH=R T=%g,%g", n, n, m_dDim[0], m_dDim[1]);
  return Format("Name=%d  Mat=%d  A=%g  I=%g,%g J=%g", n, n, m_dArea, m_dIT, m_dIS, m_dJ);
}

}  // namespace tav
