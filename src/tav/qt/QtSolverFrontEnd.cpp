#include "tav/qt/QtSolverFrontEnd.h"

#include "tav/qt/QtMessageBoxes.h"

namespace tav::qt {

// The texts cross as std::string and become QString on the GUI thread, so
// no Qt object is made on one thread and freed on another.
void QtSolverFrontEnd::OnLineInserted(int index, const CString& text) {
  m_queue.Post([window = &m_window, index, text] { window->InsertLine(index, QString::fromStdString(text)); });
}

void QtSolverFrontEnd::OnLineDeleted(int index) {
  m_queue.Post([window = &m_window, index] { window->DeleteLine(index); });
}

void QtSolverFrontEnd::OnSelectionChanged(int index) {
  m_queue.Post([window = &m_window, index] { window->SelectLine(index); });
}

void QtSolverFrontEnd::OnShown(CTavSolverMsgDlg& /*dialog*/, bool shown) {
  m_queue.Post([window = &m_window, shown] {
    if (!shown) {
      window->hide();
      return;
    }
    window->show();
    window->raise();
    window->activateWindow();
  });
}

void QtSolverFrontEnd::OnButtonChanged(const CButton& button) {
  m_queue.Post([window = &m_window, button] { window->SetButton(button); });
}

int QtSolverFrontEnd::OnMessageBox(const CString& text, unsigned type) {
  return m_queue.Call<int>(
      [window = &m_window, text, type] {
        return ShowQtMessageBox(window, QString::fromStdString(CTavSolverMsgDlg::GetCaption()), text, type);
      },
      CancelAnswer(type));
}

}  // namespace tav::qt
