#include "tav/loads/TavCombo.h"

namespace tav {

void CTavCombo::Init() {
  m_strName.clear();
  m_eType = TaV_COMBO_ADD;
}

void CTavCombo::AddLoad(TaV_LOAD_TYPE type, int32_t caseNumber, double factor, double factor2) {
  m_arrLoad.push_back(TaV_COMBO_DATA{type, caseNumber, factor, factor2});
}

CString CTavCombo::GetStringType() const {
  switch (m_eType) {
    case TaV_COMBO_ADD:
      return "ADD";
    case TaV_COMBO_ENVE:
      return "ENVE";
    case TaV_COMBO_ABS:
      return "ABS";
  }
  return "";
}

}  // namespace tav
