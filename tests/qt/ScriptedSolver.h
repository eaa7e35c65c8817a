// A solver directory with a scripted TaV for the window's tests: it prints
// TaV.out of the working directory; told to hang, it notes its process id
// in TaV.pid first and then runs on until it is stopped.
#pragma once

#include <sys/types.h>

#include <string>

#include "support/TempDir.h"
#include "tav/qt/RunSolverInWindow.h"

namespace tav::qt::test {

class ScriptedSolver {
 public:
  ScriptedSolver();
  void Prints(const std::string& text) const;
  void Hangs() const;
  pid_t HungPid() const;
  CString Directory() const { return m_dir.Path().string(); }
  // What runs the dialog on `input` in this directory.
  SolverRun Runner(const CString& input = "frame.tAv") const;
  // The run in the window.
  int Run(CTavSolverMsgDlg& dialog, const CString& input = "frame.tAv") const {
    return RunSolverInWindow(dialog, Runner(input));
  }

 private:
  tav::test::TempDir m_dir;
};

}  // namespace tav::qt::test
