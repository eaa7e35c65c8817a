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

// True when `text` holds `word` at `column` (a line too short holds nothing).
bool HasAt(std::string_view text, size_t column, std::string_view word) {
  return text.size() >= column && text.substr(column).starts_with(word);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The whole number at the start of `text` as strtol reads it (blanks, a
// sign, decimal digits; 0 when there are none), held to the int32_t range.
int32_t LeadingInteger(std::string_view text) {
  constexpr int64_t kBeyond = int64_t{INT32_MAX} + 1;
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kBeyond);
  }
  return static_cast<int32_t>(negative ? std::max(-value, int64_t{INT32_MIN}) : std::min(value, int64_t{INT32_MAX}));
}

// Copies `count` values into `block` from `at` on when they fit there.
void Put(std::span<double> block, size_t at, const double* values, size_t count) {
  if (at + count <= block.size()) std::copy_n(values, count, block.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

bool CTavImportSapOutput::ReadRawLine() { return m_file.Next(m_line); }

void CTavImportSapOutput::Mismatch(const std::string& what) const {
  throw MismatchError("line " + std::to_string(m_file.GetLine()) + ": " + what);
}

int32_t CTavImportSapOutput::CheckedIndex(double number, int32_t count, const char* what) const {
  if (!(number >= 1.0 && number < static_cast<double>(count) + 1.0)) Mismatch(std::string(what) + " not in the model");
  return static_cast<int32_t>(number) - 1;
}

int CTavImportSapOutput::GetOneLineNumber(std::string_view text, double* numbers) {
  std::fill_n(numbers, 10, 0.0);
  int count = 0;
  for (;;) {
    size_t used = 0;
    const double value = ParseLeadingDouble(text, used);
    if (used == 0) return count;
    if (count < 10) numbers[count] = value;
    ++count;
    text.remove_prefix(used);
  }
}

void CTavImportSapOutput::ArrangeByDof() {
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  double arranged[10] = {m_dNumber[0]};
  int next = 1;
  for (int dof = 0; dof < 6; ++dof) arranged[dof + 1] = active.Get(dof) ? m_dNumber[next++] : 0.0;
  std::copy_n(arranged, 10, m_dNumber);
}

int CTavImportSapOutput::ReadMarkerLine() {
  if (!ReadRawLine()) {
    m_nStation = 0;
    return kEndOfFile;
  }
  if (m_line.starts_with('\f')) {
    m_nPage = kNoPage;
    for (int i = 0; i < kTitleSearchLines && ReadRawLine(); ++i) {
      int page = 0;
      while (page < kNoPage && !m_line.starts_with(kPageTitles[page])) ++page;
      if (page < kNoPage) {
        m_nPage = page;
        break;
      }
    }
    return kPageBreak;
  }
  if (m_line.starts_with(" LOAD") || m_line.starts_with(" HIST") || m_line.starts_with(" COMB") ||
      m_line.starts_with(" MOVE")) {
    m_nStation = 0;
    m_nCaseKind = kNotImported;
    if (m_line.starts_with(" LOAD")) {
      m_nCaseKind = kLoad;
    } else if (m_line.starts_with(" COMB") || m_line.starts_with(" HIST")) {
      if (HasAt(m_line, kCaseKindColumn, " MAX")) m_nCaseKind = kMaximum;
      if (HasAt(m_line, kCaseKindColumn, " MIN")) m_nCaseKind = kMinimum;
    }
    return kCaseTitle;
  }
  if (m_line.starts_with(" ELEM")) {
    m_nStation = 0;
    m_nElement = LeadingInteger(m_line.substr(5));
    return kElement;
  }
  return kOther;
}

int CTavImportSapOutput::ReadOneLine() {
  const int marker = ReadMarkerLine();
  return marker == kOther ? ClassifyRow() : marker;
}

int CTavImportSapOutput::ClassifyRow() {
  const int n = GetOneLineNumber(m_line, m_dNumber);
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
  if (m_nLoadCase < 0 || m_nLoadCase >= cases) Mismatch("result case not in the model");
  if (m_nPage == kFramePage) {
    const int32_t beam = CheckedIndex(m_nElement, m_pData->GetCountBeam(), "frame element");
    if (m_nStation >= m_pData->GetCountResultStation()) Mismatch("more stations than the model keeps");
    // A record: the distance and six forces.
    Put(m_pData->GetResultBlock_Beam(beam, m_nLoadCase), 7 * static_cast<size_t>(m_nStation), m_dNumber, 7);
    ++m_nStation;
    return 1;
  }
  const int32_t joint = CheckedIndex(m_dNumber[0], m_pData->GetCountJoint(), "joint");
  TaV_JOINT_FORCE_TYPE kind = TaV_JOINT_REACTION;
  if (m_nPage == kDisplacementPage) kind = TaV_JOINT_DISPLACEMENT;
  if (m_nPage == kSpringPage) kind = TaV_JOINT_SPRING;
  Put(m_pData->GetResultBlock_Joint(joint, m_nLoadCase), 6 * static_cast<size_t>(kind), m_dNumber + 1, 6);
  return 1;
}

int32_t CTavImportSapOutput::ProcessLCName(std::string_view text) {
  const std::string_view field = text.substr(0, kNameLength);
  const size_t begin = field.find_first_not_of(' ');
  CString name;
  if (begin != std::string_view::npos) name = field.substr(begin, field.find_first_of(" \r\n", begin) - begin);
  if (m_nCaseKind == kMaximum) name += " MAX";
  if (m_nCaseKind == kMinimum) name += " MIN";
  int32_t index = -1;
  return m_pData->GetLoadCaseIndex(name, index) != 0 ? index : -1;
}

int CTavImportSapOutput::GetDataInfo() {
  for (int i = 0; i < kSkippedInfoLines && ReadRawLine(); ++i) {
  }
  int32_t count = 0;
  // Only the markers count here: the rows are read in the second pass.
  for (int line = ReadMarkerLine(); line != kEndOfFile; line = ReadMarkerLine()) {
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
  m_file.Rewind();
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
        m_nLoadCase = ProcessLCName(m_line.substr(kNameColumn));
        if (m_nLoadCase == -1) {
          TavMessageBox(kUnknownCase, MB_OK | MB_ICONSTOP);
          return 0;
        }
      } else if ((line == kData || line == kArrangedData) && m_nCaseKind != kNotImported) {
        ProcessDataLine();
      }
    }
    m_file.Close();
  } catch (const std::runtime_error&) {  // FileError, MismatchError
    TavMessageBox(kBadFile, MB_OK | MB_ICONSTOP);
    return 0;
  }
  return 1;
}

}  // namespace tav
