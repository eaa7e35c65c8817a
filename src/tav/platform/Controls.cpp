#include "tav/platform/Controls.h"

namespace tav {

int CListBox::InsertString(int index, const CString& text) {
  if (index == -1) index = GetCount();
  if (index < 0 || index > GetCount()) return LB_ERR;
  m_lines.insert(m_lines.begin() + index, text);
  if (m_nSelection >= index) ++m_nSelection;
  if (m_pObserver != nullptr) m_pObserver->OnLineInserted(index, text);
  return index;
}

int CListBox::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return LB_ERR;
  m_lines.erase(m_lines.begin() + index);
  if (m_nSelection == index) {
    m_nSelection = LB_ERR;
  } else if (m_nSelection > index) {
    --m_nSelection;
  }
  if (m_pObserver != nullptr) m_pObserver->OnLineDeleted(index);
  return GetCount();
}

void CListBox::ResetContent() {
  while (GetCount() > 0) DeleteString(GetCount() - 1);
}

int CListBox::SetCurSel(int index) {
  const bool valid = index >= 0 && index < GetCount();
  m_nSelection = valid ? index : LB_ERR;
  if (m_pObserver != nullptr) m_pObserver->OnSelectionChanged(m_nSelection);
  return valid ? index : LB_ERR;
}

}  // namespace tav
