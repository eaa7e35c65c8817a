// The Run Solver dialog in its Qt window, driven as a user would: a scripted
// solver prints, the test reads the window, clicks its buttons, answers its
// message boxes and closes it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QFontDatabase>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QRawFont>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "qt/GuiScript.h"
#include "qt/ScriptedSolver.h"
#include "tav/qt/RunSolverInWindow.h"

namespace tav::qt {
namespace {

using test::ClickBoxButton;
using test::GuiScript;
using test::HasRow;
using test::OpenMessageBox;
using test::OpenSolverWindow;
using test::Rows;
using test::ScriptedSolver;

const QString kSeparator(83, '=');

int SelectedRow(const QListWidget& list) {
  const QModelIndexList selected = list.selectionModel()->selectedIndexes();
  return selected.size() == 1 ? selected.front().row() : -1;
}

// A box of `text` is open.
bool BoxSays(const QString& text) {
  const QMessageBox* box = OpenMessageBox();
  return box != nullptr && box->text() == text;
}

bool Gone(pid_t pid) { return ::kill(pid, 0) == -1 && errno == ESRCH; }

struct Seen {
  QStringList rows;
  int selected = -2;
  QColor back;
  QColor text;
  QImage picture;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

TEST(SolverWindowTest, DialogColoursAreBlueGreenRedFromTheHighByteDown) {
  const struct {
    uint32_t colorRef;
    QColor qt;
  } cases[] = {
      {0x0000FF, QColor(255, 0, 0)},
      {0x00FF00, QColor(0, 255, 0)},
      {0xFF0000, QColor(0, 0, 255)},
      {0x123456, QColor(0x56, 0x34, 0x12)},
  };
  for (const auto& c : cases) EXPECT_EQ(ToQColor(c.colorRef), c.qt) << c.colorRef;
}

TEST(SolverWindowTest, LinesShowInOrderGreenOnBlackWithTheDialogsSelection) {
  ScriptedSolver solver;
  solver.Prints("SOLVING\n* W A R N I N G * SMALL PIVOT\nDONE\n");
  CTavSolverMsgDlg dialog;
  Seen seen;
  GuiScript script;
  script
      .When(
          "the warning box", [] { return BoxSays("모델링에 경고 메세지가 존재합니다."); },
          [&seen] {
            seen.icon = OpenMessageBox()->icon();
            seen.buttons = OpenMessageBox()->standardButtons();
            ClickBoxButton(QMessageBox::Ok);
          })
      .When(
          "the last row", [] { return HasRow(kSeparator) && OpenSolverWindow()->List().count() == 7; },
          [&seen] {
            SolverWindow* window = OpenSolverWindow();
            QListWidget& list = window->List();
            seen.rows = Rows(list);
            seen.selected = SelectedRow(list);
            seen.back = list.palette().color(QPalette::Base);
            seen.text = list.palette().color(QPalette::Text);
            seen.picture = list.viewport()->grab().toImage();
            window->Button(IDOK)->click();
          });
  script.Start();
  EXPECT_EQ(solver.Run(dialog), 1);
  EXPECT_TRUE(script.Done());

  EXPECT_EQ(seen.rows, (QStringList{"", "SOLVING", "* W A R N I N G * SMALL PIVOT", "DONE", "", kSeparator, ""}));
  // The window shows the dialog's own list and selection.
  ASSERT_EQ(dialog.GetMessageList().GetCount(), seen.rows.size());
  for (int i = 0; i < seen.rows.size(); ++i) {
    EXPECT_EQ(seen.rows[i].toStdString(), dialog.GetMessageList().GetText(i));
  }
  EXPECT_EQ(seen.selected, dialog.GetMessageList().GetCurSel());
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);

  EXPECT_EQ(seen.back, QColor(0, 0, 0));
  EXPECT_EQ(seen.text, QColor(0, 255, 0));
  // Drawn as such: black ground, green text on the unselected rows (the
  // first four rows sit at the top of the list).
  ASSERT_FALSE(seen.picture.isNull());
  const QImage& picture = seen.picture;
  EXPECT_EQ(picture.pixelColor(picture.width() - 2, 1), QColor(0, 0, 0));
  int green = 0;
  for (int y = 0; y < picture.height() / 3; ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.green() > 150 && c.red() < 90 && c.blue() < 90) ++green;
    }
  }
  EXPECT_GT(green, 50);
}

TEST(SolverWindowTest, TheButtonsCarryTheDialogsCaptionsInAFontWithHangul) {
  ScriptedSolver solver;
  solver.Prints("DONE\n");
  CTavSolverMsgDlg dialog;
  dialog.SetBtnText("확 인");  // the close button's caption as the host set it
  QStringList captions;
  QString title;
  QStringList families;
  bool hangul = true;
  GuiScript script;
  script.When(
      "the end of the run", [] { return HasRow(kSeparator); },
      [&] {
        SolverWindow* window = OpenSolverWindow();
        title = window->windowTitle();
        for (int id : {IDOK, IDC_BUTTON_GO_ERROR, IDC_BUTTON_GO_WARNING}) {
          const QPushButton* button = window->Button(id);
          captions << button->text();
          // The family the window system gave the button, and whether that
          // family itself (not a fallback) has every glyph of the caption.
          const QRawFont drawn = QRawFont::fromFont(button->font(), QFontDatabase::Korean);
          families << drawn.familyName();
          for (QChar c : button->text()) {
            if (!c.isSpace() && !drawn.supportsCharacter(c)) hangul = false;
          }
        }
        window->Button(IDOK)->click();
      });
  script.Start();
  EXPECT_EQ(solver.Run(dialog), 1);
  EXPECT_EQ(title, "Run Solver");
  EXPECT_EQ(captions, (QStringList{"확 인", "에러 이동", "경고 이동"}));
  EXPECT_EQ(families, QStringList(3, "NanumGothicCoding"));  // the first choice, installed with the build's tools
  EXPECT_TRUE(hangul);
}

TEST(SolverWindowTest, GoToErrorSelectsTheErrorLineAndAsksBeforeStartingOver) {
  ScriptedSolver solver;
  solver.Prints("READING\n* E R R O R * NO SUPPORT\nSTOPPED\n");
  CTavSolverMsgDlg dialog;
  int selectedAfterClick = -2;
  bool closeEnabledAtTheEnd = false;
  QMessageBox::StandardButtons againButtons;
  GuiScript script;
  script
      .When(
          "the error box", [] { return BoxSays("모델링에 에러가 존재합니다."); },
          [] { ClickBoxButton(QMessageBox::Ok); })
      .When(
          "the end of the run", [] { return HasRow(kSeparator) && OpenMessageBox() == nullptr; },
          [&] {
            SolverWindow* window = OpenSolverWindow();
            closeEnabledAtTheEnd = window->Button(IDOK)->isEnabled();
            window->Button(IDC_BUTTON_GO_ERROR)->click();
          })
      .When(
          "the error line selected", [] { return SelectedRow(OpenSolverWindow()->List()) == 2; },
          [&] {
            selectedAfterClick = SelectedRow(OpenSolverWindow()->List());
            OpenSolverWindow()->Button(IDC_BUTTON_GO_ERROR)->click();  // no error after it
          })
      .When(
          "the question",
          [] { return BoxSays("더이상 에러부분이 존재하지 않습니다.\n처음부터 다시 찾으시겠습니까 ?"); },
          [&] {
            againButtons = OpenMessageBox()->standardButtons();
            ClickBoxButton(QMessageBox::No);
          })
      .When(
          "the question answered", [] { return OpenMessageBox() == nullptr; }, [] { OpenSolverWindow()->close(); });
  script.Start();
  EXPECT_EQ(solver.Run(dialog), 0);
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(closeEnabledAtTheEnd);
  EXPECT_EQ(selectedAfterClick, 2);
  EXPECT_EQ(againButtons, QMessageBox::Yes | QMessageBox::No);
  // "No" leaves the selection on the error line.
  EXPECT_EQ(dialog.GetMessageList().GetCurSel(), 2);
}

TEST(SolverWindowTest, AutomaticCloseClosesTheWindowWithoutTheUser) {
  ScriptedSolver solver;
  solver.Prints("DONE\n");
  CTavSolverMsgDlg dialog;
  dialog.m_bAutoClose = 1;
  test::ShowCounter showings;
  GuiScript nothingToDo;  // only fails the test (and closes) if the run goes on
  nothingToDo.Start();
  EXPECT_EQ(solver.Run(dialog), 1);
  EXPECT_EQ(showings.shown, 1);
  EXPECT_EQ(showings.hidden, 1);
  EXPECT_EQ(OpenSolverWindow(), nullptr);
  EXPECT_EQ(dialog.GetMessageList().GetText(1), "DONE");
}

// A run that shows the dialog twice: the window shows again, with the
// second run's lines only (the first run's lines go as the dialog clears
// its list).
TEST(SolverWindowTest, ASecondShowingStartsFromTheSecondRunsLines) {
  ScriptedSolver solver;
  solver.Prints("FIRST\n");
  CTavSolverMsgDlg dialog;
  test::ShowCounter showings;
  QStringList second;
  GuiScript script;
  script
      .When(
          "the first run's end", [] { return HasRow(kSeparator) && HasRow("FIRST"); },
          [&solver] {
            solver.Prints("SECOND\n");
            OpenSolverWindow()->Button(IDOK)->click();
          })
      .When(
          "the second run's end", [&showings] { return showings.shown == 2 && HasRow(kSeparator); },
          [&second] {
            second = Rows(OpenSolverWindow()->List());
            OpenSolverWindow()->Button(IDOK)->click();
          });
  script.Start();
  const CString dir = solver.Directory();
  const int result = RunSolverInWindow(dialog, [&dir](CTavSolverMsgDlg& dlg) {
    return dlg.RunSolver(nullptr, dir, dir, "frame.tAv", TaV_FORMAT_TAV) +
           dlg.RunSolver(nullptr, dir, dir, "frame.tAv", TaV_FORMAT_TAV);
  });
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(second, (QStringList{"", "SECOND", "", kSeparator, ""}));
  EXPECT_EQ(showings.hidden, 2);
}

TEST(SolverWindowTest, TheCloseBoxStopsASolverThatRunsOn) {
  ScriptedSolver solver;
  solver.Prints("WORKING\n");
  solver.Hangs();
  CTavSolverMsgDlg dialog;
  bool closeEnabledWhileRunning = true;
  GuiScript script;
  script.When(
      "the solver working", [] { return HasRow("WORKING"); },
      [&] {
        SolverWindow* window = OpenSolverWindow();
        closeEnabledWhileRunning = window->Button(IDOK)->isEnabled();
        window->close();
      });
  script.Start();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(solver.Run(dialog), 1);
  EXPECT_TRUE(script.Done());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_FALSE(closeEnabledWhileRunning);
  // Stopped and reaped: no process of that id is left.
  EXPECT_TRUE(Gone(solver.HungPid()));
}

TEST(SolverWindowTest, AMissingInputIsToldInABoxAndNoWindowShows) {
  ScriptedSolver solver;
  CTavSolverMsgDlg dialog;
  test::ShowCounter showings;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  GuiScript script;
  script.When(
      "the missing file box", [] { return BoxSays("none.tAv 파일이 존재하지 않습니다 !"); },
      [&icon] {
        icon = OpenMessageBox()->icon();
        ClickBoxButton(QMessageBox::Ok);
      });
  script.Start();
  EXPECT_EQ(solver.Run(dialog, "none.tAv"), 0);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(showings.shown, 0);
}

TEST(SolverWindowTest, TheRunsResultAndExceptionComeBackToTheCaller) {
  CTavSolverMsgDlg dialog;
  EXPECT_EQ(RunSolverInWindow(dialog, [](CTavSolverMsgDlg&) { return 7; }), 7);
  EXPECT_THROW(RunSolverInWindow(dialog, [](CTavSolverMsgDlg&) -> int { throw std::runtime_error("no"); }),
               std::runtime_error);
}

}  // namespace
}  // namespace tav::qt
