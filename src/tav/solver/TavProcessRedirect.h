// Runs one console program as a child process whose standard input, output
// and error are pipes. Two reader threads deliver what the child writes and
// a watch thread reports its end, through four notifications a subclass
// overrides:
//   OnChildStarted     on the thread that started the child, before any
//                      other notification of that child;
//   OnChildStdOutWrite on the output reader, one line at a time (and on the
//                      starting thread for the launch failure text);
//   OnChildStdErrWrite on the error reader, one chunk at a time;
//   OnChildTerminate   on the watch thread, after the last line, once the
//                      child has exited and both pipes are drained (200 ms
//                      after its exit at most, when something it started
//                      still holds a pipe) or its run was stopped; exactly
//                      once per started child.
// The worker loops share one process-wide run flag, so one child runs at a
// time. A subclass's destructor calls ShutdownChildProcess first, so that no
// worker calls into a half-destroyed object.
//
// Runs repeat. Starting a child while the previous one still runs, or
// before its end has been reported, first stops that child (its process
// group is killed and it is reaped) and waits until every notification of
// it is over; then the new child starts. No notification of one run ever
// comes after the next run has started.
//
// Threads: StartChildProcess and TerminateChildProcess are called by the
// host (one thread at a time) or from OnChildTerminate; the output
// notifications call neither. A host thread must not be one that the output
// notifications wait for (a window thread they send to), or the wait for
// them would never end.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <latch>
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
  // A previous child is stopped and reaped first, whatever state it is in.
  // `showWindow` has no meaning here.
  int StartChildProcess(const char* commandLine, int showWindow);
  // 1 while the child's output is being read.
  int IsChildRunning() const;
  // Stops the run: closes the pipes, waits up to a second for each reader,
  // kills the child's process group when it still runs and reaps it. Called
  // by the host, it returns once the run's notifications are over (a child
  // that OnChildTerminate starts runs on). Safe to call twice, when idle,
  // and from OnChildTerminate while the host calls it too.
  void TerminateChildProcess();
  // Hands text to the child's standard input; does nothing when no child
  // runs, and gives up when the run is stopped while the pipe is full.
  void WriteChildStdIn(const char* text);

  // The directory children start in (the current one when empty).
  void SetWorkingDirectory(const CString& directory);
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
  // One child and everything its workers share. The workers hold it, so a
  // worker touches only its own run, never the one that follows.
  struct ChildRun {
    ChildRun();
    ~ChildRun();
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;

    // Makes the three pipes, handing out the parent's read ends; false when
    // any of them or the events could not be made.
    bool MakePipes(int& stdOutRead, int& stdErrRead);
    // Closes the child-side ends kept open and the input pipe.
    void CloseKeptEnds();
    // Closes the parent's copies of the child's output ends.
    void CloseOutputEnds();
    void ReaderFinished(bool& done);
    // Waits up to a second for a reader to finish on its own.
    bool WaitReaderDone(const bool& done);

    pid_t hChildProcess = -1;
    int hStopEvent = -1;   // the run is being stopped
    int hReaderStop = -1;  // the readers give up on a child still running
    int hChildEnd = -1;    // readable once the child has ended; -1 where the system has none
    int hDrained = -1;     // readable once both readers have finished
    // The child-side pipe ends. The output ends close once the child has
    // started; the input's read end stays open until the run is stopped, so
    // that input written after the child's exit never raises SIGPIPE.
    int hChildStdInRead = -1;
    int hChildStdOutWrite = -1;
    int hChildStdErrWrite = -1;
    std::mutex inputMutex;
    int hStdInWrite = -1;  // guarded by inputMutex
    std::atomic<int> bRunning{1};
    // Opened once OnChildStarted has returned: nothing else of the child is
    // reported before.
    std::latch announced{1};
    std::mutex doneMutex;
    std::condition_variable doneChanged;
    bool bStdOutDone = false;  // guarded by doneMutex
    bool bStdErrDone = false;  // guarded by doneMutex
  };

  virtual void OnChildStarted(const char* /*commandLine*/) {}
  virtual void OnChildStdOutWrite(const char* /*text*/) {}
  virtual void OnChildStdErrWrite(const char* /*text*/) {}
  virtual void OnChildTerminate() {}

  // Refuses further starts, tears the run down and waits for every worker.
  void ShutdownChildProcess();
  // Stops the child and, from the host, returns once every worker has
  // ended; a child that a last notification starts is stopped too.
  void StopAllRuns();
  // Returns the child's process id, or -1.
  pid_t PrepAndLaunchRedirectedChild(const char* commandLine, int out, int in, int err, int showWindow);
  int StdOutThread(int fd, const std::shared_ptr<ChildRun>& run);
  int StdErrThread(int fd, const std::shared_ptr<ChildRun>& run);
  int ProcessThread(const std::shared_ptr<ChildRun>& run);

  static std::atomic<int> m_bRunThread;

 private:
  // True on a worker thread of this object.
  bool OnWorkerThread() const;
  // Stops one run: the current one, taken out of the object.
  void TearDownRun();
  // Stops runs until none is current and (from the host) every worker has
  // ended; returns holding m_mutex so that nothing starts in between.
  std::unique_lock<std::mutex> StopEveryRun();
  // Joins every retired worker but the caller, which is detached instead
  // when `detachOwn` (the object is going).
  void JoinRetired(bool detachOwn);
  // Waits until no other thread is in the middle of stopping a run (its
  // readers may still be reporting). Needs `lock` on m_mutex.
  void WaitTornDown(std::unique_lock<std::mutex>& lock);
  // Moves a worker thread aside to be joined later. Needs m_mutex.
  void RetireLocked(std::jthread& thread);
  // Starts the readers of `run`'s two read ends, which they then own, and
  // the watcher of its child; false when no thread is left, with the read
  // ends not handed over closed. Under the run's lock.
  bool StartWorkers(const std::shared_ptr<ChildRun>& run, int stdOutRead, int stdErrRead);
  // Reports a start that failed, with the run's parts already released.
  void ReportStartFailure(const char* commandLine);
  // Waits, after the child's exit, until both readers have finished (they
  // are told to give up after a short grace) or the run is stopped.
  static void WaitDrained(ChildRun& run, int stop);

  mutable std::mutex m_mutex;
  // Guarded by m_mutex:
  std::shared_ptr<ChildRun> m_pRun;
  std::jthread m_hStdOutThread;
  std::jthread m_hStdErrThread;
  std::jthread m_hProcessThread;
  std::vector<std::jthread> m_retired;  // ended or ending workers, joined later
  int m_nTearingDown = 0;               // runs taken out and not yet stopped
  std::condition_variable m_tornDown;
  CString m_strDirectory;
  bool m_bClosing = false;

  std::atomic<int> m_nExitCode{-1};
};

}  // namespace tav
