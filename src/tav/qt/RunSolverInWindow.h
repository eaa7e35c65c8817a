// The Run Solver dialog in a Qt Widgets window. A host with a Qt user
// interface calls RunSolverInWindow on its GUI thread: the run goes on a
// worker thread (which becomes the dialog's thread) while the GUI thread
// draws the dialog's list and buttons, shows its message boxes and hands the
// user's clicks back to the dialog.
//
//   const int ok = tav::qt::RunSolverInWindow(dialog, [&](tav::CTavSolverMsgDlg& dlg) {
//     return dlg.RunSolver(nullptr, workDir, solverDir, inputPath, tav::TaV_FORMAT_TAV);
//   });
#pragma once

#include <functional>

#include "tav/solver/TavSolverMsgDlg.h"

class QWidget;

namespace tav::qt {

// What runs on the worker thread; typically returns dialog.RunSolver(...).
// It may run the dialog any number of times.
using SolverRun = std::function<int(CTavSolverMsgDlg& dialog)>;

// Runs `run` on a worker thread with a "Run Solver" window as the dialog's
// front-end, runs the Qt event loop until `run` has returned, and returns
// what it returned (an exception it threw is thrown again here).
//
// Call on the GUI thread. When there is no QApplication yet, one is made for
// the call and goes with it. The window shows while the dialog is shown and
// is gone when the call returns; its buttons and close box act on the dialog
// as a user would, and the dialog's message boxes show as QMessageBox over
// it. `dialog` and `parent` (the window's parent widget, may be null) are
// borrowed for the call; nothing else may run `dialog` meanwhile. Afterwards
// the dialog has no front-end (it runs headless).
int RunSolverInWindow(CTavSolverMsgDlg& dialog, const SolverRun& run, QWidget* parent = nullptr);

}  // namespace tav::qt
