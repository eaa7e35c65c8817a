// The library's message boxes and save-file dialog as Qt dialogs. Every
// function here runs on the GUI thread (QtDialogHandlers and the solver
// window hand calls from other threads over).
#pragma once

#include <QMessageBox>
#include <QString>

#include "tav/platform/MessageBox.h"

class QWidget;

namespace tav::qt {

// The icon and the buttons of a message box of `type` (MB_* flags).
QMessageBox::Icon MessageBoxIcon(unsigned type);
QMessageBox::StandardButtons MessageBoxButtons(unsigned type);
// The answer (IDOK, IDYES, IDNO) for the button the user pressed; the box
// closed without a button (only a plain OK box may be) answers as its
// cancel would: IDNO for a Yes/No question, IDOK otherwise.
int MessageBoxAnswer(unsigned type, QMessageBox::StandardButton pressed);
// The answer of a box of `type` that no one answered: IDNO for a Yes/No
// question, IDOK otherwise.
int CancelAnswer(unsigned type);

// Shows a modal box over `parent` (may be null) and returns the answer.
int ShowQtMessageBox(QWidget* parent, const QString& title, const CString& text, unsigned type);

// A save-file filter "Text (*.txt)|*.txt|All (*.*)|*.*||" (description and
// patterns in pairs, ';' between patterns) as Qt writes it:
// "Text (*.txt);;All (*.*)".
QString ToQtFileFilter(const CString& filter);

// Asks for a file to save to; true and `chosenPath` filled when the user
// chose one.
bool ShowQtSaveFileDialog(QWidget* parent, const CString& filter, CString& chosenPath);

}  // namespace tav::qt
