#include "tav/platform/Window.h"

#include <gtest/gtest.h>

#include <thread>

#include "tav/platform/Controls.h"

namespace tav {
namespace {

// Answers each message with its number plus wParam, and notes the thread.
struct EchoWindow : CDialog {
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) {
      seenOn = std::this_thread::get_id();
      order.push_back(static_cast<int>(wParam));
      return static_cast<LRESULT>(1000 + wParam);
    }
    if (message == WM_USER + 1) EndDialog(static_cast<int>(wParam));
    return CDialog::WindowProc(message, wParam, lParam);
  }
  std::thread::id seenOn;
  std::vector<int> order;
};

TEST(WindowTest, SendWaitsForTheWindowsThreadAndPostKeepsOrder) {
  EchoWindow window;
  ASSERT_TRUE(window.CreateWindowHandle());
  const HWND handle = window.GetSafeHwnd();
  EXPECT_TRUE(IsWindow(handle));
  LRESULT answer = 0;
  std::thread sender([&] {
    PostMessage(handle, WM_USER, 1, 0);
    answer = SendMessage(handle, WM_USER, 2, 0);  // returns once handled
    PostMessage(handle, WM_USER + 1, 7, 0);
  });
  EXPECT_EQ(window.RunModalLoop(), 7);
  sender.join();
  EXPECT_EQ(answer, 1002);
  EXPECT_EQ(window.seenOn, std::this_thread::get_id());
  EXPECT_EQ(window.order, (std::vector<int>{1, 2}));
  // On its own thread a send is a direct call.
  EXPECT_EQ(SendMessage(handle, WM_USER, 5, 0), 1005);
}

TEST(WindowTest, ADestroyedWindowAnswersZero) {
  auto window = std::make_unique<EchoWindow>();
  ASSERT_TRUE(window->CreateWindowHandle());
  const HWND handle = window->GetSafeHwnd();
  LRESULT answer = -1;
  // The window's thread (this one) does not pump: the send waits in the
  // queue until the window goes, or finds it gone.
  std::thread sender([&] { answer = SendMessage(handle, WM_USER, 3, 0); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  window->DestroyWindow();
  sender.join();
  EXPECT_EQ(answer, 0);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_FALSE(PostMessage(handle, WM_USER, 1, 0));
  EXPECT_EQ(SendMessage(handle, WM_USER, 1, 0), 0);
  EXPECT_FALSE(IsWindow(nullptr));
}

TEST(WindowTest, TheCloseBoxAndEscapeTakeTheCancelPath) {
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  for (const Way& way : {Way{"close box", WM_CLOSE, 0}, Way{"Escape", WM_COMMAND, IDCANCEL}}) {
    SCOPED_TRACE(way.name);
    struct Opener : EchoWindow {
      explicit Opener(const Way& w) : m_way(w) {}
      int OnInitDialog() override {
        PostMessage(GetSafeHwnd(), m_way.message, m_way.wParam, 0);
        return 1;
      }
      const Way& m_way;
    } dialog(way);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    // The same dialog opens again.
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
}

struct ListLog : CListObserver {
  void OnLineInserted(int index, const CString& text) override { Note('+', index, text); }
  void OnLineDeleted(int index) override { Note('-', index, ""); }
  void OnSelectionChanged(int index) override { Note('*', index, ""); }
  void Note(char kind, int index, const CString& text) { events.push_back(kind + std::to_string(index) + text); }
  std::vector<std::string> events;
};

TEST(ListBoxTest, InsertDeleteAndSelect) {
  CListBox list;
  ListLog log;
  list.SetObserver(&log);
  EXPECT_EQ(list.InsertString(1, "x"), LB_ERR);
  EXPECT_EQ(list.InsertString(0, "a"), 0);
  EXPECT_EQ(list.InsertString(-1, "c"), 1);
  EXPECT_EQ(list.InsertString(1, "b"), 1);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(list.InsertString(0, "z"), 0);
  EXPECT_EQ(list.GetCurSel(), 3);  // the selection follows its line
  EXPECT_EQ(list.DeleteString(3), 3);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  EXPECT_EQ(list.SetCurSel(3), LB_ERR);
  EXPECT_EQ(list.DeleteString(3), LB_ERR);
  EXPECT_EQ(list.GetText(2), "b");
  EXPECT_EQ(log.events, (std::vector<std::string>{"+0a", "+1c", "+1b", "*2", "+0z", "-3", "*-1"}));

  // Emptied from the last line up, so that an observer can follow.
  log.events.clear();
  list.SetCurSel(1);
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  EXPECT_EQ(log.events, (std::vector<std::string>{"*1", "-2", "-1", "-0"}));
}

}  // namespace
}  // namespace tav
