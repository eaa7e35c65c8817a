#include "tav/platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace tav {
namespace {

int DefaultMessageBox(const CString& text, unsigned type) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
}

bool DefaultSaveFileDialog(const CString& /*filter*/, CString& /*chosenPath*/) { return false; }

// The handlers are process-wide, as a host has one user interface.
struct Handlers {
  std::mutex mutex;
  MessageBoxHandler messageBox = DefaultMessageBox;
  SaveFileDialogHandler saveFileDialog = DefaultSaveFileDialog;
};

Handlers& GetHandlers() {
  static Handlers handlers;
  return handlers;
}

template <typename Handler>
Handler Swap(Handler& slot, Handler replacement, Handler fallback) {
  std::lock_guard lock(GetHandlers().mutex);
  Handler previous = std::move(slot);
  slot = replacement ? std::move(replacement) : std::move(fallback);
  return previous;
}

}  // namespace

int TavMessageBox(const CString& text, unsigned type) {
  MessageBoxHandler handler;
  {
    std::lock_guard lock(GetHandlers().mutex);
    handler = GetHandlers().messageBox;
  }
  return handler(text, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return Swap(GetHandlers().messageBox, std::move(handler), MessageBoxHandler(DefaultMessageBox));
}

SaveFileDialogHandler SetSaveFileDialogHandler(SaveFileDialogHandler handler) {
  return Swap(GetHandlers().saveFileDialog, std::move(handler), SaveFileDialogHandler(DefaultSaveFileDialog));
}

bool ShowSaveFileDialog(const CString& filter, CString& chosenPath) {
  SaveFileDialogHandler handler;
  {
    std::lock_guard lock(GetHandlers().mutex);
    handler = GetHandlers().saveFileDialog;
  }
  return handler(filter, chosenPath);
}

}  // namespace tav
