// Reads the own solver's binary output into a document's result store and
// composes the combinations. Borrows the document, which must outlive it
// and must not change between LoadData and the queries.
#pragma once

#include "tav/document/TavData.h"
#include "tav/platform/Archive.h"
#include "tav/platform/String.h"

namespace tav {

class CTavImportTavOutput {
 public:
  explicit CTavImportTavOutput(CTavData* data) : m_pData(data) {}
  virtual ~CTavImportTavOutput() = default;
  CTavImportTavOutput(const CTavImportTavOutput&) = default;
  CTavImportTavOutput& operator=(const CTavImportTavOutput&) = default;

  // Replaces every result of the model by the file's. Returns 1 when every
  // load case was read and the combinations composed; 0 when the file cannot
  // be opened (no message), or when the model's results do not fit in memory
  // or the file is short, damaged or made for another model (after the
  // message box saying so; what was read stays).
  int LoadData(const CString& path);

 protected:
  int ReadDisplacement(CArchive& ar, int32_t resultCase);
  int ReadMemberForce(CArchive& ar, int32_t resultCase);
  int ReadReaction(CArchive& ar, int32_t resultCase);
  // Every combination, in order, from its terms' result cases.
  void ComposeComboData();

 private:
  // Folds result case `source`, weighted by `factor`, into the maximum case
  // `target` and the minimum case `target` + 1.
  void GetMaxMinDataFromCombo(int32_t target, int32_t source, TaV_COMBO_TYPE type, double factor);
  // The result case a combination term reads, or -1 when it names nothing.
  int32_t SourceCase(const TaV_COMBO_DATA& term) const;

  CTavData* m_pData;
};

}  // namespace tav
