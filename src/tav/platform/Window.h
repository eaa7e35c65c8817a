// A small window layer for the Run Solver dialog: handles, messages that
// cross threads, a modal loop and a dialog base. A window belongs to the
// thread that creates it; SendMessage from another thread queues the message
// and waits until that thread has handled it (or the window is destroyed,
// which answers 0), PostMessage queues it and returns. Nothing here polls:
// the loops sleep on condition variables.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "tav/platform/String.h"

namespace tav {

struct HWND__;
// An opaque window handle; handles are never reused.
using HWND = HWND__*;
using UINT = unsigned;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_USER = 0x0400;
// The command of a dialog's cancel path; the Escape key sends it.
inline constexpr int IDCANCEL = 2;

// The record of a WM_COPYDATA message (lParam points at it).
struct COPYDATASTRUCT {
  uintptr_t dwData = 0;
  uint32_t cbData = 0;
  const void* lpData = nullptr;
};

// Sends and waits for the result (0 when `window` is not a window or is
// destroyed before it handles the message).
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues the message; false when `window` is not a window.
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool IsWindow(HWND window);

// A window: a handle bound to the creating thread and a message queue that
// the thread works off in RunModalLoop or PumpMessages. Destroying the window
// (or the object) answers every message still waiting with 0.
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Registers the window for the calling thread; false when it exists.
  bool CreateWindowHandle();
  void DestroyWindow();
  HWND GetSafeHwnd() const { return m_hWnd.load(); }
  // True on the thread the window belongs to.
  bool IsOwnThread() const { return m_thread == std::this_thread::get_id(); }

  // Handles messages until EndModalLoop; returns its result.
  int RunModalLoop();
  void EndModalLoop(int result);
  // Handles the messages already queued (for a modeless window).
  void PumpMessages();

  // Handles one message on the window's thread.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend LRESULT SendMessage(HWND, UINT, WPARAM, LPARAM);
  friend bool PostMessage(HWND, UINT, WPARAM, LPARAM);

  struct Queued {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::shared_ptr<std::promise<LRESULT>> reply;  // null for a posted message
  };
  // Takes a message from another thread; false once the window is gone.
  bool Enqueue(Queued item);
  void Dispatch(Queued& item);

  std::atomic<HWND> m_hWnd{nullptr};
  std::thread::id m_thread;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<Queued> m_queue;
  bool m_bModal = false;
  int m_nModalResult = 0;
};

// A dialog: DoModal runs OnInitDialog, shows it, handles messages until
// EndDialog, hides and destroys it. The close box (WM_CLOSE) and the Escape
// key (WM_COMMAND with IDCANCEL) take the cancel path.
class CDialog : public CWnd {
 public:
  int DoModal();
  void EndDialog(int result) { EndModalLoop(result); }
  bool IsShown() const { return m_bShown; }

 protected:
  virtual int OnInitDialog() { return 1; }
  virtual void OnOK() { EndDialog(1); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Called with the new state when the dialog is shown or hidden.
  virtual void OnShowWindow(bool show, unsigned status);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ShowWindow(bool show);

 private:
  bool m_bShown = false;
};

}  // namespace tav
