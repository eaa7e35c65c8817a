// Models of the dialog's controls: a list of lines with one selection, and
// push buttons. A front-end observes them and draws them; they are changed
// only on the dialog's thread.
#pragma once

#include <functional>
#include <vector>

#include "tav/platform/String.h"

namespace tav {

inline constexpr int LB_ERR = -1;

// Told of every change of a list.
class CListObserver {
 public:
  virtual ~CListObserver() = default;
  virtual void OnLineInserted(int index, const CString& text) = 0;
  virtual void OnLineDeleted(int index) = 0;
  virtual void OnSelectionChanged(int index) = 0;
};

class CListBox {
 public:
  CListBox() = default;
  virtual ~CListBox() = default;
  CListBox(const CListBox&) = delete;
  CListBox& operator=(const CListBox&) = delete;

  int GetCount() const { return static_cast<int>(m_lines.size()); }
  const CString& GetText(int index) const { return m_lines[static_cast<size_t>(index)]; }
  // Inserts before `index` (-1 appends); LB_ERR when `index` is past the end.
  int InsertString(int index, const CString& text);
  // Returns the lines left, or LB_ERR for an index outside the list.
  int DeleteString(int index);
  // Empties the list, deleting from the last line up, so that an observer
  // sees every line go.
  void ResetContent();
  // Selects `index`; LB_ERR (and no selection) when it is outside the list.
  int SetCurSel(int index);
  // The selected index, or LB_ERR.
  int GetCurSel() const { return m_nSelection; }
  void SetObserver(CListObserver* observer) { m_pObserver = observer; }

 private:
  std::vector<CString> m_lines;
  int m_nSelection = LB_ERR;
  CListObserver* m_pObserver = nullptr;
};

// A push button: its control id, caption and enabled state.
struct CButton {
  int nId = 0;
  CString strCaption;
  bool bEnabled = true;
};

}  // namespace tav
