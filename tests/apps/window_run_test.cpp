// `tav run --gui`'s window: the solver's lines, then what follows the run
// below them, until the user closes the window.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <stdexcept>

#include "qt/GuiScript.h"
#include "qt/ScriptedSolver.h"
#include "tool/WindowRun.h"

namespace tav::tool {
namespace {

using qt::test::GuiScript;
using qt::test::OpenMessageBox;
using qt::test::OpenSolverWindow;
using qt::test::ScriptedSolver;

QStringList Rows() {
  const qt::SolverWindow* window = OpenSolverWindow();
  return window == nullptr ? QStringList() : qt::test::Rows(window->List());
}

void PressClose() { OpenSolverWindow()->Button(IDOK)->click(); }

TEST(WindowRunTest, WhatFollowsTheRunShowsBelowTheSolversLinesUntilTheUserCloses) {
  ScriptedSolver solver;
  solver.Prints("SOLVED\n");
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
  const int result = RunInWindow(solver.Runner(), [&](const CTavSolverMsgDlg& dialog) {
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
  ScriptedSolver solver;
  solver.Prints("* E R R O R * NO SUPPORTS\n");
  bool clean = true;
  GuiScript script;
  script
      .When(
          "the error box", [] { return OpenMessageBox() != nullptr; },
          [] { qt::test::ClickBoxButton(QMessageBox::Ok); })
      .When(
          "the failure's line", [] { return Rows().contains("tav: no results"); }, PressClose);
  script.Start();
  EXPECT_THROW(RunInWindow(solver.Runner(),
                           [&](const CTavSolverMsgDlg& dialog) -> std::vector<std::string> {
                             clean = dialog.m_bError == 0;
                             throw std::runtime_error("no results");
                           }),
               std::runtime_error);
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(clean);
}

TEST(WindowRunTest, NothingFollowsARunTheUserStopped) {
  ScriptedSolver solver;
  solver.Prints("RUNNING\n");
  solver.Hangs();
  int calls = 0;
  GuiScript script;
  script.When(
      "the solver's first line", [] { return Rows().contains("RUNNING"); }, [] { OpenSolverWindow()->close(); });
  script.Start();
  RunInWindow(solver.Runner(), [&](const CTavSolverMsgDlg&) {
    ++calls;
    return std::vector<std::string>{};
  });
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace tav::tool
