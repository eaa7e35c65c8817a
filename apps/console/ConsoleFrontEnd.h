// Draws the Run Solver dialog on a terminal: every line as it arrives (green
// on a terminal), the message boxes, and closes the dialog once the run is
// over. Ctrl-C while it is shown closes the dialog, which stops the child.
#pragma once

#include <atomic>
#include <ostream>
#include <thread>

#include "tav/solver/TavSolverMsgDlg.h"

namespace tav::console {

class ConsoleFrontEnd : public CSolverFrontEnd {
 public:
  // `out` receives the lines, `messages` the message boxes; `color` paints
  // the lines green.
  ConsoleFrontEnd(std::ostream& out, std::ostream& messages, bool color);
  ~ConsoleFrontEnd() override;
  ConsoleFrontEnd(const ConsoleFrontEnd&) = delete;
  ConsoleFrontEnd& operator=(const ConsoleFrontEnd&) = delete;

  // True once Ctrl-C stopped a run.
  bool Interrupted() const { return m_bInterrupted; }

  void OnLineInserted(int index, const CString& text) override;
  void OnShown(CTavSolverMsgDlg& dialog, bool shown) override;
  int OnMessageBox(const CString& text, unsigned type) override;
  void OnRunFinished(CTavSolverMsgDlg& dialog) override;

 private:
  void StartWatchingInterrupts(CTavSolverMsgDlg& dialog);
  void StopWatchingInterrupts();

  std::ostream& m_out;
  std::ostream& m_messages;
  bool m_bColor;
  std::atomic<bool> m_bInterrupted{false};
  std::atomic<bool> m_bStopping{false};  // Ctrl-C during the current showing
  std::thread m_watcher;
  int m_nStop = -1;
};

}  // namespace tav::console
