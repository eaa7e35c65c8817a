#include "tav/qt/GuiThreadQueue.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <system_error>

#include "tav/platform/Process.h"

namespace tav::qt {

GuiThreadQueue::GuiThreadQueue() : m_guiThread(std::this_thread::get_id()), m_nWake(process::MakeEvent()) {
  if (m_nWake < 0) throw std::system_error(errno, std::generic_category(), "no event descriptor for the GUI thread");
  m_pNotifier = std::make_unique<QSocketNotifier>(m_nWake, QSocketNotifier::Read);
  QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this] { OnWake(); });
}

GuiThreadQueue::~GuiThreadQueue() { Close(); }

bool GuiThreadQueue::Post(std::function<void()> task) {
  std::lock_guard lock(m_mutex);
  if (m_bClosed) return false;
  m_tasks.push_back(std::move(task));
  WakeLocked();
  return true;
}

// Called under the lock, so that Close cannot close the descriptor meanwhile.
void GuiThreadQueue::WakeLocked() {
  if (m_bWakePending) return;
  m_bWakePending = true;
  process::SignalEvent(m_nWake);
}

void GuiThreadQueue::OnWake() {
  {
    std::lock_guard lock(m_mutex);
    if (m_bClosed) return;
    uint64_t count = 0;  // reading resets the event: it is no longer readable
    [[maybe_unused]] const ssize_t read = ::read(m_nWake, &count, sizeof count);
    m_bWakePending = false;
  }
  Drain();
}

// One task at a time: a task may run a nested event loop (a modal message
// box), and the tasks behind it must still run, in their order, from within
// that loop. So before a task runs, a wake-up is set for those behind it.
void GuiThreadQueue::Drain() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(m_mutex);
      if (m_tasks.empty()) return;
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
      if (!m_tasks.empty()) WakeLocked();
    }
    task();
  }
}

void GuiThreadQueue::Close() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(m_mutex);
    if (m_bClosed) return;
    m_bClosed = true;
    dropped.swap(m_tasks);
  }
  m_pNotifier.reset();
  process::CloseFd(m_nWake);
}

}  // namespace tav::qt
