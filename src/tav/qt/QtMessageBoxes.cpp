#include "tav/qt/QtMessageBoxes.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace tav::qt {
namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;

bool IsYesNo(unsigned type) { return (type & kButtonsMask) == MB_YESNO; }

}  // namespace

QMessageBox::Icon MessageBoxIcon(unsigned type) {
  switch (type & kIconMask) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case kIconQuestion:
      return QMessageBox::Question;
    case kIconWarning:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons MessageBoxButtons(unsigned type) {
  return IsYesNo(type) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::StandardButtons(QMessageBox::Ok);
}

int MessageBoxAnswer(unsigned type, QMessageBox::StandardButton pressed) {
  if (pressed == QMessageBox::Yes) return IDYES;
  if (pressed == QMessageBox::No) return IDNO;
  return CancelAnswer(type);
}

int CancelAnswer(unsigned type) { return IsYesNo(type) ? IDNO : IDOK; }

int ShowQtMessageBox(QWidget* parent, const QString& title, const CString& text, unsigned type) {
  QMessageBox box(MessageBoxIcon(type), title, QString::fromStdString(text), MessageBoxButtons(type), parent);
  box.setObjectName("tavMessageBox");
  box.setDefaultButton(IsYesNo(type) ? QMessageBox::Yes : QMessageBox::Ok);
  box.exec();
  return MessageBoxAnswer(type, box.standardButton(box.clickedButton()));
}

QString ToQtFileFilter(const CString& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
  static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    description.remove(trailingPatterns);
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << description + " (" + patterns + ")";
  }
  return filters.join(";;");
}

bool ShowQtSaveFileDialog(QWidget* parent, const CString& filter, CString& chosenPath) {
  const QString path = QFileDialog::getSaveFileName(parent, QString(), QString(), ToQtFileFilter(filter));
  if (path.isEmpty()) return false;
  chosenPath = path.toStdString();
  return true;
}

}  // namespace tav::qt
