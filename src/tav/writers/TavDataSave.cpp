// The frame shared by the three solver input formats: choosing and opening
// the file, the order of the section writers, the line emitters and the
// wrapping of long own-format statements.
#include <algorithm>
#include <cmath>

#include "tav/document/TavData.h"
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
  static constexpr SectionWriter kSapWriters[] = {
      &CTavData::WriteSystem_Sap,
      &CTavData::WriteJoint_Sap,
      &CTavData::WriteLocal_Sap,
      &CTavData::WriteRestaint_Sap,
      &CTavData::WriteConstraints_Sap,
      &CTavData::WriteSpring_Sap,
      &CTavData::WriteMass_Sap,
      &CTavData::WriteMaterial_Sap,
      &CTavData::WriteNLProp_Sap,
      &CTavData::WriteFrameSection_Sap,
      &CTavData::WriteShellSection_Sap,
      &CTavData::WriteFrame_Sap,
      &CTavData::WriteShell_Sap,
      &CTavData::WriteNLLink_Sap,
      &CTavData::WritePattern_Sap,
      &CTavData::WriteLoad_Sap,
      &CTavData::WriteFunction_Sap,
      &CTavData::WriteHistory_Sap,
      &CTavData::WriteSpec_Sap,
      &CTavData::WriteResponseSpectrum_Sap,
      &CTavData::WriteMode_Sap,
      &CTavData::WritePDelta_Sap,
      &CTavData::WriteLane_Sap,
      &CTavData::WriteVehicle_Sap,
      &CTavData::WriteVehicleClass_Sap,
      &CTavData::WriteMovingLoad_Sap,
      &CTavData::WriteCombo_Sap,
      &CTavData::WriteOutput_Sap,
  };
  static constexpr SectionWriter kMidasWriters[] = {
      &CTavData::WriteTitle_Midas,
      &CTavData::WriteVersion,
      &CTavData::WriteUnit_Midas,
      &CTavData::WriteStructType_Midas,
      &CTavData::WriteNode_Midas,
      &CTavData::WriteElement_Midas,
      &CTavData::WriteMaterial_Midas,
      &CTavData::WriteSection_Midas,
      &CTavData::WriteSpring_Midas,
      &CTavData::WriteLoadCaseName_Midas,
      &CTavData::WriteLoadCase_Midas,
      &CTavData::WriteLoadCombo_Midas,
      &CTavData::WriteEndMessage_Midas,
  };
  // clang-format on

  if (path.empty() && !ShowSaveFileDialog(kSaveFilter, path)) return 0;

  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return 0;
  CArchive ar(&file, CArchive::store);
  switch (format) {
    case TaV_FORMAT_TAV:
      for (SectionWriter writer : kOwnWriters) (this->*writer)(ar);
      break;
    case TaV_FORMAT_SAP:
      for (SectionWriter writer : kSapWriters) (this->*writer)(ar);
      break;
    case TaV_FORMAT_MIDAS:
      for (SectionWriter writer : kMidasWriters) (this->*writer)(ar);
      break;
    default:
      break;  // an unknown format gives an empty file
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

const CTavGroup* CTavData::FindFirstGroup(int32_t kind) const {
  for (const auto& group : m_arrGroup) {
    if (group->GetType() == kind) return group.get();
  }
  return nullptr;
}

void CTavData::SeperateText(const CString& text, CStringArray& words) const { SplitAtBlanks(text, words); }

CString CTavData::GetTextReal(double value) { return GetRealText(value); }

CString CTavData::RealText(double value) const { return GetRealText(value, m_eRealPrecision); }

double CTavData::GetValueRatio(double value) const {
  const double largest = std::max(std::fabs(m_dResultMax), std::fabs(m_dResultMin));
  return largest == 0.0 ? 0.0 : value / largest;
}

}  // namespace tav
