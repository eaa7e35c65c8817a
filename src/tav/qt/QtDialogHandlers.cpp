#include "tav/qt/QtDialogHandlers.h"

#include <QApplication>

#include "tav/qt/GuiThreadQueue.h"
#include "tav/qt/QtMessageBoxes.h"

namespace tav::qt {

QtDialogHandlers::QtDialogHandlers(QWidget* parent) : m_queue(std::make_shared<GuiThreadQueue>()) {
  // The handlers hold the queue, not this object: a handler copied by a
  // caller may still run after this object is gone, and then answers with
  // the fallback of the closed queue.
  std::shared_ptr<GuiThreadQueue> queue = m_queue;
  m_previousMessageBox = SetMessageBoxHandler([queue, parent](const CString& text, unsigned type) {
    return queue->Call<int>(
        [parent, text, type] { return ShowQtMessageBox(parent, QApplication::applicationDisplayName(), text, type); },
        CancelAnswer(type));
  });
  m_previousSaveFileDialog = SetSaveFileDialogHandler([queue, parent](const CString& filter, CString& chosenPath) {
    // The path travels by value: the caller's string is not touched on the
    // GUI thread.
    CString chosen = queue->Call<CString>(
        [parent, filter] {
          CString path;
          return ShowQtSaveFileDialog(parent, filter, path) ? path : CString();
        },
        CString());
    if (chosen.empty()) return false;
    chosenPath = std::move(chosen);
    return true;
  });
}

QtDialogHandlers::~QtDialogHandlers() {
  SetSaveFileDialogHandler(std::move(m_previousSaveFileDialog));
  SetMessageBoxHandler(std::move(m_previousMessageBox));
  m_queue->Close();
}

}  // namespace tav::qt
