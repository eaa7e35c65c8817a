// The document's protected writer members, kept for hosts that derive from
// CTavData: each forwards to the writer classes, which do the work.
#include "tav/document/TavData.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"
#include "tav/writers/LineSink.h"
#include "tav/writers/MidasInputWriter.h"
#include "tav/writers/OwnInputWriter.h"
#include "tav/writers/SapInputWriter.h"

namespace tav {
namespace {

using Own = OwnInputWriter;
using Sap = SapInputWriter;
using Midas = MidasInputWriter;

// One section of a writer into `ar`.
template <typename Writer>
int WriteSection(const CTavData& document, CArchive& ar, void (Writer::*section)()) {
  ArchiveLineSink sink(ar);
  Writer writer(document, sink);
  (writer.*section)();
  return 1;
}

// `text` as one statement (wrapped like the own format's when `wrap`), its
// line end written only when `lineEnd`.
void WriteText(CArchive& ar, const CString& text, bool lineEnd, bool wrap) {
  const std::vector<std::string> lines = wrap ? WrapStatement(text) : std::vector<std::string>{text};
  ArchiveLineSink sink(ar);
  for (size_t i = 0; i + 1 < lines.size(); ++i) sink.Line(lines[i]);
  ar.WriteString(lines.back());
  if (lineEnd) ar.WriteString(kLineEnd);
}

}  // namespace

void CTavData::Write(CArchive& ar, const CString& text, int newline, int wrap) {
  WriteText(ar, text, newline != 0, wrap != 0);
}

void CTavData::WriteFormatted(CArchive& ar, int wrap, const char* format, va_list args) {
  WriteText(ar, FormatV(format, args), true, wrap != 0);
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

CString CTavData::GetTextReal(double value) { return GetRealText(value); }

CString CTavData::RealText(double value) const { return GetRealText(value, m_settings.precision); }

void CTavData::SeperateText(const CString& text, CStringArray& words) const { SplitAtBlanks(text, words); }

int CTavData::WriteTitle_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteTitle); }
int CTavData::WriteSystem_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteSystem); }
int CTavData::WriteFunction_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteFunctions); }
int CTavData::WriteLocalCoord_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteLocalCoords); }
int CTavData::WriteJointInfomation_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteJoints); }
int CTavData::WriteJointRestraint_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteRestraints); }
int CTavData::WriteJointConstraint_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteConstraints); }
int CTavData::WriteJointMass_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteMasses); }
int CTavData::WriteJointDamp_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteDampers); }
int CTavData::WriteInitialConditions_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteInitialConditions); }
// As Save does, the section keeps the rectangle properties its text computes.
int CTavData::WriteGroup_Tav(CArchive& ar) {
  KeepComputedRectangleProperties();
  return WriteSection(*this, ar, &Own::WriteGroups);
}
int CTavData::WriteLoadStatic_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteStaticLoads); }
int CTavData::WriteLoadHistory_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteHistoryLoads); }
int CTavData::WriteLoadResponseSpectrum_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteSpectrumLoads); }
int CTavData::WriteMovingLoad_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteMovingLoads); }
int CTavData::WriteStop_Tav(CArchive& ar) { return WriteSection(*this, ar, &Own::WriteStop); }

int CTavData::WriteSystem_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteSystem); }
int CTavData::WriteJoint_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteJoints); }
int CTavData::WriteLocal_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteLocalSystems); }
int CTavData::WriteRestaint_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteRestraints); }
int CTavData::WriteSpring_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteSprings); }
int CTavData::WriteMaterial_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteMaterials); }
int CTavData::WriteNLProp_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteLinkProperties); }
int CTavData::WriteFrameSection_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteFrameSections); }
int CTavData::WriteFrame_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteFrames); }
int CTavData::WriteNLLink_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteLinks); }
int CTavData::WriteLoad_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteLoads); }
int CTavData::WriteCombo_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteCombinations); }
int CTavData::WriteOutput_Sap(CArchive& ar) { return WriteSection(*this, ar, &Sap::WriteOutput); }

int CTavData::WriteTitle_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteTitle); }
int CTavData::WriteVersion(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteVersion); }
int CTavData::WriteUnit_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteUnit); }
int CTavData::WriteStructType_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteStructType); }
int CTavData::WriteNode_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteNodes); }
int CTavData::WriteElement_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteElements); }
int CTavData::WriteMaterial_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteMaterials); }
int CTavData::WriteSection_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteSections); }
int CTavData::WriteSpring_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteSprings); }
int CTavData::WriteLoadCaseName_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteLoadCaseNames); }
int CTavData::WriteLoadCase_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteLoadCases); }
int CTavData::WriteLoadCombo_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteCombinations); }
int CTavData::WriteEndMessage_Midas(CArchive& ar) { return WriteSection(*this, ar, &Midas::WriteEnd); }

}  // namespace tav
