#include "tav/results/TavImportSapOutput.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "tav/platform/MessageBox.h"
#include "tav/util/Numbers.h"

namespace tav {
namespace {

constexpr const char* kBadFile = "현재 OUT 파일이 비정상적이거나 현재의 모델링과 일치하지 않습니다 !";
constexpr const char* kCaseCount = "LoadCase 수가 일치하지 않습니다";
constexpr const char* kUnknownCase = "LoadCase 이름이 존재하지 않습니다 !";
constexpr const char* kNoMemory = "결과를 담을 메모리가 부족합니다 !";

// Page titles, by page number.
constexpr const char* kPageTitles[] = {
    " J O I N T   D I S P L A C E M E N T S",
    " R E S T R A I N T   F O R C E S",
    " C O N S T R A I N T   F O R C E S",
    " S P R I N G   F O R C E S",
    " F R A M E   E L E M E N T",
    " S H E L L   E L E M   I N T E R N A L   F O R C E S   &   S T R E S S E S",
    " N L L I N K   F O R C E S",
    " M O D A L   P E R I O D S   A N D   F R E Q U E N C I E S",
    " M O D A L   P A R T I C I P A T I N G   M A S S   R A T I O S",
};
enum PageNumber {
  kDisplacementPage = 0,
  kRestraintPage = 1,
  kConstraintPage = 2,
  kSpringPage = 3,
  kFramePage = 4,
  kShellPage = 5,
  kLinkPage = 6,
  kModalPeriodPage = 7,
  kModalMassPage = 8,
};

constexpr int kTitleSearchLines = 9;
constexpr int kHeadLines = 5;
constexpr int kSkippedInfoLines = 23;
constexpr size_t kCaseKindColumn = 32;
constexpr size_t kNameColumn = 5;
constexpr size_t kNameLength = 10;

// A row that does not fit the model.
class MismatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool StartsWith(const char* line, const char* prefix) { return std::strncmp(line, prefix, std::strlen(prefix)) == 0; }

// True when `text` holds `word` at `column` (a line too short holds nothing).
bool HasAt(const char* text, size_t column, const char* word) {
  return std::strlen(text) >= column + std::strlen(word) && StartsWith(text + column, word);
}

int32_t CheckedIndex(double number, int32_t count, const char* what) {
  if (!(number >= 1.0 && number < static_cast<double>(count) + 1.0)) {
    throw MismatchError(std::string(what) + " not in the model");
  }
  return static_cast<int32_t>(number) - 1;
}

}  // namespace

bool CTavImportSapOutput::ReadRawLine() { return m_file.ReadString(m_szLine, sizeof m_szLine); }

int CTavImportSapOutput::GetOneLineNumber(const char* text, double* numbers) {
  for (int i = 0; i < 10; ++i) numbers[i] = 0.0;
  int count = 0;
  const char* p = text;
  for (;;) {
    const char* end = p;
    const double value = ParseLeadingDouble(p, &end);
    if (end == p) return count;
    if (count < 10) numbers[count] = value;
    ++count;
    p = end;
  }
}

void CTavImportSapOutput::ArrangeByDof() {
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  double arranged[10] = {m_dNumber[0]};
  int next = 1;
  for (int dof = 0; dof < 6; ++dof) arranged[dof + 1] = active.Get(dof) ? m_dNumber[next++] : 0.0;
  std::memcpy(m_dNumber, arranged, sizeof arranged);
}

int CTavImportSapOutput::ReadOneLine() {
  if (!ReadRawLine()) {
    m_nStation = 0;
    return kEndOfFile;
  }
  if (m_szLine[0] == '\f') {
    m_nPage = kNoPage;
    for (int i = 0; i < kTitleSearchLines && ReadRawLine(); ++i) {
      int page = 0;
      while (page < kNoPage && !StartsWith(m_szLine, kPageTitles[page])) ++page;
      if (page < kNoPage) {
        m_nPage = page;
        break;
      }
    }
    return kPageBreak;
  }
  if (StartsWith(m_szLine, " LOAD") || StartsWith(m_szLine, " HIST") || StartsWith(m_szLine, " COMB") ||
      StartsWith(m_szLine, " MOVE")) {
    m_nStation = 0;
    m_nCaseKind = kNotImported;
    if (StartsWith(m_szLine, " LOAD")) {
      m_nCaseKind = kLoad;
    } else if (StartsWith(m_szLine, " COMB") || StartsWith(m_szLine, " HIST")) {
      if (HasAt(m_szLine, kCaseKindColumn, " MAX")) m_nCaseKind = kMaximum;
      if (HasAt(m_szLine, kCaseKindColumn, " MIN")) m_nCaseKind = kMinimum;
    }
    return kCaseTitle;
  }
  if (StartsWith(m_szLine, " ELEM")) {
    m_nStation = 0;
    const long element = std::strtol(m_szLine + 5, nullptr, 10);
    m_nElement = element > INT32_MAX ? INT32_MAX : element < INT32_MIN ? INT32_MIN : static_cast<int32_t>(element);
    return kElement;
  }
  const int n = GetOneLineNumber(m_szLine, m_dNumber);
  if (n == 5) {
    if (m_nPage == kModalPeriodPage) return kArrangedData;
    if (m_nPage == kSpringPage) {
      m_dNumber[5] = m_dNumber[4];
      m_dNumber[4] = 0.0;
      return kArrangedData;
    }
    return kData;
  }
  if (n == 8 && m_nPage == kModalMassPage) return kArrangedData;
  if (n == 7) return kData;
  if (n <= 1) return kOther;
  if (m_nPage == kDisplacementPage || m_nPage == kRestraintPage || m_nPage == kSpringPage) {
    ArrangeByDof();
    return kArrangedData;
  }
  return kOther;
}

int CTavImportSapOutput::ProcessDataLine() {
  const int32_t cases = m_pData->GetCountLoadCase(1);
  if (m_nPage == kShellPage || m_nPage == kModalPeriodPage || m_nPage == kModalMassPage || m_nPage == kNoPage) {
    return 1;
  }
  if (m_nLoadCase < 0 || m_nLoadCase >= cases) throw MismatchError("result case not in the model");
  if (m_nPage == kFramePage) {
    const int32_t beam = CheckedIndex(m_nElement, m_pData->GetCountBeam(), "frame element");
    if (m_nStation >= m_pData->GetCountResultStation()) throw MismatchError("more stations than the model keeps");
    m_pData->SetResult_Beam(beam, m_nLoadCase, m_nStation, m_dNumber, 7);  // distance and six forces
    ++m_nStation;
    return 1;
  }
  const int32_t joint = CheckedIndex(m_dNumber[0], m_pData->GetCountJoint(), "joint");
  TaV_JOINT_FORCE_TYPE kind = TaV_JOINT_REACTION;
  if (m_nPage == kDisplacementPage) kind = TaV_JOINT_DISPLACEMENT;
  if (m_nPage == kSpringPage) kind = TaV_JOINT_SPRING;
  m_pData->SetResult_Joint(joint, m_nLoadCase, m_dNumber + 1, kind, 6);
  return 1;
}

int32_t CTavImportSapOutput::ProcessLCName(const char* text) {
  const CString field(text, strnlen(text, kNameLength));
  const size_t begin = field.find_first_not_of(' ');
  CString name;
  if (begin != CString::npos) {
    const size_t end = field.find_first_of(" \r\n", begin);
    name = field.substr(begin, end == CString::npos ? CString::npos : end - begin);
  }
  if (m_nCaseKind == kMaximum) name += " MAX";
  if (m_nCaseKind == kMinimum) name += " MIN";
  int32_t index = -1;
  return m_pData->GetLoadCaseIndex(name, index) != 0 ? index : -1;
}

int CTavImportSapOutput::GetDataInfo() {
  for (int i = 0; i < kSkippedInfoLines && ReadRawLine(); ++i) {
  }
  int32_t count = 0;
  for (int line = ReadOneLine(); line != kEndOfFile; line = ReadOneLine()) {
    if (line != kCaseTitle) continue;
    if (m_nPage == kFramePage) {
      if (m_nElement >= 1) break;
      ++count;
    }
    if (m_nPage == kDisplacementPage && m_nCaseKind != kNotImported) ++count;
    if (count != 0 && m_nPage != kDisplacementPage) break;
  }
  if (count != m_pData->GetCountLoadCase(1)) {
    TavMessageBox(kCaseCount, MB_OK | MB_ICONSTOP);
    return 0;
  }
  m_file.SeekToBegin();
  return 1;
}

void CTavImportSapOutput::ReportProgress() {
  if (m_pProgress != nullptr) m_pProgress->SetPos(static_cast<int32_t>(m_file.GetPosition() / 1024));
}

int CTavImportSapOutput::LoadData(const CString& path) {
  if (!m_pData->AllocResultForceBuff()) {
    TavMessageBox(kNoMemory, MB_OK | MB_ICONSTOP);
    return 0;
  }
  if (!m_file.Open(path)) return 0;
  try {
    for (int i = 0; i < kHeadLines; ++i) {
      if (!ReadRawLine()) return 0;
    }
    if (m_pProgress != nullptr) m_pProgress->SetRange(0, static_cast<int32_t>(m_file.GetLength() / 1024));
    if (GetDataInfo() == 0) return 0;

    m_nPage = kNoPage;
    m_nCaseKind = kNotImported;
    m_nStation = 0;
    for (;;) {
      const int line = ReadOneLine();
      ReportProgress();
      if (line == kEndOfFile) break;
      if (line == kCaseTitle) {
        if (m_nPage == kNoPage || m_nCaseKind == kNotImported) continue;
        m_nLoadCase = ProcessLCName(m_szLine + kNameColumn);
        if (m_nLoadCase == -1) {
          TavMessageBox(kUnknownCase, MB_OK | MB_ICONSTOP);
          return 0;
        }
      } else if ((line == kData || line == kArrangedData) && m_nCaseKind != kNotImported) {
        ProcessDataLine();
      }
    }
  } catch (const std::runtime_error&) {  // FileError, MismatchError
    TavMessageBox(kBadFile, MB_OK | MB_ICONSTOP);
    return 0;
  }
  m_file.Close();
  return 1;
}

}  // namespace tav
