#include "tav/solver/TavSolverMsgDlg.h"

#include <sys/stat.h>

#include <cstring>

namespace tav {
namespace {

// OnStart from another thread, handed to the dialog's thread.
constexpr UINT WM_SOLVER_START = WM_USER + 102;

constexpr const char* kErrorMarker = "* E R R O R *";
constexpr const char* kWarningMarker = "* W A R N I N G *";
constexpr const char* kSeparator =
    "===================================================================================";

bool FileExists(const CString& path, const CString& directory) {
  const CString full = (!path.empty() && path[0] != '/' && !directory.empty()) ? directory + "/" + path : path;
  struct stat info {};
  return ::stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

CString RemoveAll(CString text, const CString& part) {
  for (size_t at = text.find(part); at != CString::npos; at = text.find(part, at)) text.erase(at, part.size());
  return text;
}

}  // namespace

// ---- CHeadlessFrontEnd ------------------------------------------------------

void CHeadlessFrontEnd::OnRunFinished(CTavSolverMsgDlg& dialog) { dialog.PressButton(IDOK); }

// ---- CTavSolverRedirect -------------------------------------------------------

void CTavSolverRedirect::ClearCommands() {
  std::lock_guard lock(m_queueMutex);
  m_arrCommands.clear();
}

void CTavSolverRedirect::AddCommand(CString command) {
  std::lock_guard lock(m_queueMutex);
  m_arrCommands.push_back(std::move(command));
}

void CTavSolverRedirect::StopRun(bool keepCommands) {
  std::deque<CString> kept;
  {
    std::lock_guard lock(m_queueMutex);
    if (keepCommands) kept.swap(m_arrCommands);
    m_arrCommands.clear();
  }
  StopAllRuns();
  if (!keepCommands) return;
  std::lock_guard lock(m_queueMutex);
  m_arrCommands = std::move(kept);
}

int CTavSolverRedirect::RunNext(HWND window, int showWindow) {
  m_hTargetWnd = window;
  CString command;
  {
    std::lock_guard lock(m_queueMutex);
    if (m_arrCommands.empty()) return 0;
    command = std::move(m_arrCommands.front());
    m_arrCommands.pop_front();
  }
  m_bLastStartFailed = StartChildProcess(command.c_str(), showWindow) == 0;
  return 1;
}

HWND CTavSolverRedirect::OutputWindow() const {
  return m_pDlg != nullptr ? m_pDlg->GetSafeHwnd() : m_hTargetWnd.load();
}

void CTavSolverRedirect::OnChildStarted(const char* /*commandLine*/) {
  if (m_pDlg != nullptr) m_pDlg->OnStart();
}

void CTavSolverRedirect::OnChildStdOutWrite(const char* text) {
  CopyData(OutputWindow(), 2, nullptr, text, static_cast<unsigned long>(std::strlen(text) + 1));
}

void CTavSolverRedirect::OnChildStdErrWrite(const char* text) { OnChildStdOutWrite(text); }

void CTavSolverRedirect::OnChildTerminate() {
  const HWND window = OutputWindow();
  if (m_pDlg != nullptr) {
    PostMessage(window, WM_SOLVER_END, 0, 0);
    if (m_pDlg->m_bError == 1) {
      PostMessage(window, WM_SOLVER_IDLE, 0, 0);  // the rest of the queue is skipped
      return;
    }
  }
  TerminateChildProcess();
  if (RunNext(window, 0) == 0 || m_bLastStartFailed) PostMessage(window, WM_SOLVER_IDLE, 0, 0);
}

// ---- CTavSolverMsgDlg ---------------------------------------------------------

// The parent is given again to RunSolver or Create; until then the close
// notice goes nowhere.
CTavSolverMsgDlg::CTavSolverMsgDlg(CWnd* /*parent*/) : m_pRedirect(std::make_unique<CTavSolverRedirect>(this)) {}

CTavSolverMsgDlg::~CTavSolverMsgDlg() {
  // No output may reach a dialog that is going: the window goes first, then
  // the run (a child still running is stopped), then the rest.
  DestroyWindow();
  m_pRedirect.reset();
}

void CTavSolverMsgDlg::SetFrontEnd(CSolverFrontEnd* frontEnd) {
  m_pFrontEnd = frontEnd;
  m_lstMessage.SetObserver(&FrontEnd());
}

const CButton& CTavSolverMsgDlg::GetButton(int id) const {
  if (id == IDC_BUTTON_GO_ERROR) return m_btnError;
  if (id == IDC_BUTTON_GO_WARNING) return m_btnWarning;
  return m_btnClose;
}

int CTavSolverMsgDlg::Message(const CString& text, unsigned type) { return FrontEnd().OnMessageBox(text, type); }

int CTavSolverMsgDlg::RunSolver(CWnd* parent, const CString& workingDirectory, const CString& solverDirectory,
                                const CString& inputPath, TaV_INPUT_FORMAT format) {
  if (GetSafeHwnd() != nullptr) return -1;
  // Whatever an earlier showing left (workers still ending, a child still
  // running) is over before this run touches the list or the flags.
  m_pRedirect->StopRun();
  BeginRun();
  m_pRedirect->SetWorkingDirectory(workingDirectory);
  m_hNotifyWnd = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
  m_pRedirect->ClearCommands();
  const CString missing = inputPath + " 파일이 존재하지 않습니다 !";
  switch (format) {
    case TaV_FORMAT_TAV: {
      const CString outputBase = RemoveAll(inputPath, ".tAv");
      if (!FileExists(inputPath, workingDirectory)) {
        Message(missing, MB_OK | MB_ICONSTOP);
        return 0;
      }
      m_pRedirect->AddCommand(solverDirectory + "/TaV " + inputPath + " " + outputBase + ".tvo");
      break;
    }
    case TaV_FORMAT_SAP: {
      CString sapPath = inputPath;
      for (char& c : sapPath) {
        if (c == ' ') c = '_';
      }
      const CString sapBase = RemoveAll(sapPath, ".s2k");
      if (!FileExists(sapPath, workingDirectory)) {
        Message(missing, MB_OK | MB_ICONSTOP);
        return 0;
      }
      m_pRedirect->AddCommand(solverDirectory + "/Sapre " + sapPath);
      m_pRedirect->AddCommand(solverDirectory + "/Sapgo " + sapBase);
      break;
    }
    default:
      break;  // nothing runs for the Midas format
  }
  DoModal();
  // However the dialog ended, the host gets control back with nothing of
  // the run going on. The window is gone, so no output waits for this thread.
  m_pRedirect->StopRun();
  return m_bError == 0 ? 1 : 0;
}

bool CTavSolverMsgDlg::Create(CWnd* parent) {
  if (GetSafeHwnd() != nullptr) return false;
  m_pRedirect->StopRun(true);  // the host may have queued this run's commands
  BeginRun();
  if (parent != nullptr) m_hNotifyWnd = parent->GetSafeHwnd();
  if (!CreateWindowHandle()) return false;
  OnInitDialog();
  ShowWindow(true);
  return true;
}

int CTavSolverMsgDlg::OnInitDialog() {
  m_lstMessage.SetObserver(&FrontEnd());
  if (m_pRedirect->RunNext(m_hNotifyWnd, 0) == 0 || m_pRedirect->LastStartFailed()) {
    PostMessage(GetSafeHwnd(), WM_SOLVER_IDLE, 0, 0);
  }
  return 1;
}

void CTavSolverMsgDlg::OnStart() {
  if (IsOwnThread()) {
    StartBody();
  } else {
    SendMessage(GetSafeHwnd(), WM_SOLVER_START, 0, 0);  // does nothing once the window is gone
  }
}

void CTavSolverMsgDlg::BeginRun() {
  m_bError = 0;
  m_bWarning = 0;
  m_lstMessage.SetObserver(&FrontEnd());
  m_lstMessage.ResetContent();
  if (!m_btnClose.bEnabled) SetButton(m_btnClose, true);
}

void CTavSolverMsgDlg::StartBody() {
  if (GetSafeHwnd() == nullptr) return;
  SetButton(m_btnClose, false);
  m_lstMessage.InsertString(m_lstMessage.GetCount(), "");
}

void CTavSolverMsgDlg::SetButton(CButton& button, bool enabled) {
  button.bEnabled = enabled;
  FrontEnd().OnButtonChanged(button);
}

void CTavSolverMsgDlg::AppendSelected(const CString& text) {
  const int n = m_lstMessage.GetCount();
  m_lstMessage.InsertString(n, text);
  m_lstMessage.SetCurSel(n);
}

LRESULT CTavSolverMsgDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA:
      return OnCopyData(wParam, lParam);
    case WM_SOLVER_END:
      return OnEnd(wParam, lParam);
    case WM_SOLVER_START:
      StartBody();
      return 0;
    case WM_SOLVER_IDLE:
      FrontEnd().OnRunFinished(*this);
      return 0;
    case WM_COMMAND:
      // A disabled button cannot be pressed.
      if (wParam == static_cast<WPARAM>(IDOK) && m_btnClose.bEnabled) OnOK();
      if (wParam == static_cast<WPARAM>(IDC_BUTTON_GO_ERROR) && m_btnError.bEnabled) OnButtonGoError();
      if (wParam == static_cast<WPARAM>(IDC_BUTTON_GO_WARNING) && m_btnWarning.bEnabled) OnButtonGoWarning();
      if (wParam == static_cast<WPARAM>(IDCANCEL)) return CDialog::WindowProc(message, wParam, lParam);
      return 0;
    default:
      return CDialog::WindowProc(message, wParam, lParam);
  }
}

LRESULT CTavSolverMsgDlg::OnCopyData(WPARAM /*wParam*/, LPARAM lParam) {
  const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (record == nullptr || record->lpData == nullptr) return 0;
  const CString text(static_cast<const char*>(record->lpData));
  if (record->dwData == 2) {
    if (text.find(kErrorMarker) != CString::npos) {
      m_bError = 1;
    } else if (text.find(kWarningMarker) != CString::npos) {
      m_bWarning = 1;
    }
    AppendSelected(text);
  } else if (record->dwData == 3) {
    CString copy = text;
    CStringArray lines;
    SeperateStr(copy, lines);
    for (const CString& line : lines) {
      const int n = m_lstMessage.GetCount();
      if (line == "REPEAT") m_lstMessage.DeleteString(n - 1);
      m_lstMessage.InsertString(n, line);
      m_lstMessage.SetCurSel(n);
    }
  }
  return 0;
}

LRESULT CTavSolverMsgDlg::OnEnd(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  SetButton(m_btnClose, true);
  AppendSelected("");
  AppendSelected(kSeparator);
  AppendSelected("");
  if (m_bError != 0) {
    Message("모델링에 에러가 존재합니다.", MB_OK | MB_ICONSTOP);
  } else if (m_bAutoClose != 0) {
    OnOK();
  } else if (m_bWarning != 0) {
    Message("모델링에 경고 메세지가 존재합니다.", MB_OK | MB_ICONSTOP);
  }
  return 0;
}

void CTavSolverMsgDlg::GoToMarker(const char* marker, const char* none, const char* noMore) {
  for (;;) {
    int start = m_lstMessage.GetCurSel() + 1;  // 0 without a selection
    if (start >= m_lstMessage.GetCount() - 1) start = 0;
    for (int i = start; i < m_lstMessage.GetCount(); ++i) {
      if (m_lstMessage.GetText(i).find(marker) != CString::npos) {
        m_lstMessage.SetCurSel(i);
        return;
      }
    }
    if (start == 1) {
      Message(none, MB_OK | MB_ICONINFORMATION);
      return;
    }
    if (Message(noMore, MB_YESNO) != IDYES) return;
    m_lstMessage.SetCurSel(0);
  }
}

void CTavSolverMsgDlg::OnButtonGoError() {
  GoToMarker(kErrorMarker, "에러부분이 존재하지 않습니다",
             "더이상 에러부분이 존재하지 않습니다.\n처음부터 다시 찾으시겠습니까 ?");
}

void CTavSolverMsgDlg::OnButtonGoWarning() {
  GoToMarker(kWarningMarker, "경고부분이 존재하지 않습니다",
             "더이상 경고부분이 존재하지 않습니다.\n처음부터 다시 찾으시겠습니까 ?");
}

void CTavSolverMsgDlg::OnOK() {
  PostMessage(m_hNotifyWnd, WM_SOLVER_CLOSED, m_bCloseNoticeFlag == 0 ? 1 : 0, 0);
  m_bCloseNoticeFlag = 0;
  EndDialog(IDOK);
}

void CTavSolverMsgDlg::OnShowWindow(bool show, unsigned status) {
  CDialog::OnShowWindow(show, status);
  m_btnClose.strCaption = m_strBtnText;
  FrontEnd().OnButtonChanged(m_btnClose);
  FrontEnd().OnShown(*this, show);
}

}  // namespace tav
