#include "console/ConsoleFrontEnd.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/TempDir.h"

namespace tav::console {
namespace {

void WriteProgram(const std::string& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body;
  ::chmod(path.c_str(), 0755);
}

TEST(ConsoleFrontEndTest, PrintsEveryLineAndTheVerdict) {
  test::TempDir dir;
  WriteProgram(dir.File("TaV"), "echo 'READING'\necho '* E R R O R * NO SUPPORT'\n");
  std::ofstream(dir.File("m.tAv")) << "x";
  std::ostringstream out;
  std::ostringstream messages;
  ConsoleFrontEnd frontEnd(out, messages, true);
  CTavSolverMsgDlg dialog;
  dialog.SetFrontEnd(&frontEnd);
  EXPECT_EQ(dialog.RunSolver(nullptr, dir.Path().string(), dir.Path().string(), "m.tAv", TaV_FORMAT_TAV), 0);
  const std::string printed = out.str();
  EXPECT_NE(printed.find("\033[32mREADING\033[0m\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find(std::string(83, '=')), std::string::npos);
  EXPECT_EQ(messages.str(), "모델링에 에러가 존재합니다.\n");
  EXPECT_FALSE(frontEnd.Interrupted());
}

TEST(ConsoleFrontEndTest, CtrlCStopsTheSolverAndTheDialogRunsAgain) {
  test::TempDir dir;
  // Slow once: the second run ends at once.
  WriteProgram(dir.File("TaV"), "if [ -f slow ]; then rm slow; echo 'WORKING'; exec sleep 30; fi\necho 'DONE'\n");
  std::ofstream(dir.File("slow")) << "";
  std::ofstream(dir.File("m.tAv")) << "x";
  std::ostringstream out;
  std::ostringstream messages;
  ConsoleFrontEnd frontEnd(out, messages, false);
  CTavSolverMsgDlg dialog;
  dialog.SetFrontEnd(&frontEnd);
  std::thread user([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(::getpid(), SIGINT);
  });
  const auto start = std::chrono::steady_clock::now();
  dialog.RunSolver(nullptr, dir.Path().string(), dir.Path().string(), "m.tAv", TaV_FORMAT_TAV);
  user.join();
  EXPECT_TRUE(frontEnd.Interrupted());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_NE(out.str().find("WORKING\n"), std::string::npos);
  EXPECT_EQ(messages.str(), "Interrupted: stopping the solver.\n");
  // The previous handling of Ctrl-C is back once the dialog is gone.
  struct sigaction now {};
  ::sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);

  out.str("");
  EXPECT_EQ(dialog.RunSolver(nullptr, dir.Path().string(), dir.Path().string(), "m.tAv", TaV_FORMAT_TAV), 1);
  EXPECT_EQ(out.str().substr(0, 6), "\nDONE\n");  // the empty line that opens a run, then its output
  EXPECT_EQ(messages.str(), "Interrupted: stopping the solver.\n");
  ::sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace tav::console
