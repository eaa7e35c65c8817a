// A load combination: terms naming load cases with factors, and the rule by
// which their results combine. Owned by the document; not archived.
#pragma once

#include <vector>

#include "tav/model/TavTypes.h"
#include "tav/platform/Object.h"
#include "tav/platform/String.h"

namespace tav {

class CTavCombo : public CObject {
 public:
  CTavCombo() { Init(); }

  // Name empty, type "ADD"; the terms are kept.
  void Init();
  void Destroy() {}

  void AddLoad(TaV_LOAD_TYPE type, int32_t caseNumber, double factor, double factor2);
  int32_t GetCountLoad() const { return static_cast<int32_t>(m_arrLoad.size()); }
  // Borrowed; valid until the next AddLoad.
  TaV_COMBO_DATA* GetLoad(int32_t term) { return &m_arrLoad[static_cast<size_t>(term)]; }
  const TaV_COMBO_DATA* GetLoad(int32_t term) const { return &m_arrLoad[static_cast<size_t>(term)]; }
  TaV_COMBO_TYPE GetType() const { return m_eType; }
  CString GetStringName() const { return m_strName; }
  // "ADD", "ENVE", "ABS", or empty text for any other type.
  CString GetStringType() const;

  CString m_strName;
  TaV_COMBO_TYPE m_eType = TaV_COMBO_ADD;
  std::vector<TaV_COMBO_DATA> m_arrLoad;
};

}  // namespace tav
