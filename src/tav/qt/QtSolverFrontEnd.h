// The dialog's front-end for a Qt window: every call, which comes on the
// dialog's thread, is handed to the GUI thread with its data copied, and the
// window is touched there only. A message box blocks the dialog's thread
// until the user has answered it on the GUI thread.
#pragma once

#include "tav/qt/GuiThreadQueue.h"
#include "tav/qt/SolverWindow.h"
#include "tav/solver/TavSolverMsgDlg.h"

namespace tav::qt {

class QtSolverFrontEnd : public CSolverFrontEnd {
 public:
  // Borrows `queue` and `window`, which must outlive the dialog's use of
  // this front-end (the dialog's thread must be done with it).
  QtSolverFrontEnd(GuiThreadQueue& queue, SolverWindow& window) : m_queue(queue), m_window(window) {}

  void OnLineInserted(int index, const CString& text) override;
  void OnLineDeleted(int index) override;
  void OnSelectionChanged(int index) override;
  void OnShown(CTavSolverMsgDlg& dialog, bool shown) override;
  void OnButtonChanged(const CButton& button) override;
  // When the GUI thread's queue closes first: IDNO for a Yes/No question,
  // IDOK otherwise.
  int OnMessageBox(const CString& text, unsigned type) override;
  // The window stays until the user closes it (the dialog's automatic close
  // closes it when the dialog asks for that).
  void OnRunFinished(CTavSolverMsgDlg& /*dialog*/) override {}

 private:
  GuiThreadQueue& m_queue;
  SolverWindow& m_window;  // dereferenced on the GUI thread only
};

}  // namespace tav::qt
