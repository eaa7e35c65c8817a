#include "tav/loads/TavLoadResponseSpectrum.h"

#include "tav/loads/TavLoadHistory.h"
#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

void CTavLoadResponseSpectrum::Init() {
  m_strName.clear();
  m_nModes = 0;
  m_eCombination = TaV_MODECOMB_ABS;
  m_pSelfWeight = std::make_unique<CTavSelfWeight>();
}

// Version 1 adds the number of modes and the excitation record.
void CTavLoadResponseSpectrum::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "response spectrum load case");
  Exchange(ar, m_nIndex, m_strName, m_eCombination);
  m_arrDamping.Serialize(ar);
  if (version < 1) return;
  Exchange(ar, m_nModes);
  SerializeOptional(ar, m_pSelfWeight, "excitation");
}

void CTavLoadResponseSpectrum::AddLoadResponseSpectrum_Combination(int32_t /*first*/, int32_t modes,
                                                                   TaV_MODE_COMBINATION combination) {
  m_nModes = modes;
  m_eCombination = combination;
}

void CTavLoadResponseSpectrum::AddLoadResponseSpectrum_Combination(int32_t first, int32_t modes,
                                                                   TaV_MODE_COMBINATION combination,
                                                                   const CString& damping) {
  AddLoadResponseSpectrum_Combination(first, modes, combination);
  if (combination == TaV_MODECOMB_CQC) AppendNumbersFromText(damping, m_arrDamping);
}

void CTavLoadResponseSpectrum::AddSelfWeight(TaV_DIR dir, double factor, double acceleration, int32_t function) {
  if (!m_pSelfWeight) m_pSelfWeight = std::make_unique<CTavSelfWeight>();
  m_pSelfWeight->m_eDir = dir;
  m_pSelfWeight->m_dFactor = factor;
  m_pSelfWeight->m_dAcceleration = acceleration;
  m_pSelfWeight->m_nFunction = function;
}

CString CTavLoadResponseSpectrum::GetStringLoadResponseCombination() const {
  return words::WordOf(words::kModeCombination, m_eCombination);
}

CString CTavLoadResponseSpectrum::GetStringLoadResponseDamping(TaV_REAL_PRECISION precision) const {
  CString text;
  for (double value : m_arrDamping) text += GetPlainRealText(value, precision) + " ";
  return text;
}

}  // namespace tav
