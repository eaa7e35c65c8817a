#include "qt/ScriptedSolver.h"

#include <sys/stat.h>

#include <fstream>

#include "support/Golden.h"

namespace tav::qt::test {

ScriptedSolver::ScriptedSolver() {
  const std::string program = m_dir.File("TaV");
  std::ofstream(program) << "#!/bin/sh\n"
                         << "[ -f TaV.hang ] && echo $$ > TaV.pid\n"
                         << "cat TaV.out\n"
                         << "[ -f TaV.hang ] && exec sleep 30\nexit 0\n";
  ::chmod(program.c_str(), 0755);
  std::ofstream(m_dir.File("frame.tAv")) << "input\n";
}

void ScriptedSolver::Prints(const std::string& text) const { std::ofstream(m_dir.File("TaV.out")) << text; }

void ScriptedSolver::Hangs() const { std::ofstream(m_dir.File("TaV.hang")) << ""; }

pid_t ScriptedSolver::HungPid() const { return std::stoi(tav::test::ReadFileBytes(m_dir.File("TaV.pid"))); }

SolverRun ScriptedSolver::Runner(const CString& input) const {
  return [dir = Directory(), input](CTavSolverMsgDlg& dialog) {
    return dialog.RunSolver(nullptr, dir, dir, input, TaV_FORMAT_TAV);
  };
}

}  // namespace tav::qt::test
