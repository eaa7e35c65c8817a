#include "tav/solver/TavSolverMsgDlg.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/Golden.h"
#include "support/TempDir.h"

namespace tav {
namespace {

const CString kSeparator(83, '=');
const CString kErrorBox = "모델링에 에러가 존재합니다.";
const CString kWarningBox = "모델링에 경고 메세지가 존재합니다.";
const CString kNoMoreErrors = "더이상 에러부분이 존재하지 않습니다.\n처음부터 다시 찾으시겠습니까 ?";

using Boxes = std::vector<std::pair<CString, unsigned>>;

// Sees everything the dialog shows and answers its message boxes; acts when
// the run is over (by default: presses the close button).
class ScriptedFrontEnd : public CSolverFrontEnd {
 public:
  void OnLineInserted(int index, const CString& text) override {
    inserted.emplace_back(index, text);
    if (whenLine) whenLine(text);
  }
  void OnButtonChanged(const CButton& button) override {
    if (button.nId == IDOK) closeEnabled.push_back(button.bEnabled);
  }
  void OnShown(CTavSolverMsgDlg& /*dialog*/, bool shown) override { shows.push_back(shown); }
  int OnMessageBox(const CString& text, unsigned type) override {
    boxes.emplace_back(text, type);
    if (answers.empty()) return (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void OnRunFinished(CTavSolverMsgDlg& dialog) override {
    ++finished;
    if (whenFinished) whenFinished(dialog);
    if (closeWhenFinished) dialog.PressButton(IDOK);
  }

  std::vector<std::pair<int, CString>> inserted;
  std::vector<bool> closeEnabled;
  std::vector<bool> shows;
  Boxes boxes;
  std::vector<int> answers;
  int finished = 0;
  bool closeWhenFinished = true;
  std::function<void(CTavSolverMsgDlg&)> whenFinished;
  std::function<void(const CString&)> whenLine;
};

// A solver directory of doubles: each program notes how it was called in
// calls.txt (in the working directory) and prints <its name>.out, if any.
// Told to hang, a program notes its process id in <its name>.pid, prints and
// then runs on until it is killed, once.
class SolverDoubles {
 public:
  SolverDoubles() {
    std::filesystem::create_directory(solver());
    std::filesystem::create_directory(work());
    for (const std::string name : {"TaV", "Sapre", "Sapgo"}) {
      const std::string path = solver() + "/" + name;
      std::ofstream(path) << "#!/bin/sh\necho \"$0 $*\" >> calls.txt\n"
                          << "hang=no\n"
                          << "if [ -f " << name << ".hang ]; then rm " << name << ".hang; echo $$ > " << name
                          << ".pid; hang=yes; fi\n"
                          << "[ -f " << name << ".out ] && cat " << name << ".out\n"
                          << "[ $hang = yes ] && exec sleep 30\nexit 0\n";
      ::chmod(path.c_str(), 0755);
    }
  }
  std::string solver() const { return m_dir.File("solver"); }
  std::string work() const { return m_dir.File("work"); }
  void Prints(const std::string& program, const std::string& text) const {
    std::ofstream(work() + "/" + program + ".out") << text;
  }
  void Input(const std::string& name) const { std::ofstream(work() + "/" + name) << "input\n"; }
  void Hangs(const std::string& program) const { std::ofstream(work() + "/" + program + ".hang") << ""; }
  // The process id of the program that hung, or 0 when none did.
  pid_t HungPid(const std::string& program) const {
    const std::string path = work() + "/" + program + ".pid";
    return std::filesystem::exists(path) ? std::stoi(test::ReadFileBytes(path)) : 0;
  }
  std::string Calls() const { return test::ReadFileBytes(work() + "/calls.txt"); }
  std::string LastCall() const {
    const std::string calls = Calls();
    return calls.substr(calls.rfind('\n', calls.size() - 2) + 1);
  }

 private:
  test::TempDir m_dir;
};

int RunDialog(CTavSolverMsgDlg& dialog, ScriptedFrontEnd& frontEnd, const SolverDoubles& doubles, const CString& input,
              TaV_INPUT_FORMAT format, CWnd* parent = nullptr) {
  dialog.SetFrontEnd(&frontEnd);
  return dialog.RunSolver(parent, doubles.work(), doubles.solver(), input, format);
}

std::vector<CString> Lines(const CTavSolverMsgDlg& dialog) {
  std::vector<CString> lines;
  for (int i = 0; i < dialog.GetMessageList().GetCount(); ++i) lines.push_back(dialog.GetMessageList().GetText(i));
  return lines;
}

bool Gone(pid_t pid) { return ::kill(pid, 0) == -1 && errno == ESRCH; }

// One dialog with its front-end over the doubles, frame.tAv in place.
class SolverMsgDlgTest : public testing::Test {
 protected:
  SolverMsgDlgTest() { doubles.Input("frame.tAv"); }
  int Run(const CString& input = "frame.tAv", TaV_INPUT_FORMAT format = TaV_FORMAT_TAV) {
    return RunDialog(dialog, frontEnd, doubles, input, format);
  }

  SolverDoubles doubles;
  CTavSolverMsgDlg dialog;
  ScriptedFrontEnd frontEnd;
};

// A run asked for while the dialog is open, here from within its own run,
// is refused and leaves the run going on untouched.
TEST_F(SolverMsgDlgTest, OwnSolverCommandLineWarningsAndANestedRunRefused) {
  doubles.Prints("TaV", "SOLVING\n* W A R N I N G * SMALL PIVOT\nDONE\n");
  int nested = 0;
  frontEnd.whenFinished = [&nested, this](CTavSolverMsgDlg& dlg) {
    nested = dlg.RunSolver(nullptr, doubles.work(), doubles.solver(), "frame.tAv", TaV_FORMAT_TAV);
  };
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(nested, -1);
  EXPECT_EQ(doubles.Calls(), doubles.solver() + "/TaV frame.tAv frame.tvo\n");
  EXPECT_EQ(frontEnd.boxes, (Boxes{{kWarningBox, MB_OK | MB_ICONSTOP}}));
  // The empty line of the start, the output, then the separator block.
  EXPECT_EQ(Lines(dialog),
            (std::vector<CString>{"", "SOLVING", "* W A R N I N G * SMALL PIVOT", "DONE", "", kSeparator, ""}));
  EXPECT_EQ(dialog.GetMessageList().GetCurSel(), 6);
  // Disabled by the start, still so when shown, enabled at the end.
  EXPECT_EQ(frontEnd.closeEnabled, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(frontEnd.shows, (std::vector<bool>{true, false}));
  EXPECT_EQ(dialog.m_bWarning, 1);
}

TEST_F(SolverMsgDlgTest, TheSapPairRunsBothProgramsUnlessTheFirstReportsAnError) {
  doubles.Input("my_model.s2k");
  doubles.Prints("Sapgo", "ANALYSIS COMPLETE\n");
  EXPECT_EQ(Run("my model.s2k", TaV_FORMAT_SAP), 1);
  EXPECT_EQ(doubles.Calls(), doubles.solver() + "/Sapre my_model.s2k\n" + doubles.solver() + "/Sapgo my_model\n");
  const std::vector<CString> lines = Lines(dialog);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), CString("ANALYSIS COMPLETE")), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), kSeparator), 2);
  EXPECT_TRUE(frontEnd.boxes.empty());

  doubles.Prints("Sapre", "READING\n* E R R O R * * W A R N I N G * BAD JOINT\n");
  EXPECT_EQ(Run("my model.s2k", TaV_FORMAT_SAP), 0);
  EXPECT_EQ(doubles.LastCall(), doubles.solver() + "/Sapre my_model.s2k\n");
  EXPECT_EQ(frontEnd.boxes, (Boxes{{kErrorBox, MB_OK | MB_ICONSTOP}}));
  EXPECT_EQ(dialog.m_bWarning, 0);  // a line with both markers is an error only
}

TEST_F(SolverMsgDlgTest, MissingInputFiles) {
  for (auto [input, format] : {std::pair<CString, TaV_INPUT_FORMAT>{"none.tAv", TaV_FORMAT_TAV},
                               std::pair<CString, TaV_INPUT_FORMAT>{"no file.s2k", TaV_FORMAT_SAP}}) {
    CTavSolverMsgDlg fresh;
    ScriptedFrontEnd seen;
    EXPECT_EQ(RunDialog(fresh, seen, doubles, input, format), 0);
    EXPECT_EQ(seen.boxes, (Boxes{{input + " 파일이 존재하지 않습니다 !", MB_OK | MB_ICONSTOP}}));
    EXPECT_TRUE(seen.shows.empty());  // the dialog never opened
  }
}

TEST_F(SolverMsgDlgTest, MidasRunsNothingAndCopyDataKinds) {
  std::vector<std::vector<CString>> after;
  int selected = -2;
  frontEnd.whenFinished = [&after, &selected](CTavSolverMsgDlg& dlg) {
    const auto send = [&dlg](unsigned long kind, const char* text) {
      COPYDATASTRUCT record{kind, static_cast<uint32_t>(std::strlen(text) + 1), text};
      SendMessage(dlg.GetSafeHwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    };
    send(3, "first\r\nREPEAT\r\nthird");  // on an empty list
    after.push_back(Lines(dlg));
    send(3, "a\nb");
    send(3, "REPEAT");
    after.push_back(Lines(dlg));
    selected = dlg.GetMessageList().GetCurSel();
    send(9, "ignored");
    send(2, "* E R R O R * LATE");
    after.push_back(Lines(dlg));
  };
  EXPECT_EQ(Run("model.mct", TaV_FORMAT_MIDAS), 0);  // the late error line counts
  EXPECT_EQ(frontEnd.finished, 1);
  EXPECT_EQ(after,
            (std::vector<std::vector<CString>>{{"third"}, {"third", "a"}, {"third", "a", "* E R R O R * LATE"}}));
  EXPECT_EQ(selected, -1);
  EXPECT_FALSE(std::filesystem::exists(doubles.work() + "/calls.txt"));
}

TEST_F(SolverMsgDlgTest, AutoCloseAndTheCloseNotice) {
  doubles.Prints("TaV", "* W A R N I N G * ONLY\n");
  class Parent : public CWnd {
   public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_SOLVER_CLOSED) notices.push_back(static_cast<int>(wParam));
      return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<int> notices;
  } parent;
  ASSERT_TRUE(parent.CreateWindowHandle());

  CTavSolverMsgDlg automatic;
  automatic.m_bAutoClose = 1;
  ScriptedFrontEnd quiet;
  quiet.closeWhenFinished = false;
  EXPECT_EQ(RunDialog(automatic, quiet, doubles, "frame.tAv", TaV_FORMAT_TAV, &parent), 1);
  EXPECT_TRUE(quiet.boxes.empty());  // closed at the end, no message even with warnings

  CTavSolverMsgDlg flagged;  // goes before the parent does
  flagged.m_bCloseNoticeFlag = 1;
  RunDialog(flagged, frontEnd, doubles, "frame.tAv", TaV_FORMAT_TAV, &parent);
  EXPECT_EQ(flagged.m_bCloseNoticeFlag, 0);

  CTavSolverMsgDlg cancelled;
  ScriptedFrontEnd closer;
  closer.closeWhenFinished = false;
  closer.whenFinished = [](CTavSolverMsgDlg& dlg) { dlg.Close(); };
  RunDialog(cancelled, closer, doubles, "frame.tAv", TaV_FORMAT_TAV, &parent);

  parent.PumpMessages();
  EXPECT_EQ(parent.notices, (std::vector<int>{1, 0}));  // the cancel path sends none
}

TEST_F(SolverMsgDlgTest, ErrorAndWarningSearches) {
  doubles.Prints("TaV", "A\n* W A R N I N G * ONE\nB\n* W A R N I N G * TWO\nC\n");
  std::vector<int> selections;
  frontEnd.answers = {IDOK, IDYES, IDNO, IDOK, IDYES, IDOK};
  frontEnd.whenFinished = [&selections](CTavSolverMsgDlg& dlg) {
    auto& list = const_cast<CColorListBox&>(dlg.GetMessageList());
    const auto press = [&](int id) {
      SendMessage(dlg.GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0);
      selections.push_back(list.GetCurSel());
    };
    press(IDC_BUTTON_GO_WARNING);  // from the last line: wraps to the top without asking
    press(IDC_BUTTON_GO_WARNING);
    press(IDC_BUTTON_GO_WARNING);  // nothing further: asked, Yes: from line 1 again
    press(IDC_BUTTON_GO_ERROR);    // no error at all: asked, No
    // A record without data is ignored.
    const COPYDATASTRUCT none{9, 0, nullptr};
    SendMessage(dlg.GetSafeHwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&none));
    list.SetCurSel(0);  // the search starts at line 1 and says so plainly
    press(IDC_BUTTON_GO_ERROR);
    list.SetCurSel(-1);  // no selection: the question, then Yes leads to the plain message
    press(IDC_BUTTON_GO_ERROR);
  };
  Run();
  EXPECT_EQ(selections, (std::vector<int>{2, 4, 2, 2, 0, 0}));
  const std::pair<CString, unsigned> noError = {"에러부분이 존재하지 않습니다", MB_OK | MB_ICONINFORMATION};
  EXPECT_EQ(frontEnd.boxes, (Boxes{{kWarningBox, MB_OK | MB_ICONSTOP},
                                   {"더이상 경고부분이 존재하지 않습니다.\n처음부터 다시 찾으시겠습니까 ?", MB_YESNO},
                                   {kNoMoreErrors, MB_YESNO},
                                   noError,
                                   {kNoMoreErrors, MB_YESNO},
                                   noError}));
}

TEST_F(SolverMsgDlgTest, AProgramThatCannotStartEndsTheRun) {
  dialog.SetFrontEnd(&frontEnd);
  EXPECT_EQ(dialog.RunSolver(nullptr, doubles.work(), doubles.work() + "/nowhere", "frame.tAv", TaV_FORMAT_TAV), 1);
  EXPECT_EQ(Lines(dialog),
            std::vector<CString>{"Unable to start " + doubles.work() + "/nowhere/TaV frame.tAv frame.tvo\n"});
  EXPECT_EQ(frontEnd.finished, 1);
}

// However a first run is cut short, a second run on the same dialog starts
// clean, shows only its own lines and judges only its own output. A program
// the first run left running is gone by the time RunSolver returns, which
// does not wait for it. (Runs that end by themselves: ThreeRunsOnOneDialog.)
TEST_F(SolverMsgDlgTest, ASecondRunAfterEveryEndingOfTheFirst) {
  struct Case {
    const char* name;
    const char* input;
    TaV_INPUT_FORMAT format;
    std::string program;  // prints "FIRST"
    std::string hangs;    // the program that runs until it is killed, if any
    int autoClose;
    void (*onFirstLine)(CTavSolverMsgDlg&);  // what the user does once "FIRST" shows
  };
  const auto closeBox = [](CTavSolverMsgDlg& dlg) { dlg.Close(); };
  const auto escape = [](CTavSolverMsgDlg& dlg) { dlg.PressEscape(); };
  const Case cases[] = {
      {"close box while running", "frame.tAv", TaV_FORMAT_TAV, "TaV", "TaV", 0, closeBox},
      {"Escape while running", "frame.tAv", TaV_FORMAT_TAV, "TaV", "TaV", 0, escape},
      {"closed by itself before the second program", "bridge.s2k", TaV_FORMAT_SAP, "Sapre", "Sapgo", 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SolverDoubles own;
    own.Input(c.input);
    own.Input("frame.tAv");
    own.Prints(c.program, "FIRST\n");
    own.Hangs(c.hangs);
    CTavSolverMsgDlg reused;
    reused.m_bAutoClose = c.autoClose;
    ScriptedFrontEnd first;
    first.closeWhenFinished = c.autoClose == 0;
    first.whenLine = [&reused, &c](const CString& line) {
      if (line == "FIRST" && c.onFirstLine != nullptr) c.onFirstLine(reused);
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunDialog(reused, first, own, c.input, c.format), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    if (c.onFirstLine != nullptr) {
      ASSERT_NE(own.HungPid(c.hangs), 0);
    }
    if (own.HungPid(c.hangs) != 0) {
      EXPECT_TRUE(Gone(own.HungPid(c.hangs))) << c.hangs << " runs on after RunSolver returned";
    }

    reused.m_bAutoClose = 0;
    own.Prints("TaV", "SECOND\n");
    ScriptedFrontEnd second;
    EXPECT_EQ(RunDialog(reused, second, own, "frame.tAv", TaV_FORMAT_TAV), 1);
    EXPECT_EQ(Lines(reused), (std::vector<CString>{"", "SECOND", "", kSeparator, ""}));
    EXPECT_EQ(second.inserted,
              (std::vector<std::pair<int, CString>>{{0, ""}, {1, "SECOND"}, {2, ""}, {3, kSeparator}, {4, ""}}));
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_EQ(reused.m_bError, 0);
    EXPECT_EQ(reused.m_bWarning, 0);
    EXPECT_EQ(own.LastCall(), own.solver() + "/TaV frame.tAv frame.tvo\n");
  }
}

// A run closed while its program ran leaves the close button disabled; the
// next run must start with it enabled, or a run with nothing to do could
// never be closed.
TEST_F(SolverMsgDlgTest, TheCloseButtonWorksInTheRunAfterOneClosedWhileRunning) {
  doubles.Prints("TaV", "FIRST\n");
  doubles.Hangs("TaV");
  frontEnd.whenLine = [this](const CString& line) {
    if (line == "FIRST") dialog.Close();
  };
  Run();
  EXPECT_FALSE(dialog.GetButton(IDOK).bEnabled);

  ScriptedFrontEnd second;
  second.closeWhenFinished = false;
  bool enabled = false;
  second.whenFinished = [&enabled](CTavSolverMsgDlg& dlg) {
    enabled = dlg.GetButton(IDOK).bEnabled;
    if (enabled) {
      dlg.PressButton(IDOK);
    } else {
      dlg.Close();  // the user's way out
    }
  };
  EXPECT_EQ(RunDialog(dialog, second, doubles, "model.mct", TaV_FORMAT_MIDAS), 1);
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(Lines(dialog).empty());
}

// Three runs on one dialog: each list holds that run's lines and nothing
// else, and the error search of a run never finds an earlier run's error.
TEST_F(SolverMsgDlgTest, ThreeRunsOnOneDialogShowOnlyTheirOwnLines) {
  struct RunCase {
    std::string output;
    int verdict;
    std::vector<CString> lines;
    std::vector<CString> boxes;  // the verdict's, then the error search's
    int selectedByErrorSearch;
  };
  const RunCase runs[] = {
      {"A1\n* E R R O R * A2\n", 0, {"", "A1", "* E R R O R * A2", "", kSeparator, ""}, {kErrorBox}, 2},
      {"B1\nB2\n* W A R N I N G * B3\nB4\n",
       1,
       {"", "B1", "B2", "* W A R N I N G * B3", "B4", "", kSeparator, ""},
       {kWarningBox, kNoMoreErrors},
       7},
      {"C1\n", 1, {"", "C1", "", kSeparator, ""}, {kNoMoreErrors}, 4},
  };
  int run = 0;
  for (const RunCase& expected : runs) {
    SCOPED_TRACE("run " + std::to_string(++run));
    doubles.Prints("TaV", expected.output);
    ScriptedFrontEnd each;  // each run's own
    int selected = -2;
    each.whenFinished = [&selected](CTavSolverMsgDlg& dlg) {
      SendMessage(dlg.GetSafeHwnd(), WM_COMMAND, IDC_BUTTON_GO_ERROR, 0);
      selected = dlg.GetMessageList().GetCurSel();
    };
    EXPECT_EQ(RunDialog(dialog, each, doubles, "frame.tAv", TaV_FORMAT_TAV), expected.verdict);
    EXPECT_EQ(Lines(dialog), expected.lines);
    std::vector<CString> shown;
    for (const auto& [index, text] : each.inserted) shown.push_back(text);
    EXPECT_EQ(shown, expected.lines);
    std::vector<CString> boxes;
    for (const auto& box : each.boxes) boxes.push_back(box.first);
    EXPECT_EQ(boxes, expected.boxes);
    EXPECT_EQ(selected, expected.selectedByErrorSearch);
  }
}

}  // namespace
}  // namespace tav
