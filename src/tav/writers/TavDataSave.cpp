// The frame shared by the three solver input formats: choosing and opening
// the file, the order of the section writers, the line emitters and the
// wrapping of long own-format statements.
#include <algorithm>
#include <cmath>

#include "tav/model/TavData.h"
#include "tav/model/TavText.h"
#include "tav/platform/File.h"
#include "tav/platform/Format.h"
#include "tav/platform/MessageBox.h"
#include "tav/util/Tokenize.h"

namespace tav {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kSaveFilter = "TaV 파일 저장 (*.TaV)|*.TaV||";

// A statement this long or longer is re-flowed; shorter ones pass unchanged.
constexpr size_t kWrapThreshold = 80;
// A line may hold this much before the next token moves to a new line.
constexpr size_t kLineRoom = 78;
// The continuation mark stands in the column after this one.
constexpr size_t kMarkColumn = 79;
// Continuation lines are indented this much deeper than the first.
constexpr size_t kContinuationIndent = 2;

}  // namespace

int CTavData::Save(CString path, TaV_INPUT_FORMAT format) {
  using SectionWriter = int (CTavData::*)(CArchive&);
  // clang-format off
  static constexpr SectionWriter kOwnWriters[] = {
      &CTavData::WriteTitle_Tav,
      &CTavData::WriteSystem_Tav,
      &CTavData::WriteFunction_Tav,
      &CTavData::WriteLocalCoord_Tav,
      &CTavData::WriteJointInfomation_Tav,
      &CTavData::WriteJointRestraint_Tav,
      &CTavData::WriteJointConstraint_Tav,
      &CTavData::WriteJointMass_Tav,
      &CTavData::WriteJointDamp_Tav,
      &CTavData::WriteInitialConditions_Tav,
      &CTavData::WriteGroup_Tav,
      &CTavData::WriteLoadStatic_Tav,
      &CTavData::WriteLoadHistory_Tav,
      &CTavData::WriteLoadResponseSpectrum_Tav,
      &CTavData::WriteMovingLoad_Tav,
      &CTavData::WriteStop_Tav,
  };
  // clang-format on

  if (path.empty() && !ShowSaveFileDialog(kSaveFilter, path)) return 0;

  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return 0;
  CArchive ar(&file, CArchive::store);
  if (format == TaV_FORMAT_TAV) {
    for (SectionWriter writer : kOwnWriters) (this->*writer)(ar);
  }
  ar.Close();
  file.Close();
  return 1;
}

void CTavData::WriteFormatted(CArchive& ar, int wrap, const char* format, va_list args) {
  Write(ar, FormatV(format, args), 1, wrap);
}

void CTavData::Write_Tav(CArchive& ar, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteFormatted(ar, 1, format, args);
  va_end(args);
}

void CTavData::Write_Sap(CArchive& ar, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteFormatted(ar, 0, format, args);
  va_end(args);
}

void CTavData::Write_Midas(CArchive& ar, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteFormatted(ar, 0, format, args);
  va_end(args);
}

// A statement of 80 characters or more is re-flowed into lines that end
// with "*" in column 80; its tokens are never split, and continuation lines
// stand two blanks deeper than the first line.
void CTavData::Write(CArchive& ar, const CString& text, int newline, int wrap) {
  CString line = text;
  if (wrap != 0 && text.size() >= kWrapThreshold) {
    const size_t indent = std::min(text.find_first_not_of(" \t\r\n\v\f"), text.size());
    CStringArray tokens;
    SeperateText(text.substr(indent), tokens);
    line.assign(indent, ' ');
    for (size_t i = 0; i < tokens.size(); ++i) {
      if (line.size() + tokens[i].size() > kLineRoom) {
        if (line.size() < kMarkColumn) line.resize(kMarkColumn, ' ');
        line += '*';
        line += kLineEnd;
        ar.WriteString(line);
        line.assign(kContinuationIndent + indent, ' ');
      }
      line += tokens[i];
      if (i + 1 < tokens.size()) line += ' ';
    }
  }
  ar.WriteString(line);
  if (newline != 0) ar.WriteString(kLineEnd);
}

void CTavData::SeperateText(const CString& text, CStringArray& words) const { SplitAtBlanks(text, words); }

CString CTavData::GetTextReal(double value) { return GetRealText(value); }

double CTavData::GetValueRatio(double value) const {
  const double largest = std::max(std::fabs(m_dResultMax), std::fabs(m_dResultMin));
  return largest == 0.0 ? 0.0 : value / largest;
}

}  // namespace tav
