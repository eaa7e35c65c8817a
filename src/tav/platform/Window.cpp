#include "tav/platform/Window.h"

#include <atomic>
#include <unordered_map>

namespace tav {
namespace {

// Live windows by handle. The registry lock is held while a message is
// queued, so a window cannot be destroyed between lookup and queueing.
struct Registry {
  std::mutex mutex;
  std::unordered_map<HWND, CWnd*> windows;
  uintptr_t next = 1;
};

Registry& GetRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

bool IsWindow(HWND window) {
  Registry& registry = GetRegistry();
  std::lock_guard lock(registry.mutex);
  return window != nullptr && registry.windows.count(window) != 0;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::future<LRESULT> reply;
  CWnd* direct = nullptr;
  {
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const auto found = registry.windows.find(window);
    if (found == registry.windows.end()) return 0;
    CWnd* target = found->second;
    if (target->m_thread == std::this_thread::get_id()) {
      direct = target;  // its own thread handles it at once, as a call
    } else {
      auto promise = std::make_shared<std::promise<LRESULT>>();
      reply = promise->get_future();
      target->Enqueue(CWnd::Queued{message, wParam, lParam, std::move(promise)});
    }
  }
  if (direct != nullptr) return direct->WindowProc(message, wParam, lParam);
  return reply.get();
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Registry& registry = GetRegistry();
  std::lock_guard lock(registry.mutex);
  const auto found = registry.windows.find(window);
  return found != registry.windows.end() && found->second->Enqueue(CWnd::Queued{message, wParam, lParam, nullptr});
}

CWnd::~CWnd() { DestroyWindow(); }

bool CWnd::CreateWindowHandle() {
  if (m_hWnd.load() != nullptr) return false;
  Registry& registry = GetRegistry();
  std::lock_guard lock(registry.mutex);
  m_hWnd = reinterpret_cast<HWND>(registry.next++);
  m_thread = std::this_thread::get_id();
  registry.windows.emplace(m_hWnd.load(), this);
  return true;
}

void CWnd::DestroyWindow() {
  if (m_hWnd.load() == nullptr) return;
  {
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    registry.windows.erase(m_hWnd.exchange(nullptr));
  }
  std::deque<Queued> pending;
  {
    std::lock_guard lock(m_mutex);
    pending.swap(m_queue);
  }
  for (Queued& item : pending) {
    if (item.reply) item.reply->set_value(0);
  }
}

bool CWnd::Enqueue(Queued item) {
  {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(std::move(item));
  }
  m_wake.notify_one();
  return true;
}

void CWnd::Dispatch(Queued& item) {
  const LRESULT result = WindowProc(item.message, item.wParam, item.lParam);
  if (item.reply) item.reply->set_value(result);
}

int CWnd::RunModalLoop() {
  std::unique_lock lock(m_mutex);
  m_bModal = true;
  while (m_bModal) {
    m_wake.wait(lock, [this] { return !m_queue.empty() || !m_bModal; });
    while (m_bModal && !m_queue.empty()) {
      Queued item = std::move(m_queue.front());
      m_queue.pop_front();
      lock.unlock();
      Dispatch(item);
      lock.lock();
    }
  }
  return m_nModalResult;
}

void CWnd::EndModalLoop(int result) {
  {
    std::lock_guard lock(m_mutex);
    m_nModalResult = result;
    m_bModal = false;
  }
  m_wake.notify_all();
}

void CWnd::PumpMessages() {
  std::unique_lock lock(m_mutex);
  while (!m_queue.empty()) {
    Queued item = std::move(m_queue.front());
    m_queue.pop_front();
    lock.unlock();
    Dispatch(item);
    lock.lock();
  }
}

LRESULT CWnd::WindowProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }

int CDialog::DoModal() {
  if (!CreateWindowHandle()) return -1;
  OnInitDialog();
  ShowWindow(true);
  const int result = RunModalLoop();
  ShowWindow(false);
  DestroyWindow();
  return result;
}

void CDialog::ShowWindow(bool show) {
  m_bShown = show;
  OnShowWindow(show, 0);
}

void CDialog::OnShowWindow(bool /*show*/, unsigned /*status*/) {}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE || (message == WM_COMMAND && wParam == static_cast<WPARAM>(IDCANCEL))) {
    OnCancel();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace tav
