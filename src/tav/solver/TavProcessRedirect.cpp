#include "tav/solver/TavProcessRedirect.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <utility>

#include "tav/platform/Format.h"
#include "tav/platform/Process.h"

namespace tav {
namespace {

constexpr size_t kReadSize = 10240;
constexpr int kWaitMilliseconds = 1000;

// Cuts `text` at CR and LF and hands each non-empty piece to `deliver`.
template <typename Deliver>
void ForEachLine(char* text, Deliver deliver) {
  char* state = nullptr;
  for (char* token = strtok_r(text, "\r\n", &state); token != nullptr; token = strtok_r(nullptr, "\r\n", &state)) {
    deliver(token);
  }
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::atomic<int> CTavProcessRedirect::m_bRunThread{0};

CTavProcessRedirect::RunEvents::RunEvents() : stop(process::MakeEvent()), readerStop(process::MakeEvent()) {}

CTavProcessRedirect::RunEvents::~RunEvents() {
  process::CloseFd(stop);
  process::CloseFd(readerStop);
  process::CloseFd(childEnd);
}

CTavProcessRedirect::CTavProcessRedirect() { m_bRunThread = 0; }

CTavProcessRedirect::~CTavProcessRedirect() { ShutdownChildProcess(); }

void CTavProcessRedirect::ShutdownChildProcess() {
  m_bClosing = true;
  TerminateChildProcess();
  for (;;) {
    std::vector<std::thread> retired;
    {
      std::lock_guard lock(m_retiredMutex);
      retired.swap(m_retired);
    }
    if (retired.empty()) break;
    for (std::thread& thread : retired) {
      if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();  // the caller is that thread: it ends on its own
      } else if (thread.joinable()) {
        thread.join();
      }
    }
  }
}

int CTavProcessRedirect::StartChildProcess(const char* commandLine, int showWindow) {
  std::lock_guard lock(m_teardown);
  if (m_bClosing) return 0;
  int stdInWrite = -1;
  int stdOutRead = -1;
  int stdErrRead = -1;
  process::MakePipe(m_hChildStdInRead, stdInWrite);
  process::MakePipe(stdOutRead, m_hChildStdOutWrite);
  process::MakePipe(stdErrRead, m_hChildStdErrWrite);
  m_hStdInWrite = stdInWrite;
  m_hStdOutRead = stdOutRead;
  m_hStdErrRead = stdErrRead;

  m_hChildProcess = PrepAndLaunchRedirectedChild(commandLine, m_hChildStdOutWrite, m_hChildStdInRead,
                                                 m_hChildStdErrWrite, showWindow);
  if (m_hChildProcess < 0) {
    CString text = Format("Unable to start %s\n", commandLine);
    if (text.size() > kReadSize - 1) text.resize(kReadSize - 1);
    OnChildStdOutWrite(text.c_str());
    process::CloseFd(m_hChildStdInRead);
    process::CloseFd(m_hChildStdOutWrite);
    process::CloseFd(m_hChildStdErrWrite);
    return 0;
  }

  m_bRunThread = 1;
  m_bRunning = 1;
  m_nExitCode = -1;
  auto events = std::make_shared<RunEvents>();
  events->childEnd = process::OpenProcessEvent(m_hChildProcess);
  m_hStopEvent = events;
  m_bStdOutDone = false;
  m_bStdErrDone = false;
  // Each reader owns its read end and closes it when it ends.
  const int outFd = std::exchange(m_hStdOutRead, -1);
  const int errFd = std::exchange(m_hStdErrRead, -1);
  const pid_t child = m_hChildProcess;
  m_hStdOutThread = std::thread([this, outFd, events] { StdOutThread(outFd, events); });
  m_hStdErrThread = std::thread([this, errFd, events] { StdErrThread(errFd, events); });
  m_hProcessThread = std::thread([this, child, events] { ProcessThread(child, events); });
  OnChildStarted(commandLine);
  return 1;
}

pid_t CTavProcessRedirect::PrepAndLaunchRedirectedChild(const char* commandLine, int out, int in, int err,
                                                        int /*showWindow*/) {
  return process::Spawn(process::SplitCommandLine(commandLine), in, out, err, m_strDirectory, nullptr);
}

void CTavProcessRedirect::ReaderFinished(std::atomic<bool>& done) {
  {
    std::lock_guard lock(m_doneMutex);
    done = true;
  }
  m_doneChanged.notify_all();
}

int CTavProcessRedirect::StdOutThread(int fd, const std::shared_ptr<RunEvents>& events) {
  std::vector<char> buffer(kReadSize + 1, '\0');
  bool naturalEnd = true;
  if (m_bRunThread != 0) {
    do {
      const int ready = process::WaitReadable(fd, events->readerStop, -1);
      if ((ready & 2) != 0) {
        naturalEnd = false;  // the teardown stopped waiting for this child
        break;
      }
      const ssize_t n = ::read(fd, buffer.data(), kReadSize);
      if (n == 0) break;  // every writer is gone: the pipe is broken
      if (n < 0) continue;
      for (ssize_t i = 0; i + 1 < n; ++i) {
        if (buffer[static_cast<size_t>(i)] == '\0') buffer[static_cast<size_t>(i)] = ' ';
      }
      buffer[static_cast<size_t>(n)] = '\0';
      ForEachLine(buffer.data(), [this](const char* line) { OnChildStdOutWrite(line); });
    } while (m_bRunThread != 0);
  }
  if (naturalEnd) m_bRunning = 0;
  ::close(fd);
  ReaderFinished(m_bStdOutDone);
  return 0;
}

int CTavProcessRedirect::StdErrThread(int fd, const std::shared_ptr<RunEvents>& events) {
  std::vector<char> buffer(kReadSize + 1, '\0');
  if (m_bRunThread != 0) {
    do {
      const int ready = process::WaitReadable(fd, events->readerStop, -1);
      if ((ready & 2) != 0) break;
      const ssize_t n = ::read(fd, buffer.data(), kReadSize);
      if (n == 0) break;
      if (n < 0) continue;
      buffer[static_cast<size_t>(n)] = '\0';
      OnChildStdErrWrite(buffer.data());
    } while (m_bRunThread != 0);
  }
  ::close(fd);
  ReaderFinished(m_bStdErrDone);
  return 0;
}

int CTavProcessRedirect::ProcessThread(pid_t child, const std::shared_ptr<RunEvents>& events) {
  int stop = events->stop;
  while (m_bRunThread != 0) {
    int ended = 0;
    if (events->childEnd >= 0) {
      ended = process::WaitReadable(events->childEnd, stop, kWaitMilliseconds);
    } else {
      // No process descriptor here: look every 50 ms instead.
      ended = process::HasEnded(child) ? 1 : process::WaitReadable(-1, stop, 50) & 2;
    }
    if ((ended & 1) != 0) {
      // Let the readers drain the pipes, unless the run is being stopped.
      if (stop >= 0) process::WaitReadable(-1, stop, kWaitMilliseconds);
      m_bRunThread = 0;
      break;
    }
    if ((ended & 2) != 0) stop = -1;  // seen once; only the run flag ends the loop
  }
  OnChildTerminate();
  return 0;
}

bool CTavProcessRedirect::WaitReaderDone(const std::atomic<bool>& done) {
  std::unique_lock lock(m_doneMutex);
  return m_doneChanged.wait_for(lock, std::chrono::milliseconds(kWaitMilliseconds), [&done] { return done.load(); });
}

void CTavProcessRedirect::RetireThread(std::thread& thread) {
  if (!thread.joinable()) return;
  std::lock_guard lock(m_retiredMutex);
  m_retired.push_back(std::move(thread));
}

void CTavProcessRedirect::TerminateChildProcess() {
  std::lock_guard lock(m_teardown);
  const std::shared_ptr<RunEvents> events = std::move(m_hStopEvent);
  // 1. Stop the watch thread's wait; 2. let it go (it is joined later: it
  // may be the caller, or about to call us).
  if (events) process::SignalEvent(events->stop);
  RetireThread(m_hProcessThread);
  // 3. Close the child-side ends the library kept: once the child is gone
  // the pipes break and the readers end. Each reader closes its own end.
  process::CloseFd(m_hChildStdInRead);
  process::CloseFd(m_hChildStdOutWrite);
  process::CloseFd(m_hChildStdErrWrite);
  process::CloseFd(m_hStdInWrite);
  process::CloseFd(m_hStdOutRead);
  process::CloseFd(m_hStdErrRead);
  // 4. Wait up to a second for each reader; readers still waiting on a live
  // child are told to give up.
  const auto self = std::this_thread::get_id();
  const bool onReader = m_hStdOutThread.get_id() == self || m_hStdErrThread.get_id() == self;
  if (m_hStdOutThread.joinable() && !onReader) {
    const bool outDone = WaitReaderDone(m_bStdOutDone);
    const bool errDone = WaitReaderDone(m_bStdErrDone);
    if ((!outDone || !errDone) && events) process::SignalEvent(events->readerStop);
    m_hStdOutThread.join();
    m_hStdErrThread.join();
  } else {
    if (onReader && events) process::SignalEvent(events->readerStop);
    RetireThread(m_hStdOutThread);
    RetireThread(m_hStdErrThread);
  }
  // 5. A child still running is killed, with its process group; 6. it is
  // reaped, so none is left behind as a zombie.
  const pid_t child = m_hChildProcess.exchange(-1);
  if (child > 0) {
    bool killed = false;
    if (m_bRunning != 0 || !process::HasEnded(child)) {
      ::kill(-child, SIGKILL);
      ::kill(child, SIGKILL);
      killed = true;
    }
    const int status = process::Reap(child);
    m_nExitCode = killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 1 : ExitCodeOf(status);
  }
  // 7. The events close when the last worker lets them go; 8. the loops stop.
  m_bRunThread = 0;
}

int CTavProcessRedirect::IsChildRunning() const { return m_hChildProcess > 0 ? m_bRunning.load() : 0; }

void CTavProcessRedirect::WriteChildStdIn(const char* text) {
  if (m_hStdInWrite < 0 || text == nullptr || *text == '\0') return;
  [[maybe_unused]] const ssize_t written = ::write(m_hStdInWrite, text, std::strlen(text));
}

LRESULT CTavProcessRedirect::CopyData(HWND target, unsigned long kind, HWND from, const void* data,
                                      unsigned long size) {
  if (!IsWindow(target)) return 0;
  COPYDATASTRUCT record;
  record.dwData = kind;
  record.cbData = static_cast<uint32_t>(size);
  record.lpData = data;
  return SendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&record));
}

void CTavProcessRedirect::GetDirectoryName(CString& result, const CString& path) {
  const size_t slash = path.rfind('/');
  result = slash == CString::npos ? CString() : path.substr(0, slash + 1);
  if (!result.empty() && result.back() == '/') result.pop_back();
}

void CTavProcessRedirect::GetFileName(CString& result, const CString& path) {
  const size_t slash = path.rfind('/');
  result = slash == CString::npos ? path : path.substr(slash + 1);
}

void CTavProcessRedirect::GetCommandLineA(HINSTANCE /*module*/, CString& result, const char* command) {
  result = command;
  CString directory;
  GetDirectoryName(directory, result);
  if (!directory.empty()) return;
  const CString self = process::ProgramPath();
  if (self.empty()) return;
  CString moduleDirectory;
  GetDirectoryName(moduleDirectory, self);
  CString name;
  GetFileName(name, command);
  result = moduleDirectory + "/" + name;
}

void CTavProcessRedirect::SeperateStr(CString& text, CStringArray& lines) {
  CString copy = text;
  ForEachLine(copy.data(), [&lines](const char* line) { lines.emplace_back(line); });
}

}  // namespace tav
