// Runs one console program as a child process whose standard input, output
// and error are pipes. Two reader threads deliver what the child writes and
// a watch thread reports its end, through four notifications a subclass
// overrides:
//   OnChildStarted     on the thread that started the child;
//   OnChildStdOutWrite on the output reader, one line at a time (and on the
//                      starting thread for the launch failure text);
//   OnChildStdErrWrite on the error reader, one chunk at a time;
//   OnChildTerminate   on the watch thread, once the child has ended (about
//                      a second after, so the readers can drain the pipes).
// The worker loops share one process-wide run flag, so one child runs at a
// time. A subclass's destructor calls ShutdownChildProcess first, so that no
// worker calls into a half-destroyed object.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tav/platform/String.h"
#include "tav/platform/Window.h"

namespace tav {

using HINSTANCE = void*;

class CTavProcessRedirect {
 public:
  CTavProcessRedirect();
  virtual ~CTavProcessRedirect();
  CTavProcessRedirect(const CTavProcessRedirect&) = delete;
  CTavProcessRedirect& operator=(const CTavProcessRedirect&) = delete;

  // Starts the command line (split at blanks) in the working directory; 1
  // when the child runs, 0 after the "Unable to start" text when it does not.
  // `showWindow` has no meaning here.
  int StartChildProcess(const char* commandLine, int showWindow);
  // 1 while the child's output is being read.
  int IsChildRunning() const;
  // Stops the run: closes the pipes, waits up to a second for each reader,
  // kills the child's process group when it still runs and reaps it. Safe to
  // call twice, and from the watch thread while the owner calls it too.
  void TerminateChildProcess();
  void WriteChildStdIn(const char* text);

  // The directory children start in (the current one when empty).
  void SetWorkingDirectory(const CString& directory) { m_strDirectory = directory; }
  // The last child's exit code: its own when it exited, 1 when the teardown
  // killed it, 128 + the signal when something else did; -1 before any end.
  int GetChildExitCode() const { return m_nExitCode.load(); }

  // Sends text to a window as WM_COPYDATA; 0 when it is not a window.
  static LRESULT CopyData(HWND target, unsigned long kind, HWND from, const void* data, unsigned long size);
  // The path without its last component (and without a trailing "/").
  static void GetDirectoryName(CString& result, const CString& path);
  // The last component of the path.
  static void GetFileName(CString& result, const CString& path);
  // A bare program name resolved beside the running program; a command with
  // a directory unchanged.
  static void GetCommandLineA(HINSTANCE module, CString& result, const char* command);
  // Appends the non-empty lines of `text` (cut at CR and LF) to `lines`.
  static void SeperateStr(CString& text, CStringArray& lines);

 protected:
  // The events of one run (the stop event, the readers' stop, the child's
  // end), shared with the workers so that none polls a closed descriptor.
  struct RunEvents {
    int stop = -1;
    int readerStop = -1;
    int childEnd = -1;
    RunEvents();
    ~RunEvents();
    RunEvents(const RunEvents&) = delete;
    RunEvents& operator=(const RunEvents&) = delete;
  };

  virtual void OnChildStarted(const char* /*commandLine*/) {}
  virtual void OnChildStdOutWrite(const char* /*text*/) {}
  virtual void OnChildStdErrWrite(const char* /*text*/) {}
  virtual void OnChildTerminate() {}

  // Refuses further starts, tears the run down and waits for every worker.
  void ShutdownChildProcess();
  // Returns the child's process id, or -1.
  pid_t PrepAndLaunchRedirectedChild(const char* commandLine, int out, int in, int err, int showWindow);
  int StdOutThread(int fd, const std::shared_ptr<RunEvents>& events);
  int StdErrThread(int fd, const std::shared_ptr<RunEvents>& events);
  int ProcessThread(pid_t child, const std::shared_ptr<RunEvents>& events);

  std::shared_ptr<RunEvents> m_hStopEvent;
  int m_hChildStdInRead = -1;
  int m_hChildStdOutWrite = -1;
  int m_hChildStdErrWrite = -1;
  int m_hStdInWrite = -1;
  int m_hStdOutRead = -1;
  int m_hStdErrRead = -1;
  std::thread m_hStdOutThread;
  std::thread m_hStdErrThread;
  std::thread m_hProcessThread;
  std::atomic<pid_t> m_hChildProcess{-1};
  std::atomic<int> m_bRunning{1};
  static std::atomic<int> m_bRunThread;

 private:
  // Waits up to a second for a reader to finish on its own.
  bool WaitReaderDone(const std::atomic<bool>& done);
  void ReaderFinished(std::atomic<bool>& done);
  void RetireThread(std::thread& thread);

  CString m_strDirectory;
  std::atomic<bool> m_bStdOutDone{true};
  std::atomic<bool> m_bStdErrDone{true};
  std::atomic<bool> m_bClosing{false};
  std::atomic<int> m_nExitCode{-1};
  std::recursive_mutex m_teardown;
  std::mutex m_doneMutex;
  std::condition_variable m_doneChanged;
  std::mutex m_retiredMutex;
  std::vector<std::thread> m_retired;  // joined by ShutdownChildProcess
};

}  // namespace tav
