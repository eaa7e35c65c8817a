#include "qt/GuiScript.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

namespace tav::qt::test {
namespace {

template <typename Widget>
Widget* OpenTopLevel(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!widget->isVisible() || (objectName != nullptr && widget->objectName() != objectName)) continue;
    if (auto* found = dynamic_cast<Widget*>(widget)) return found;
  }
  return nullptr;
}

}  // namespace

SolverWindow* OpenSolverWindow() { return OpenTopLevel<SolverWindow>("solverWindow"); }
QMessageBox* OpenMessageBox() { return OpenTopLevel<QMessageBox>(nullptr); }
QFileDialog* OpenFileDialog() { return OpenTopLevel<QFileDialog>(nullptr); }

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

bool HasRow(const QString& text) {
  const SolverWindow* window = OpenSolverWindow();
  return window != nullptr && Rows(window->List()).contains(text);
}

void ClickBoxButton(QMessageBox::StandardButton which) { OpenMessageBox()->button(which)->click(); }

GuiScript& GuiScript::When(std::string what, Condition condition, Action action) {
  m_steps.push_back({std::move(what), std::move(condition), std::move(action)});
  return *this;
}

void GuiScript::Start(std::chrono::milliseconds patience) {
  m_patience = patience;
  m_stepStart = std::chrono::steady_clock::now();
  QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
  m_timer.start(5);
}

void GuiScript::Tick() {
  const bool waitedTooLong = std::chrono::steady_clock::now() - m_stepStart > m_patience;
  if (Done()) {
    // The call should have returned by now, or its loop would not run this.
    if (waitedTooLong) GiveUp("the end of the run after the last step");
    return;
  }
  Step& step = m_steps[m_next];
  if (step.condition()) {
    ++m_next;
    m_stepStart = std::chrono::steady_clock::now();
    step.action();
  } else if (waitedTooLong) {
    GiveUp(step.what);
  }
}

// Whatever is open is answered and closed, so that the run ends.
void GuiScript::GiveUp(const std::string& what) {
  ADD_FAILURE() << "the script waited in vain for: " << what;
  m_next = m_steps.size();
  m_timer.stop();
  if (QMessageBox* box = OpenMessageBox()) box->reject();
  if (QFileDialog* files = OpenFileDialog()) files->reject();
  if (SolverWindow* window = OpenSolverWindow()) window->close();
}

ShowCounter::ShowCounter() { qApp->installEventFilter(this); }

ShowCounter::~ShowCounter() { qApp->removeEventFilter(this); }

bool ShowCounter::eventFilter(QObject* watched, QEvent* event) {
  if (watched->objectName() == "solverWindow" && watched->isWidgetType()) {
    if (event->type() == QEvent::Show) ++shown;
    if (event->type() == QEvent::Hide) ++hidden;
  }
  return false;
}

}  // namespace tav::qt::test
