// The window as a user sees it during a run, taken from the screen. Under
// Xvfb (the qt_screenshot test) the picture is written where TAV_SCREENSHOT
// says, for the documentation.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <chrono>

#include "qt/GuiScript.h"
#include "qt/ScriptedSolver.h"

namespace tav::qt {
namespace {

using test::GuiScript;
using test::OpenMessageBox;
using test::OpenSolverWindow;

constexpr const char* kOutput =
    "TaV  FRAME ANALYSIS  0.1\n"
    "READING   frame.tAv\n"
    "   JOINTS ........   24        BEAMS .........   36\n"
    "   LOAD CASES ....    3        SECTIONS ......    4\n"
    "* W A R N I N G *  JOINT 17: NO STIFFNESS AGAINST UZ, RESTRAINED\n"
    "ASSEMBLING STIFFNESS\n"
    "* E R R O R *  BEAM 31: SECTION \"H400\" IS NOT DEFINED\n"
    "ANALYSIS STOPPED\n";
constexpr int kErrorRow = 7;  // after the empty line that opens the run

TEST(SolverScreenshotTest, TheWindowDuringARunWithAnErrorSelected) {
  test::ScriptedSolver solver;
  solver.Prints(kOutput);

  QImage shot;
  QColor background;
  QString errorRowText;
  auto selectedAt = std::chrono::steady_clock::now();
  GuiScript script;
  script
      .When(
          "the error box", [] { return OpenMessageBox() != nullptr; }, [] { test::ClickBoxButton(QMessageBox::Ok); })
      .When(
          "the box gone", [] { return OpenMessageBox() == nullptr; },
          [] { OpenSolverWindow()->Button(IDC_BUTTON_GO_ERROR)->click(); })
      .When(
          "the error line selected",
          [] {
            const QListWidget& list = OpenSolverWindow()->List();
            return list.selectionModel()->isRowSelected(kErrorRow, QModelIndex());
          },
          [&selectedAt] { selectedAt = std::chrono::steady_clock::now(); })
      // Time for the window system to show the last repaint.
      .When(
          "the repaint shown",
          [&selectedAt] { return std::chrono::steady_clock::now() - selectedAt > std::chrono::milliseconds(300); },
          [&] {
            SolverWindow* window = OpenSolverWindow();
            shot = window->screen()->grabWindow(window->winId()).toImage();
            const QListWidget& list = window->List();
            errorRowText = list.item(kErrorRow)->text();
            const QPoint corner = list.viewport()->mapTo(window, list.viewport()->rect().bottomRight());
            background = shot.pixelColor(corner - QPoint(2, 2));
            window->close();
          });
  script.Start();
  CTavSolverMsgDlg dialog;
  EXPECT_EQ(solver.Run(dialog), 0);
  ASSERT_TRUE(script.Done());
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(errorRowText, "* E R R O R *  BEAM 31: SECTION \"H400\" IS NOT DEFINED");
  EXPECT_EQ(background, QColor(0, 0, 0));
  const QByteArray path = qgetenv("TAV_SCREENSHOT");
  if (!path.isEmpty()) {
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(path), "PNG"));
  }
}

}  // namespace
}  // namespace tav::qt
