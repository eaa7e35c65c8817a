// A user's script for a window that a call shows while it runs its own event
// loop: steps of "when this holds, do that", checked in order by a timer on
// the GUI thread. A step that waits too long, or a call that goes on too
// long after the last step, fails the test, and the script closes what is
// open so that the call returns.
#pragma once

#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tav/qt/SolverWindow.h"

namespace tav::qt::test {

// The open (visible) windows of their kind, or null.
SolverWindow* OpenSolverWindow();
QMessageBox* OpenMessageBox();
QFileDialog* OpenFileDialog();

// The rows of a list, and whether the open solver window shows `text`.
QStringList Rows(const QListWidget& list);
bool HasRow(const QString& text);
// Presses `which` in the open message box.
void ClickBoxButton(QMessageBox::StandardButton which);

class GuiScript {
 public:
  using Condition = std::function<bool()>;
  using Action = std::function<void()>;

  // Adds a step; `what` names it in a failure.
  GuiScript& When(std::string what, Condition condition, Action action);
  // Starts checking the steps; each may wait `patience` at most.
  void Start(std::chrono::milliseconds patience = std::chrono::seconds(20));
  bool Done() const { return m_next == m_steps.size(); }

 private:
  struct Step {
    std::string what;
    Condition condition;
    Action action;
  };
  void Tick();
  void GiveUp(const std::string& what);

  std::vector<Step> m_steps;
  size_t m_next = 0;
  std::chrono::milliseconds m_patience{0};
  std::chrono::steady_clock::time_point m_stepStart;
  QTimer m_timer;
};

// Counts the showings and hidings of the solver window.
class ShowCounter : public QObject {
 public:
  ShowCounter();
  ~ShowCounter() override;
  int shown = 0;
  int hidden = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tav::qt::test
