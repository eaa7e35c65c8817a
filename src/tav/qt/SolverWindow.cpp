#include "tav/qt/SolverWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace tav::qt {

QColor ToQColor(uint32_t colorRef) {
  return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                static_cast<int>((colorRef >> 16) & 0xFF));
}

QFont SolverFont() {
  QFont font;
  // By family: fontconfig's default may have no Hangul, and then the Korean
  // captions and messages would show as boxes.
  font.setFamilies({"NanumGothicCoding", "D2Coding", "Noto Sans Mono CJK KR", "NanumGothic", "Noto Sans CJK KR",
                    "UnDotum", "Baekmuk Gulim"});
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

SolverWindow::SolverWindow(SolverWindowActions actions, const std::array<CButton, 3>& buttons, QWidget* parent)
    : QWidget(parent, Qt::Window), m_actions(std::move(actions)), m_pList(new QListWidget(this)) {
  setObjectName("solverWindow");
  setWindowTitle(QString::fromStdString(CTavSolverMsgDlg::GetCaption()));
  // The dialog runs modal: the host's other windows wait until it closes, so
  // no second run starts from them meanwhile.
  setWindowModality(Qt::ApplicationModal);
  setFont(SolverFont());

  m_pList->setObjectName("messageList");
  m_pList->setUniformItemSizes(true);
  // The selection is the dialog's: a click on a row does not move it.
  m_pList->setSelectionMode(QAbstractItemView::NoSelection);
  m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QPalette colors = m_pList->palette();
  colors.setColor(QPalette::Base, ToQColor(CColorListBox::kBackColor));
  colors.setColor(QPalette::Text, ToQColor(CColorListBox::kTextColor));
  m_pList->setPalette(colors);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  for (size_t i = 0; i < buttons.size(); ++i) {
    m_buttonIds[i] = buttons[i].nId;
    m_buttons[i] = MakeButton(buttons[i]);
    buttonRow->addWidget(m_buttons[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pList);
  layout->addLayout(buttonRow);
  resize(720, 420);
}

QPushButton* SolverWindow::MakeButton(const CButton& button) {
  auto* widget = new QPushButton(QString::fromStdString(button.strCaption), this);
  widget->setObjectName(QString("button%1").arg(button.nId));
  widget->setEnabled(button.bEnabled);
  widget->setAutoDefault(false);
  const int id = button.nId;
  connect(widget, &QPushButton::clicked, this, [this, id] {
    if (m_actions.pressButton) m_actions.pressButton(id);
  });
  return widget;
}

QPushButton* SolverWindow::Button(int id) const {
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttonIds[i] == id) return m_buttons[i];
  }
  return nullptr;
}

void SolverWindow::InsertLine(int index, const QString& text) {
  const int row = index < 0 || index > m_pList->count() ? m_pList->count() : index;
  m_pList->insertItem(row, text);
}

void SolverWindow::DeleteLine(int index) {
  if (index < 0 || index >= m_pList->count()) return;
  std::unique_ptr<QListWidgetItem> taken(m_pList->takeItem(index));  // takeItem hands the item over
}

void SolverWindow::SelectLine(int index) {
  QItemSelectionModel* selection = m_pList->selectionModel();
  if (index < 0 || index >= m_pList->count()) {
    selection->clear();
    return;
  }
  const QModelIndex row = m_pList->model()->index(index, 0);
  selection->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
  m_pList->scrollTo(row);
}

void SolverWindow::SetButton(const CButton& button) {
  QPushButton* widget = Button(button.nId);
  if (widget == nullptr) return;
  widget->setText(QString::fromStdString(button.strCaption));
  widget->setEnabled(button.bEnabled);
}

void SolverWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (m_actions.close) m_actions.close();
}

}  // namespace tav::qt
