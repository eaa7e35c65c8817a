// The library's message boxes and save-file dialog (tav/platform/MessageBox.h)
// shown as QMessageBox and QFileDialog, whichever thread asks.
#pragma once

#include <memory>

#include "tav/platform/MessageBox.h"

class QWidget;

namespace tav::qt {

class GuiThreadQueue;

// Installs, for its lifetime, message box and save-file dialog handlers that
// show Qt dialogs on the GUI thread (the thread that constructs this object,
// which must have a QApplication). A call from the GUI thread shows the
// dialog at once; a call from another thread waits until the GUI thread's
// event loop has shown it and the user has answered, so the GUI thread must
// keep running its event loop meanwhile. The previous handlers come back on
// destruction (on the GUI thread); a call still waiting then gets the
// default answer (IDOK, IDNO for a Yes/No question, a cancelled save).
// `parent` (may be null) is borrowed and must outlive this object.
class QtDialogHandlers {
 public:
  explicit QtDialogHandlers(QWidget* parent = nullptr);
  ~QtDialogHandlers();
  QtDialogHandlers(const QtDialogHandlers&) = delete;
  QtDialogHandlers& operator=(const QtDialogHandlers&) = delete;

 private:
  std::shared_ptr<GuiThreadQueue> m_queue;
  MessageBoxHandler m_previousMessageBox;
  SaveFileDialogHandler m_previousSaveFileDialog;
};

}  // namespace tav::qt
