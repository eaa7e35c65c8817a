// The Run Solver dialog: runs the solver on an input file, lists every line
// it prints (green on black), finds error and warning lines, and tells
// whether the model had errors. The dialog is a model: a front-end draws its
// list, buttons and message boxes and may press its buttons; without one it
// runs headless and closes itself once nothing more will run.
//
// The dialog owns its redirect; destroying the dialog stops a child that
// still runs before anything else goes.
//
// A dialog runs any number of times. Each run starts from an empty list,
// cleared flags and an enabled close button, and a run ends with the dialog:
// however it is closed (the close button, the close box, Escape, the
// automatic close), a child still running is stopped and reaped before
// RunSolver returns. A run is refused while the dialog is open.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "tav/model/TavTypes.h"
#include "tav/platform/Controls.h"
#include "tav/platform/MessageBox.h"
#include "tav/platform/Window.h"
#include "tav/solver/TavProcessRedirect.h"

namespace tav {

inline constexpr UINT WM_SOLVER_CLOSED = WM_USER + 34;
inline constexpr UINT WM_SOLVER_END = WM_USER + 100;
// Posted once no further command will run in this dialog (all ended, an
// error stopped the queue, or a command could not be started).
inline constexpr UINT WM_SOLVER_IDLE = WM_USER + 101;

inline constexpr int IDC_LIST_MESSAGE = 20110;
inline constexpr int IDC_BUTTON_GO_ERROR = 20111;
inline constexpr int IDC_BUTTON_GO_WARNING = 20112;
inline constexpr int IDD_SOLVER_MSG = 20113;

// The list of the dialog: the colours a front-end draws it with.
class CColorListBox : public CListBox {
 public:
  static constexpr uint32_t kTextColor = 0x00FF00;  // green (0x00BBGGRR)
  static constexpr uint32_t kBackColor = 0x000000;  // black
  uint32_t GetTextColor() const { return kTextColor; }
  uint32_t GetBackColor() const { return kBackColor; }
};

class CTavSolverMsgDlg;

// What a front-end sees of the dialog, and how it answers message boxes. All
// calls come on the dialog's thread.
class CSolverFrontEnd : public CListObserver {
 public:
  void OnLineInserted(int /*index*/, const CString& /*text*/) override {}
  void OnLineDeleted(int /*index*/) override {}
  void OnSelectionChanged(int /*index*/) override {}
  virtual void OnShown(CTavSolverMsgDlg& /*dialog*/, bool /*shown*/) {}
  virtual void OnButtonChanged(const CButton& /*button*/) {}
  // The default hands the box to the message box handler.
  virtual int OnMessageBox(const CString& text, unsigned type) { return TavMessageBox(text, type); }
  // No further command will run.
  virtual void OnRunFinished(CTavSolverMsgDlg& /*dialog*/) {}
};

// Draws nothing; closes the dialog with its close button once the run is
// over, as a user would.
class CHeadlessFrontEnd : public CSolverFrontEnd {
 public:
  void OnRunFinished(CTavSolverMsgDlg& dialog) override;
};

// Runs the queued command lines one after the other for the dialog. Its
// output goes to the dialog's window by synchronous sends, so the dialog's
// thread stops it only once that window is gone.
class CTavSolverRedirect : public CTavProcessRedirect {
 public:
  explicit CTavSolverRedirect(CTavSolverMsgDlg* dialog) : m_pDlg(dialog) {}
  ~CTavSolverRedirect() override { ShutdownChildProcess(); }

  void ClearCommands();
  void AddCommand(CString command);
  // Starts the next queued command; 0 when the queue is empty, 1 otherwise
  // (whatever the start gave: see LastStartFailed).
  int RunNext(HWND window, int showWindow);
  bool LastStartFailed() const { return m_bLastStartFailed; }
  // Drops the queued commands (unless `keepCommands`), stops the child and
  // returns once every notification of it is over.
  void StopRun(bool keepCommands = false);

 protected:
  void OnChildStarted(const char* commandLine) override;
  void OnChildStdOutWrite(const char* text) override;
  void OnChildStdErrWrite(const char* text) override;
  void OnChildTerminate() override;

 private:
  HWND OutputWindow() const;

  std::atomic<HWND> m_hTargetWnd{nullptr};
  CTavSolverMsgDlg* m_pDlg;
  std::mutex m_queueMutex;
  std::deque<CString> m_arrCommands;
  std::atomic<bool> m_bLastStartFailed{false};
};

class CTavSolverMsgDlg : public CDialog {
 public:
  explicit CTavSolverMsgDlg(CWnd* parent = nullptr);
  ~CTavSolverMsgDlg() override;

  // Runs the solver of `format` from `solverDirectory` on `inputPath` in
  // `workingDirectory` and shows the dialog until it is closed. Returns 1
  // when no error line appeared, 0 otherwise (and when the input is missing).
  // Called on the host's thread. While the dialog is open (shown modeless,
  // or a call from within its own run) nothing is done and -1 is returned.
  int RunSolver(CWnd* parent, const CString& workingDirectory, const CString& solverDirectory, const CString& inputPath,
                TaV_INPUT_FORMAT format);
  // Creates the dialog modeless and starts the first queued command; the
  // host calls PumpMessages. A new run as in RunSolver; false while open.
  bool Create(CWnd* parent);
  void SetBtnText(CString text) { m_strBtnText = std::move(text); }
  // A child has started: the close button is disabled and an empty line
  // opens its output. Safe from any thread.
  void OnStart();

  // The front-end; none (null) means headless. Borrowed.
  void SetFrontEnd(CSolverFrontEnd* frontEnd);
  // Acting on the dialog from any thread, as a user would.
  void PressButton(int id) { PostMessage(GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void Close() { PostMessage(GetSafeHwnd(), WM_CLOSE, 0, 0); }
  void PressEscape() { PostMessage(GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(IDCANCEL), 0); }

  const CColorListBox& GetMessageList() const { return m_lstMessage; }
  const CButton& GetButton(int id) const;
  static CString GetCaption() { return "Run Solver"; }
  CTavSolverRedirect& GetRedirect() { return *m_pRedirect; }

  CColorListBox m_lstMessage;
  HWND m_hNotifyWnd = nullptr;
  std::unique_ptr<CTavSolverRedirect> m_pRedirect;
  CString m_strBtnText = "닫 기";
  std::atomic<int> m_bError{0};
  std::atomic<int> m_bWarning{0};
  int m_bAutoClose = 0;
  int m_bCloseNoticeFlag = 0;

 protected:
  LRESULT OnEnd(WPARAM wParam, LPARAM lParam);
  LRESULT OnCopyData(WPARAM wParam, LPARAM lParam);
  void OnButtonGoError();
  void OnButtonGoWarning();
  void OnShowWindow(bool show, unsigned status) override;
  void OnOK() override;
  int OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Same as the redirect's utilities.
  void SeperateStr(CString& text, CStringArray& lines) { CTavProcessRedirect::SeperateStr(text, lines); }
  void GetDirectoryName(CString& result, const CString& path) { CTavProcessRedirect::GetDirectoryName(result, path); }
  void GetFileName(CString& result, const CString& path) { CTavProcessRedirect::GetFileName(result, path); }

 private:
  // Searches forward from the selection for `marker`, wrapping on request.
  void GoToMarker(const char* marker, const char* none, const char* noMore);
  void SetButton(CButton& button, bool enabled);
  void AppendSelected(const CString& text);
  int Message(const CString& text, unsigned type);
  CSolverFrontEnd& FrontEnd() { return m_pFrontEnd != nullptr ? *m_pFrontEnd : m_headless; }
  void StartBody();
  // What a run starts from: an empty list, no error or warning seen, the
  // close button enabled.
  void BeginRun();

  CButton m_btnClose{IDOK, "닫 기", true};
  CButton m_btnError{IDC_BUTTON_GO_ERROR, "에러 이동", true};
  CButton m_btnWarning{IDC_BUTTON_GO_WARNING, "경고 이동", true};
  CSolverFrontEnd* m_pFrontEnd = nullptr;
  CHeadlessFrontEnd m_headless;
};

}  // namespace tav
