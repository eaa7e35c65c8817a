// A response spectrum load case: modes, the modal combination rule, modal
// damping ratios and the ground excitation as a self-weight record (which
// exists from construction). Owned by the document.
#pragma once

#include <memory>

#include "tav/loads/TavLoadRecords.h"
#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

class CTavLoadResponseSpectrum : public CTavObject {
 public:
  CTavLoadResponseSpectrum() { CTavLoadResponseSpectrum::Init(); }
  ~CTavLoadResponseSpectrum() override { CTavLoadResponseSpectrum::Destroy(); }

  // Name empty, no modes, rule "ABS", a new self-weight record with every
  // field 0; the damping values stay.
  void Init() override;
  // Deletes the self-weight record.
  void Destroy() override { m_pSelfWeight.reset(); }
  // Version, number, name, combination rule, damping (count and values);
  // version 1 adds the number of modes and the excitation record.
  void Serialize(CArchive& ar) override;

  // Sets modes and rule; `first` is not used.
  void AddLoadResponseSpectrum_Combination(int32_t first, int32_t modes, TaV_MODE_COMBINATION combination);
  // The same, then for CQC the blank-separated damping ratios of `damping`
  // are appended.
  void AddLoadResponseSpectrum_Combination(int32_t first, int32_t modes, TaV_MODE_COMBINATION combination,
                                           const CString& damping);
  // Fills the excitation record (created again if Destroy removed it).
  void AddSelfWeight(TaV_DIR dir, double factor, double acceleration, int32_t function);

  int32_t GetSizeDamping() const { return m_arrDamping.GetSize(); }
  int IsSelfWeight() const { return m_pSelfWeight ? 1 : 0; }
  CTavSelfWeight* GetSelfWeight() const { return m_pSelfWeight.get(); }
  CString GetStringName() const { return m_strName; }
  CString GetStringLoadResponseCombination() const;
  // Each damping value with "%g "; empty text when there are none.
  CString GetStringLoadResponseDamping(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
  CString GetStringSelfWeight() const { return m_pSelfWeight ? "SELF WEIGHT" : ""; }

  int32_t m_nIndex = -1;
  CString m_strName;
  int32_t m_nModes = 0;
  TaV_MODE_COMBINATION m_eCombination = TaV_MODECOMB_ABS;
  CDoubleArray m_arrDamping;
  std::unique_ptr<CTavSelfWeight> m_pSelfWeight;
};

}  // namespace tav
