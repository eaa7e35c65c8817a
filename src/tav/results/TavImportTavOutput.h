// Reads the own solver's binary output into a document's result store and
// composes the combinations. Borrows the document, which must outlive it
// and must not change between LoadData and the queries.
#pragma once

#include <span>

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

  // Replaces every result of the model by the file's. Combinations are
  // composed from their terms' cases, each weighted by its first factor;
  // response spectrum terms count as magnitudes acting either way; history
  // and moving terms whose responses the document holds (read from the
  // response file before this) bring both envelopes, the others their block
  // values; envelopes start as the document's GetEnvelopeStart says. Returns 1 when every
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
  // One term of a combination as it is folded in.
  struct Term {
    int32_t source;       // its result case
    TaV_COMBO_TYPE type;  // the combination's rule
    double factor;
    bool magnitude;  // a response spectrum result, which acts either way
    bool first;      // the first term of an envelope that starts from it
    // Its envelopes, which bound its values; null when its result case
    // holds its only values.
    const TavCaseResponse* response;
  };
  // Folds the term's result case, weighted by its factor, into the maximum
  // case `target` and the minimum case `target` + 1.
  void GetMaxMinDataFromCombo(int32_t target, const Term& term);
  void FoldBeams(int32_t target, const Term& term);
  void FoldJoints(int32_t target, const Term& term);
  // Folds values of the term that range from `low` to `high`, index by index.
  static void FoldTerm(const Term& term, std::span<double> maximum, std::span<double> minimum,
                       std::span<const double> high, std::span<const double> low);
  // The result case a combination term reads, or -1 when it names nothing.
  int32_t SourceCase(const TaV_COMBO_DATA& term) const;
  // The envelopes of a solved history or moving term when the document holds
  // them in the model's shape; null otherwise.
  const TavCaseResponse* ResponseOf(const TaV_COMBO_DATA& term) const;

  CTavData* m_pData;
};

}  // namespace tav
