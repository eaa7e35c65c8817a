// Saving the document as solver input: choosing and opening the file, and
// handing the document to the writer of the format.
#include "tav/document/TavData.h"
#include "tav/platform/File.h"
#include "tav/platform/MessageBox.h"
#include "tav/writers/LineSink.h"
#include "tav/writers/MidasInputWriter.h"
#include "tav/writers/OwnInputWriter.h"
#include "tav/writers/SapInputWriter.h"

namespace tav {
namespace {

constexpr const char* kSaveFilter = "TaV 파일 저장 (*.TaV)|*.TaV||";
// Solver inputs run to tens of megabytes; a large buffer keeps the number
// of writes to the file small.
constexpr size_t kSaveBufferSize = size_t{1} << 20;

}  // namespace

int CTavData::Save(CString path, TaV_INPUT_FORMAT format) {
  if (path.empty() && !ShowSaveFileDialog(kSaveFilter, path)) return 0;

  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return 0;
  CArchive ar(&file, CArchive::store, kSaveBufferSize);
  ArchiveLineSink sink(ar);
  switch (format) {
    case TaV_FORMAT_TAV:
      KeepComputedRectangleProperties();
      OwnInputWriter(*this, sink).Write();
      break;
    case TaV_FORMAT_SAP:
      SapInputWriter(*this, sink).Write();
      break;
    case TaV_FORMAT_MIDAS:
      MidasInputWriter(*this, sink).Write();
      break;
    default:
      break;  // an unknown format gives an empty file
  }
  ar.Close();
  file.Close();
  return 1;
}

// The own input's text of a rectangle whose IS and IT are both 0 computes
// them, and the section has always kept them; the writer only reads, so
// the document takes them here.
void CTavData::KeepComputedRectangleProperties() {
  for (const auto& group : m_arrGroup) {
    if (group->GetType() != CTavGroup::kBeam) continue;
    for (const auto& section : static_cast<CTavGroupElement&>(*group).m_arrSection) {
      if (section->m_dIS == 0.0 && section->m_dIT == 0.0) section->AutoPropCalc();
    }
  }
}

}  // namespace tav
