#include "tav/qt/RunSolverInWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <array>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>

#include "tav/qt/GuiThreadQueue.h"
#include "tav/qt/QtSolverFrontEnd.h"
#include "tav/qt/SolverWindow.h"

namespace tav::qt {
namespace {

// The application of a host that has none, for one call.
class OwnApplication {
 public:
  OwnApplication() {
    if (QApplication::instance() == nullptr) m_app.emplace(m_argc, m_argv.data());
  }

 private:
  int m_argc = 1;
  char m_name[4] = "tav";
  std::array<char*, 2> m_argv{m_name, nullptr};
  std::optional<QApplication> m_app;  // last: made from the members above
};

// The window as the dialog's front-end while it lives: however the call
// ends, the dialog does not keep a front-end that is gone.
class BorrowedFrontEnd {
 public:
  BorrowedFrontEnd(CTavSolverMsgDlg& dialog, CSolverFrontEnd& frontEnd) : m_dialog(dialog) {
    m_dialog.SetFrontEnd(&frontEnd);
  }
  ~BorrowedFrontEnd() { m_dialog.SetFrontEnd(nullptr); }
  BorrowedFrontEnd(const BorrowedFrontEnd&) = delete;
  BorrowedFrontEnd& operator=(const BorrowedFrontEnd&) = delete;

 private:
  CTavSolverMsgDlg& m_dialog;
};

// What the run does on its worker thread; read on the GUI thread once the
// thread is joined.
struct RunOutcome {
  int result = 0;
  std::exception_ptr failure;
  std::atomic<bool> done{false};
};

}  // namespace

int RunSolverInWindow(CTavSolverMsgDlg& dialog, const SolverRun& run, QWidget* parent) {
  OwnApplication application;
  GuiThreadQueue queue;
  // The buttons as the dialog has them now, read before its thread starts.
  const std::array<CButton, 3> buttons{dialog.GetButton(IDOK), dialog.GetButton(IDC_BUTTON_GO_ERROR),
                                       dialog.GetButton(IDC_BUTTON_GO_WARNING)};
  // The window acts on the dialog only by posting to it, as a user would.
  SolverWindow window({[&dialog](int id) { dialog.PressButton(id); }, [&dialog] { dialog.Close(); }}, buttons, parent);
  QtSolverFrontEnd frontEnd(queue, window);
  const BorrowedFrontEnd borrowed(dialog, frontEnd);

  QEventLoop loop;
  RunOutcome outcome;
  std::thread worker([&] {
    try {
      outcome.result = run(dialog);
    } catch (...) {
      outcome.failure = std::current_exception();
    }
    outcome.done = true;
    queue.Post([&loop] { loop.quit(); });
  });
  // An application quitting meanwhile ends every loop; this one goes on
  // until the run is over, as the worker may wait on a message box.
  while (!outcome.done) loop.exec();
  worker.join();
  queue.Close();
  if (outcome.failure) std::rethrow_exception(outcome.failure);
  return outcome.result;
}

}  // namespace tav::qt
