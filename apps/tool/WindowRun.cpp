#include "tool/WindowRun.h"

#include <exception>
#include <stdexcept>
#include <utility>

#ifdef TAV_WITH_QT
#include "tav/qt/RunSolverInWindow.h"
#endif

namespace tav::tool {

#ifdef TAV_WITH_QT

namespace {

// The dialog that, once nothing more runs in it, shows what follows the run
// below the solver's lines.
class FinishingDialog : public CTavSolverMsgDlg {
 public:
  explicit FinishingDialog(const RunFinish& finish) : m_finish(finish) {}
  std::exception_ptr Failure() const { return m_failure; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = CTavSolverMsgDlg::WindowProc(message, wParam, lParam);
    if (message == WM_SOLVER_IDLE && !m_bFinished) {
      m_bFinished = true;
      Finish();
    }
    return result;
  }

 private:
  void Finish() {
    std::vector<std::string> lines;
    try {
      lines = m_finish(*this);
    } catch (const std::exception& error) {
      m_failure = std::current_exception();
      lines = {std::string("tav: ") + error.what()};
    } catch (...) {
      m_failure = std::current_exception();
      lines = {"tav: the run's results could not be read"};
    }
    for (const std::string& line : lines) m_lstMessage.InsertString(m_lstMessage.GetCount(), line);
  }

  const RunFinish& m_finish;
  bool m_bFinished = false;  // the dialog's thread only
  std::exception_ptr m_failure;
};

}  // namespace

bool CanShowWindows() { return true; }

int RunInWindow(const DialogRun& run, const RunFinish& finish) {
  FinishingDialog dialog(finish);
  const int result = qt::RunSolverInWindow(dialog, run);
  if (dialog.Failure()) std::rethrow_exception(dialog.Failure());
  return result;
}

#else

bool CanShowWindows() { return false; }

int RunInWindow(const DialogRun& /*run*/, const RunFinish& /*finish*/) {
  throw std::runtime_error("this tav was built without Qt 6, so it cannot show the Run Solver window");
}

#endif

}  // namespace tav::tool
