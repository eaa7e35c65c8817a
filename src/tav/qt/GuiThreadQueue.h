// Hands work from any thread to the GUI thread through Qt's event loop.
// Tasks wait in a mutex-guarded queue; an event descriptor that the GUI
// thread's loop watches wakes it to drain them. Another thread never calls
// into Qt, so the queue and the descriptor, not Qt's own (uninstrumented)
// locks, order the threads, and ThreadSanitizer sees every hand-over.
#pragma once

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

class QSocketNotifier;

namespace tav::qt {

class GuiThreadQueue {
 public:
  // Binds the queue to the calling thread, which must be the GUI thread.
  // Throws std::system_error when the system has no event descriptor left.
  GuiThreadQueue();
  // Closes the queue; call on the GUI thread when the queue may have been
  // used (destroying it elsewhere is fine only once it is closed).
  ~GuiThreadQueue();
  GuiThreadQueue(const GuiThreadQueue&) = delete;
  GuiThreadQueue& operator=(const GuiThreadQueue&) = delete;

  bool IsGuiThread() const { return std::this_thread::get_id() == m_guiThread; }

  // Queues `task` for the GUI thread; false (and the task dropped) once the
  // queue is closed. Any thread.
  bool Post(std::function<void()> task);

  // Runs `task` on the GUI thread and returns its result: at once on the GUI
  // thread, otherwise after waiting for it. `fallback` when the queue closes
  // before the task ran.
  template <typename Result>
  Result Call(std::function<Result()> task, Result fallback);

  // Runs the tasks queued so far. GUI thread.
  void Drain();
  // Drops the queued tasks (a caller of Call waiting on one gets its
  // fallback) and refuses new ones. GUI thread.
  void Close();

 private:
  // Wakes the GUI thread to drain unless a wake-up is pending.
  void WakeLocked();
  // The GUI thread, woken.
  void OnWake();

  std::thread::id m_guiThread;
  std::mutex m_mutex;
  std::deque<std::function<void()>> m_tasks;
  bool m_bWakePending = false;
  bool m_bClosed = false;
  int m_nWake = -1;  // readable while a wake-up is pending; closed with the queue
  // Watches m_nWake in the GUI thread's loop; gone once closed.
  std::unique_ptr<QSocketNotifier> m_pNotifier;
};

template <typename Result>
Result GuiThreadQueue::Call(std::function<Result()> task, Result fallback) {
  if (IsGuiThread()) return task();
  // Only the queued task holds the promise: dropping the task breaks it.
  auto promise = std::make_shared<std::promise<Result>>();
  std::future<Result> answer = promise->get_future();
  const bool queued = Post([promise = std::move(promise), task = std::move(task)] {
    try {
      promise->set_value(task());
    } catch (...) {
      promise->set_exception(std::current_exception());
    }
  });
  if (!queued) return fallback;
  try {
    return answer.get();
  } catch (const std::future_error&) {
    return fallback;
  }
}

}  // namespace tav::qt
