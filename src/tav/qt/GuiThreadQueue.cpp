#include "tav/qt/GuiThreadQueue.h"

#include <QObject>

namespace tav::qt {

GuiThreadQueue::GuiThreadQueue() : m_guiThread(std::this_thread::get_id()), m_pReceiver(std::make_unique<QObject>()) {}

GuiThreadQueue::~GuiThreadQueue() { Close(); }

bool GuiThreadQueue::Post(std::function<void()> task) {
  std::lock_guard lock(m_mutex);
  if (m_bClosed) return false;
  m_tasks.push_back(std::move(task));
  if (!m_bWakePending) {
    // Under the lock, so that Close cannot destroy the receiver meanwhile.
    m_bWakePending = true;
    QMetaObject::invokeMethod(
        m_pReceiver.get(), [this] { Drain(); }, Qt::QueuedConnection);
  }
  return true;
}

// One task at a time: a task may run a nested event loop (a modal message
// box) that drains again, and the tasks must still run in their order.
void GuiThreadQueue::Drain() {
  {
    std::lock_guard lock(m_mutex);
    m_bWakePending = false;
  }
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(m_mutex);
      if (m_tasks.empty()) return;
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
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
  // Deleting the receiver also discards a wake-up still queued for it.
  m_pReceiver.reset();
}

}  // namespace tav::qt
