// `tav run --gui`'s window: the solver's lines, then what follows the run
// below them, until the user closes the window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QListWidget>
#include <QPushButton>
#include <fstream>
#include <stdexcept>

#include "qt/GuiScript.h"
#include "support/TempDir.h"
#include "tool/WindowRun.h"

namespace tav::tool {
namespace {

using qt::test::GuiScript;
using qt::test::OpenMessageBox;
using qt::test::OpenSolverWindow;

// A solver directory whose TaV prints `text`, or runs on until it is
// stopped.
class Solver {
 public:
  explicit Solver(const std::string& script) {
    const std::string program = m_dir.File("TaV");
    std::ofstream(program) << "#!/bin/sh\n" << script << "\n";
    ::chmod(program.c_str(), 0755);
    std::ofstream(m_dir.File("frame.tAv")) << "input\n";
  }
  DialogRun Run() const {
    const CString dir = m_dir.Path().string();
    return [dir](CTavSolverMsgDlg& dialog) { return dialog.RunSolver(nullptr, dir, dir, "frame.tAv", TaV_FORMAT_TAV); };
  }

 private:
  test::TempDir m_dir;
};

QStringList Rows() {
  QStringList rows;
  if (const qt::SolverWindow* window = OpenSolverWindow()) {
    for (int i = 0; i < window->List().count(); ++i) rows << window->List().item(i)->text();
  }
  return rows;
}

void PressClose() { OpenSolverWindow()->Button(IDOK)->click(); }

TEST(WindowRunTest, WhatFollowsTheRunShowsBelowTheSolversLinesUntilTheUserCloses) {
  const Solver solver("echo SOLVED");
  int calls = 0;
  bool clean = false;
  QStringList seen;
  GuiScript script;
  script.When(
      "the summary", [] { return Rows().contains("2 cases"); },
      [&] {
        seen = Rows();
        PressClose();
      });
  script.Start();
  const int result = RunInWindow(solver.Run(), [&](const CTavSolverMsgDlg& dialog) {
    ++calls;
    clean = dialog.m_bError == 0;
    return std::vector<std::string>{"Summary", "2 cases"};
  });
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(clean);
  ASSERT_GE(seen.size(), 3);
  EXPECT_TRUE(seen.contains("SOLVED"));
  EXPECT_LT(seen.indexOf("SOLVED"), seen.indexOf("Summary"));
  EXPECT_EQ(seen.mid(seen.size() - 2), (QStringList{"Summary", "2 cases"}));
}

TEST(WindowRunTest, AFailureAfterTheRunShowsInTheWindowAndIsThrownOnceItCloses) {
  const Solver solver("echo '* E R R O R * NO SUPPORTS'");
  bool clean = true;
  GuiScript script;
  script
      .When(
          "the error box", [] { return OpenMessageBox() != nullptr; },
          [] { OpenMessageBox()->button(QMessageBox::Ok)->click(); })
      .When(
          "the failure's line", [] { return Rows().contains("tav: no results"); }, PressClose);
  script.Start();
  EXPECT_THROW(RunInWindow(solver.Run(),
                           [&](const CTavSolverMsgDlg& dialog) -> std::vector<std::string> {
                             clean = dialog.m_bError == 0;
                             throw std::runtime_error("no results");
                           }),
               std::runtime_error);
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(clean);
}

TEST(WindowRunTest, NothingFollowsARunTheUserStopped) {
  const Solver solver("echo RUNNING\nexec sleep 30");
  int calls = 0;
  GuiScript script;
  script.When(
      "the solver's first line", [] { return Rows().contains("RUNNING"); }, [] { OpenSolverWindow()->close(); });
  script.Start();
  RunInWindow(solver.Run(), [&](const CTavSolverMsgDlg&) {
    ++calls;
    return std::vector<std::string>{};
  });
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace tav::tool
