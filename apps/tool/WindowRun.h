// `tav run --gui`: the analysis in the Run Solver window. The solver's lines
// stream into the window; once it has run, the summary of its results shows
// below them, and the window stays until the user closes it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tav/solver/TavSolverMsgDlg.h"

namespace tav::tool {

// True when this build can show the window (it was built with Qt).
bool CanShowWindows();

// What runs the solver in the dialog it is given; returns what RunSolver did.
using DialogRun = std::function<int(CTavSolverMsgDlg& dialog)>;
// What follows the solver's run, on the dialog's thread while the window
// shows: the lines to show below the solver's.
using RunFinish = std::function<std::vector<std::string>(const CTavSolverMsgDlg& dialog)>;

// Runs `run` with the dialog in a window and calls `finish` once nothing more
// runs in it (not when the user closed the window before). Returns what
// `run` returned once the window is closed. An exception from `finish` shows
// as a line in the window and is thrown again here. Call on the thread that
// is to draw the window; without Qt it throws std::runtime_error.
int RunInWindow(const DialogRun& run, const RunFinish& finish);

}  // namespace tav::tool
