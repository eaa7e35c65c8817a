// The Run Solver dialog drawn with Qt Widgets: the list of the solver's
// lines, green on black, with the dialog's selection, and the three buttons.
// The window only draws and reports clicks; what a click does is up to the
// actions it is given (the front-end posts them to the dialog). GUI thread
// only.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <array>
#include <functional>

#include "tav/solver/TavSolverMsgDlg.h"

class QListWidget;
class QPushButton;

namespace tav::qt {

// What the user's clicks ask of the dialog.
struct SolverWindowActions {
  std::function<void(int buttonId)> pressButton;
  std::function<void()> close;  // the close box
};

// A colour of the dialog (0x00BBGGRR) as Qt's.
QColor ToQColor(uint32_t colorRef);
// The font of the list and the buttons: a family with Hangul glyphs,
// fixed-pitch where one is installed, so Korean texts and the solver's
// tables both show.
QFont SolverFont();

class SolverWindow : public QWidget {
 public:
  // `buttons` are the dialog's buttons as they are before its first showing.
  // The widgets are owned by the window (as Qt children); `parent` may be
  // null.
  SolverWindow(SolverWindowActions actions, const std::array<CButton, 3>& buttons, QWidget* parent = nullptr);

  void InsertLine(int index, const QString& text);
  void DeleteLine(int index);
  // Selects and shows `index`; LB_ERR clears the selection.
  void SelectLine(int index);
  void SetButton(const CButton& button);

  // Valid for the window's lifetime.
  QListWidget& List() const { return *m_pList; }
  QPushButton* Button(int id) const;

 protected:
  // The close box closes the dialog, which hides the window once it has
  // ended; the window itself stays until then.
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* MakeButton(const CButton& button);

  SolverWindowActions m_actions;
  QListWidget* m_pList;
  std::array<QPushButton*, 3> m_buttons{};
  std::array<int, 3> m_buttonIds{};
};

}  // namespace tav::qt
