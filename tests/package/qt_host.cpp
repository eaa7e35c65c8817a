// A host that runs through the installed package's Tav::qt: a run in the
// Run Solver window that ends before the dialog shows, with the
// application made for the call.
#include <tav/qt/RunSolverInWindow.h>

#include <iostream>

int main() {
  tav::CTavSolverMsgDlg dialog;
  const int result = tav::qt::RunSolverInWindow(dialog, [](tav::CTavSolverMsgDlg&) { return 7; });
  std::cout << "TAV QT " << result << "\n";
  return 0;
}
