#include "console/ConsoleFrontEnd.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "tav/platform/Process.h"

namespace tav::console {
namespace {

// Ctrl-C reaches the watcher through a pipe: a signal handler may only write.
int g_interruptPipe[2] = {-1, -1};
struct sigaction g_previous {};

void OnInterrupt(int /*signal*/) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_interruptPipe[1], &byte, 1);
}

}  // namespace

ConsoleFrontEnd::ConsoleFrontEnd(std::ostream& out, std::ostream& messages, bool color)
    : m_out(out), m_messages(messages), m_bColor(color) {}

ConsoleFrontEnd::~ConsoleFrontEnd() { StopWatchingInterrupts(); }

void ConsoleFrontEnd::OnLineInserted(int /*index*/, const CString& text) {
  if (m_bColor) {
    m_out << "\033[32m" << text << "\033[0m\n";
  } else {
    m_out << text << '\n';
  }
  m_out.flush();
}

int ConsoleFrontEnd::OnMessageBox(const CString& text, unsigned type) {
  m_messages << text << '\n';
  m_messages.flush();
  return (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
}

void ConsoleFrontEnd::OnShown(CTavSolverMsgDlg& dialog, bool shown) {
  if (shown) {
    StartWatchingInterrupts(dialog);
  } else {
    StopWatchingInterrupts();
  }
}

void ConsoleFrontEnd::OnRunFinished(CTavSolverMsgDlg& dialog) { dialog.PressButton(IDOK); }

void ConsoleFrontEnd::StartWatchingInterrupts(CTavSolverMsgDlg& dialog) {
  if (m_watcher.joinable() || ::pipe2(g_interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_nStop = process::MakeEvent();
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &g_previous);
  const HWND window = dialog.GetSafeHwnd();
  const int interrupts = g_interruptPipe[0];
  const int stop = m_nStop;
  m_bStopping = false;
  m_watcher = std::thread([this, window, interrupts, stop] {
    if ((process::WaitReadable(interrupts, stop, -1) & 1) != 0) {
      m_bStopping = true;
      m_bInterrupted = true;
      PostMessage(window, WM_CLOSE, 0, 0);  // the dialog closes, and its run stops with it
    }
  });
}

void ConsoleFrontEnd::StopWatchingInterrupts() {
  if (!m_watcher.joinable()) return;
  process::SignalEvent(m_nStop);
  m_watcher.join();
  ::sigaction(SIGINT, &g_previous, nullptr);
  process::CloseFd(m_nStop);
  process::CloseFd(g_interruptPipe[0]);
  process::CloseFd(g_interruptPipe[1]);
  // Said here, on the dialog's thread, which writes every other message.
  if (m_bStopping) {
    m_messages << "Interrupted: stopping the solver.\n";
    m_messages.flush();
  }
}

}  // namespace tav::console
