// Message boxes and the save-file dialog, routed through handlers that the
// host replaces. The library shows nothing by itself: a host with a user
// interface installs handlers that draw; the defaults write the text to
// standard error and answer IDOK (IDNO for a Yes/No question), and the
// default save-file dialog cancels.
#pragma once

#include <functional>

#include "tav/platform/String.h"

namespace tav {

inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

using MessageBoxHandler = std::function<int(const CString& text, unsigned type)>;
// Receives the dialog's filter text; returns true and fills `chosenPath` when
// the user chose a file, false when the user cancelled.
using SaveFileDialogHandler = std::function<bool(const CString& filter, CString& chosenPath)>;

// Shows a message through the current handler and returns its answer.
int TavMessageBox(const CString& text, unsigned type);

// Each setter installs `handler` (an empty one restores the default) and
// returns the previous handler. Safe to call from any thread.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
SaveFileDialogHandler SetSaveFileDialogHandler(SaveFileDialogHandler handler);

// Runs the save-file dialog through the current handler.
bool ShowSaveFileDialog(const CString& filter, CString& chosenPath);

}  // namespace tav
