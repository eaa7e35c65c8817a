// Message boxes and the save-file dialog as Qt dialogs, and the hand-over
// of work to the GUI thread that carries them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QEventLoop>
#include <QLineEdit>
#include <atomic>
#include <thread>

#include "qt/GuiScript.h"
#include "tav/qt/GuiThreadQueue.h"
#include "tav/qt/QtDialogHandlers.h"
#include "tav/qt/QtMessageBoxes.h"

namespace tav::qt {
namespace {

using test::GuiScript;
using test::OpenFileDialog;
using test::OpenMessageBox;

TEST(QtMessageBoxesTest, TypesMapToIconsAndButtons) {
  const struct {
    unsigned type;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
  } cases[] = {
      {MB_OK | MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Ok},
      {MB_OK | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok},
      {MB_YESNO, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No},
      {MB_YESNO | MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MessageBoxIcon(c.type), c.icon) << c.type;
    EXPECT_EQ(MessageBoxButtons(c.type), c.buttons) << c.type;
  }
}

TEST(QtMessageBoxesTest, PressedButtonsMapToAnswers) {
  const struct {
    unsigned type;
    QMessageBox::StandardButton pressed;
    int answer;
  } cases[] = {
      {MB_OK, QMessageBox::Ok, IDOK},    {MB_OK, QMessageBox::NoButton, IDOK},    {MB_YESNO, QMessageBox::Yes, IDYES},
      {MB_YESNO, QMessageBox::No, IDNO}, {MB_YESNO, QMessageBox::NoButton, IDNO},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageBoxAnswer(c.type, c.pressed), c.answer) << c.type << " " << c.pressed;
}

TEST(QtMessageBoxesTest, SaveFiltersInQtsForm) {
  const struct {
    CString filter;
    QString qt;
  } cases[] = {
      {"TaV 파일 저장 (*.TaV)|*.TaV||", "TaV 파일 저장 (*.TaV)"},
      {"Text|*.txt;*.log|All files (*.*)|*.*||", "Text (*.txt *.log);;All files (*.*)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToQtFileFilter(c.filter), c.qt) << c.filter;
}

// Runs `work` on a thread of its own while the GUI thread runs its event
// loop, and returns once the work is done.
void OnWorker(const std::function<void()>& work) {
  QEventLoop loop;
  std::atomic<bool> done{false};
  GuiThreadQueue wake;  // only to end the loop from the worker
  std::thread worker([&] {
    work();
    done = true;
    wake.Post([&loop] { loop.quit(); });
  });
  while (!done) loop.exec();
  worker.join();
}

TEST(QtDialogHandlersTest, AnotherThreadsQuestionIsAskedAndAnsweredOnTheGuiThread) {
  QString asked;
  GuiScript script;
  script.When(
      "the question", [] { return OpenMessageBox() != nullptr; },
      [&asked] {
        asked = OpenMessageBox()->text();
        OpenMessageBox()->button(QMessageBox::Yes)->click();
      });
  script.Start();
  int answer = 0;
  {
    QtDialogHandlers handlers;
    OnWorker([&answer] { answer = TavMessageBox("다시 찾으시겠습니까 ?", MB_YESNO); });
  }
  EXPECT_EQ(answer, IDYES);
  EXPECT_EQ(asked, "다시 찾으시겠습니까 ?");
}

TEST(QtDialogHandlersTest, TheSaveDialogOffersTheFilterAndReturnsTheChosenPath) {
  QStringList filters;
  GuiScript script;
  script.When(
      "the save dialog", [] { return OpenFileDialog() != nullptr; },
      [&filters] {
        QFileDialog* dialog = OpenFileDialog();
        filters = dialog->nameFilters();
        dialog->selectFile("/tmp/model.TaV");
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
      });
  script.Start();
  CString chosen;
  bool saved = false;
  {
    QtDialogHandlers handlers;
    OnWorker([&] { saved = ShowSaveFileDialog("TaV 파일 저장 (*.TaV)|*.TaV||", chosen); });
  }
  EXPECT_TRUE(saved);
  EXPECT_EQ(chosen, "/tmp/model.TaV");
  EXPECT_EQ(filters, QStringList{"TaV 파일 저장 (*.TaV)"});
}

TEST(QtDialogHandlersTest, ThePreviousHandlersComeBack) {
  const MessageBoxHandler outer = SetMessageBoxHandler([](const CString&, unsigned) { return 42; });
  { QtDialogHandlers handlers; }
  EXPECT_EQ(TavMessageBox("x", MB_OK), 42);
  SetMessageBoxHandler(outer);
}

TEST(GuiThreadQueueTest, TasksRunInOrderEvenWhenOneWaitsInANestedLoop) {
  GuiThreadQueue queue;
  std::vector<std::string> ran;  // touched on the GUI thread only
  bool thirdRan = false;
  OnWorker([&] {
    // The first task runs a nested loop (as a modal box does) that the
    // later tasks must end, in their order.
    queue.Post([&] {
      ran.push_back("first begins");
      QEventLoop nested;
      while (!thirdRan) nested.processEvents(QEventLoop::WaitForMoreEvents);
      ran.push_back("first ends");
    });
    queue.Post([&] { ran.push_back("second"); });
    queue.Post([&] {
      ran.push_back("third");
      thirdRan = true;
    });
    EXPECT_EQ(queue.Call<int>([] { return 4; }, -1), 4);
  });
  EXPECT_EQ(ran, (std::vector<std::string>{"first begins", "second", "third", "first ends"}));
}

TEST(GuiThreadQueueTest, ACallOnAClosedQueueGetsItsFallback) {
  GuiThreadQueue queue;
  std::atomic<bool> asking{false};
  int answer = 0;
  std::thread worker([&] {
    asking = true;
    answer = queue.Call<int>([] { return 1; }, -1);
  });
  // The GUI thread never runs its loop here: the call cannot be answered,
  // queued or not, until the queue closes.
  while (!asking) std::this_thread::yield();
  queue.Close();
  worker.join();
  EXPECT_EQ(answer, -1);
  EXPECT_FALSE(queue.Post([] {}));
  EXPECT_EQ(queue.Call<int>([] { return 5; }, -1), 5);  // the GUI thread itself runs it at once
}

}  // namespace
}  // namespace tav::qt
