#include "tav/solver/TavProcessRedirect.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <system_error>

#include "tav/platform/Format.h"
#include "tav/platform/Process.h"

namespace tav {
namespace {

constexpr size_t kReadSize = 10240;
constexpr int kWaitMilliseconds = 1000;
// How long the pipes may stay open once the child has exited. A program the
// child left running in the background inherited its output and may hold it
// for ever; such a run ends after this grace instead of never.
constexpr int kGraceMilliseconds = 200;

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

namespace {

// The object whose worker the calling thread is, if any.
thread_local const CTavProcessRedirect* t_workerOf = nullptr;

}  // namespace

CTavProcessRedirect::ChildRun::ChildRun()
    : hStopEvent(process::MakeEvent()), hReaderStop(process::MakeEvent()), hDrained(process::MakeEvent()) {}

CTavProcessRedirect::ChildRun::~ChildRun() {
  CloseKeptEnds();
  process::CloseFd(hStopEvent);
  process::CloseFd(hReaderStop);
  process::CloseFd(hDrained);
  process::CloseFd(hChildEnd);
}

bool CTavProcessRedirect::ChildRun::MakePipes(int& stdOutRead, int& stdErrRead) {
  return hStopEvent >= 0 && hReaderStop >= 0 && hDrained >= 0 && process::MakePipe(hChildStdInRead, hStdInWrite) &&
         process::MakePipe(stdOutRead, hChildStdOutWrite) && process::MakePipe(stdErrRead, hChildStdErrWrite);
}

void CTavProcessRedirect::ChildRun::CloseKeptEnds() {
  // The input's write end goes first, once no write is under way: while it
  // is open the kept read end is too, so a write never finds the pipe
  // broken (which would raise SIGPIPE in the host).
  {
    std::lock_guard lock(inputMutex);
    process::CloseFd(hStdInWrite);
  }
  process::CloseFd(hChildStdInRead);
  CloseOutputEnds();
}

void CTavProcessRedirect::ChildRun::CloseOutputEnds() {
  process::CloseFd(hChildStdOutWrite);
  process::CloseFd(hChildStdErrWrite);
}

void CTavProcessRedirect::ChildRun::ReaderFinished(bool& done) {
  {
    std::lock_guard lock(doneMutex);
    done = true;
    if (bStdOutDone && bStdErrDone) process::SignalEvent(hDrained);
  }
  doneChanged.notify_all();
}

bool CTavProcessRedirect::ChildRun::WaitReaderDone(const bool& done) {
  std::unique_lock lock(doneMutex);
  return doneChanged.wait_for(lock, std::chrono::milliseconds(kWaitMilliseconds), [&done] { return done; });
}

CTavProcessRedirect::CTavProcessRedirect() { m_bRunThread = 0; }

CTavProcessRedirect::~CTavProcessRedirect() { ShutdownChildProcess(); }

bool CTavProcessRedirect::OnWorkerThread() const { return t_workerOf == this; }

void CTavProcessRedirect::SetWorkingDirectory(const CString& directory) {
  std::lock_guard lock(m_mutex);
  m_strDirectory = directory;
}

void CTavProcessRedirect::ShutdownChildProcess() {
  {
    std::lock_guard lock(m_mutex);
    m_bClosing = true;
  }
  // With starts refused, the runs left end for good. Even a worker calling
  // this (the object goes from within a notification) waits for the others.
  for (;;) {
    TearDownRun();
    JoinRetired(true);
    std::unique_lock lock(m_mutex);
    WaitTornDown(lock);
    if (!m_pRun && m_retired.empty()) return;
  }
}

void CTavProcessRedirect::WaitTornDown(std::unique_lock<std::mutex>& lock) {
  m_tornDown.wait(lock, [this] { return m_nTearingDown == 0; });
}

std::unique_lock<std::mutex> CTavProcessRedirect::StopEveryRun() {
  const bool worker = OnWorkerThread();
  for (;;) {
    // The host also waits for the workers, whose last notifications may
    // start another child: that one is stopped in the next round.
    TearDownRun();
    if (!worker) JoinRetired(false);
    std::unique_lock lock(m_mutex);
    WaitTornDown(lock);
    if (!m_pRun && (worker || m_retired.empty())) return lock;
  }
}

void CTavProcessRedirect::StopAllRuns() { StopEveryRun(); }

void CTavProcessRedirect::JoinRetired(bool detachOwn) {
  const std::thread::id self = std::this_thread::get_id();
  for (;;) {
    std::vector<std::jthread> taken;
    {
      std::lock_guard lock(m_mutex);
      std::vector<std::jthread> kept;
      for (std::jthread& thread : m_retired) {
        if (thread.get_id() == self && !detachOwn) {
          kept.push_back(std::move(thread));  // a thread cannot wait for itself
        } else {
          taken.push_back(std::move(thread));
        }
      }
      m_retired = std::move(kept);
    }
    if (taken.empty()) return;
    for (std::jthread& thread : taken) {
      if (thread.get_id() == self) {
        thread.detach();  // the caller is that thread: it ends on its own
      } else if (thread.joinable()) {
        thread.join();
      }
    }
  }
}

void CTavProcessRedirect::RetireLocked(std::jthread& thread) {
  if (thread.joinable()) m_retired.push_back(std::move(thread));
}

void CTavProcessRedirect::ReportStartFailure(const char* commandLine) {
  CString text = Format("Unable to start %s\n", commandLine);
  if (text.size() > kReadSize - 1) text.resize(kReadSize - 1);
  OnChildStdOutWrite(text.c_str());
}

int CTavProcessRedirect::StartChildProcess(const char* commandLine, int showWindow) {
  const CString command = commandLine != nullptr ? commandLine : "";
  std::unique_lock lock = StopEveryRun();
  if (m_bClosing) return 0;

  auto run = std::make_shared<ChildRun>();
  int stdOutRead = -1;
  int stdErrRead = -1;
  const bool piped = run->MakePipes(stdOutRead, stdErrRead);
  const pid_t child = piped ? PrepAndLaunchRedirectedChild(command.c_str(), run->hChildStdOutWrite,
                                                           run->hChildStdInRead, run->hChildStdErrWrite, showWindow)
                            : -1;
  if (child < 0) {
    process::CloseFd(stdOutRead);
    process::CloseFd(stdErrRead);
    run.reset();
    lock.unlock();
    ReportStartFailure(command.c_str());
    return 0;
  }
  // The child has its own copies: with the parent's closed, the readers see
  // the end of the output once the child and whatever it started are done.
  run->CloseOutputEnds();
  run->hChildProcess = child;
  run->hChildEnd = process::OpenProcessEvent(child);
  process::SetNonBlocking(run->hStdInWrite);  // a full pipe must not hold up a stop

  m_bRunThread = 1;
  m_nExitCode = -1;
  m_pRun = run;
  if (!StartWorkers(run, stdOutRead, stdErrRead)) {
    // Out of threads: undo the start, so that the child does not run unseen.
    run->announced.count_down();
    lock.unlock();
    TerminateChildProcess();
    ReportStartFailure(command.c_str());
    return 0;
  }
  lock.unlock();

  struct Announce {
    ChildRun& run;
    ~Announce() { run.announced.count_down(); }
  } announce{*run};
  OnChildStarted(command.c_str());
  return 1;
}

// The slots are empty here (StopEveryRun retired them); retiring again
// keeps a running thread from ever being assigned over.
bool CTavProcessRedirect::StartWorkers(const std::shared_ptr<ChildRun>& run, int stdOutRead, int stdErrRead) {
  RetireLocked(m_hStdOutThread);
  RetireLocked(m_hStdErrThread);
  RetireLocked(m_hProcessThread);
  try {
    // Each reader owns its read end and closes it when it ends.
    m_hStdOutThread = std::jthread([this, run, fd = stdOutRead] {
      t_workerOf = this;
      StdOutThread(fd, run);
    });
    stdOutRead = -1;
    m_hStdErrThread = std::jthread([this, run, fd = stdErrRead] {
      t_workerOf = this;
      StdErrThread(fd, run);
    });
    stdErrRead = -1;
    m_hProcessThread = std::jthread([this, run] {
      t_workerOf = this;
      ProcessThread(run);
    });
    return true;
  } catch (const std::system_error&) {
    process::CloseFd(stdOutRead);
    process::CloseFd(stdErrRead);
    return false;
  }
}

pid_t CTavProcessRedirect::PrepAndLaunchRedirectedChild(const char* commandLine, int out, int in, int err,
                                                        int /*showWindow*/) {
  return process::Spawn(process::SplitCommandLine(commandLine), in, out, err, m_strDirectory, nullptr);
}

int CTavProcessRedirect::StdOutThread(int fd, const std::shared_ptr<ChildRun>& run) {
  run->announced.wait();
  std::vector<char> buffer(kReadSize + 1, '\0');
  bool naturalEnd = true;
  if (m_bRunThread != 0) {
    do {
      const int ready = process::WaitReadable(fd, run->hReaderStop, -1);
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
  if (naturalEnd) run->bRunning = 0;
  ::close(fd);
  run->ReaderFinished(run->bStdOutDone);
  return 0;
}

int CTavProcessRedirect::StdErrThread(int fd, const std::shared_ptr<ChildRun>& run) {
  run->announced.wait();
  std::vector<char> buffer(kReadSize + 1, '\0');
  if (m_bRunThread != 0) {
    do {
      const int ready = process::WaitReadable(fd, run->hReaderStop, -1);
      if ((ready & 2) != 0) break;
      const ssize_t n = ::read(fd, buffer.data(), kReadSize);
      if (n == 0) break;
      if (n < 0) continue;
      buffer[static_cast<size_t>(n)] = '\0';
      OnChildStdErrWrite(buffer.data());
    } while (m_bRunThread != 0);
  }
  ::close(fd);
  run->ReaderFinished(run->bStdErrDone);
  return 0;
}

int CTavProcessRedirect::ProcessThread(const std::shared_ptr<ChildRun>& run) {
  run->announced.wait();
  int stop = run->hStopEvent;
  while (m_bRunThread != 0) {
    int ended = 0;
    if (run->hChildEnd >= 0) {
      ended = process::WaitReadable(run->hChildEnd, stop, kWaitMilliseconds);
    } else {
      // No process descriptor here: look every 50 ms instead.
      ended = process::HasEnded(run->hChildProcess) ? 1 : process::WaitReadable(-1, stop, 50) & 2;
    }
    if ((ended & 1) != 0) {
      if (stop >= 0) WaitDrained(*run, stop);
      m_bRunThread = 0;
      break;
    }
    if ((ended & 2) != 0) stop = -1;  // seen once; only the run flag ends the loop
  }
  // Nothing of the object is touched after this: the notification may start
  // the next child, or even destroy the object.
  OnChildTerminate();
  return 0;
}

void CTavProcessRedirect::WaitDrained(ChildRun& run, int stop) {
  if (process::WaitReadable(run.hDrained, stop, kGraceMilliseconds) != 0) return;
  // Something the child started holds a pipe: the readers give up, and the
  // end is reported only after their last line.
  process::SignalEvent(run.hReaderStop);
  process::WaitReadable(run.hDrained, stop, -1);
}

void CTavProcessRedirect::TearDownRun() {
  std::shared_ptr<ChildRun> run;
  std::jthread stdOutThread;
  std::jthread stdErrThread;
  {
    std::lock_guard lock(m_mutex);
    run = std::move(m_pRun);
    if (!run) return;
    ++m_nTearingDown;
    // 2. The watch thread is let go; it is joined later, as it may be the
    // caller or about to call in here.
    RetireLocked(m_hProcessThread);
    stdOutThread = std::move(m_hStdOutThread);
    stdErrThread = std::move(m_hStdErrThread);
  }
  // 1. Stop the watch thread's wait.
  process::SignalEvent(run->hStopEvent);
  // 3. Close the input ends the library kept (the output ends went when the
  // child started). Each reader closes its own end.
  run->CloseKeptEnds();
  // 4. Wait up to a second for each reader; readers still waiting on a live
  // child are told to give up. A reader cannot wait for itself.
  const std::thread::id self = std::this_thread::get_id();
  if (stdOutThread.get_id() == self || stdErrThread.get_id() == self) {
    process::SignalEvent(run->hReaderStop);
    std::lock_guard lock(m_mutex);
    RetireLocked(stdOutThread);
    RetireLocked(stdErrThread);
  } else {
    const bool outDone = run->WaitReaderDone(run->bStdOutDone);
    const bool errDone = run->WaitReaderDone(run->bStdErrDone);
    if (!outDone || !errDone) process::SignalEvent(run->hReaderStop);
    if (stdOutThread.joinable()) stdOutThread.join();
    if (stdErrThread.joinable()) stdErrThread.join();
  }
  // 5. A child still running is killed, with its process group; 6. it is
  // reaped, so none is left behind as a zombie.
  const pid_t child = run->hChildProcess;
  bool killed = false;
  if (run->bRunning != 0 || !process::HasEnded(child)) {
    ::kill(-child, SIGKILL);
    ::kill(child, SIGKILL);
    killed = true;
  }
  const int status = process::Reap(child);
  m_nExitCode = killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 1 : ExitCodeOf(status);
  // 7. The events close when the last worker lets the run go; 8. the loops
  // stop.
  m_bRunThread = 0;
  {
    std::lock_guard lock(m_mutex);
    --m_nTearingDown;
  }
  m_tornDown.notify_all();
}

void CTavProcessRedirect::TerminateChildProcess() {
  TearDownRun();
  // The host waits until the run's notifications are over; a worker cannot
  // wait for the others (they may be waiting for it).
  if (OnWorkerThread()) return;
  JoinRetired(false);
  std::unique_lock lock(m_mutex);
  WaitTornDown(lock);
}

int CTavProcessRedirect::IsChildRunning() const {
  std::lock_guard lock(m_mutex);
  return m_pRun ? m_pRun->bRunning.load() : 0;
}

void CTavProcessRedirect::WriteChildStdIn(const char* text) {
  if (text == nullptr || *text == '\0') return;
  std::shared_ptr<ChildRun> run;
  {
    std::lock_guard lock(m_mutex);
    run = m_pRun;
  }
  if (!run) return;
  std::lock_guard lock(run->inputMutex);
  if (run->hStdInWrite >= 0) process::WriteAll(run->hStdInWrite, text, std::strlen(text), run->hStopEvent);
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
