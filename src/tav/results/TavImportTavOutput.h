// Reads the own solver's binary output into a document's result store and
// composes the combinations. Borrows the document, which must outlive it
// and must not change between LoadData and the queries.
#pragma once

#include <span>
#include <vector>

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
    int32_t source;  // its result case
    double factor;
    bool magnitude;  // a response spectrum result, which acts either way
    bool first;      // the first term of an envelope that starts from it
    // Its envelopes, which bound its values; null when its result case
    // holds its only values.
    const TavCaseResponse* response;
  };
  // A term as one beam reads it (defined with the folds).
  struct BeamSource;
  // The terms that name a result case, in order.
  std::vector<Term> TermsOf(const CTavCombo& combo, bool fromFirstTerm) const;
  // Folds every term, in order, into the maximum case `target` and the
  // minimum case `target` + 1, element by element.
  template <TaV_COMBO_TYPE kType>
  void Compose(int32_t target, std::span<const Term> terms);
  // Asks for beam `beam`'s `blocks` and its terms' envelopes.
  static void Prefetch(int32_t beam, std::span<const double> blocks, std::span<const Term> terms);
  // Folds the terms into beam `beam`, whose case blocks are `blocks`.
  template <TaV_COMBO_TYPE kType>
  void ComposeBeam(int32_t beam, std::span<double> blocks, int32_t target, std::span<const Term> terms,
                   std::vector<BeamSource>& sources);
  // The records whose stations' positions the combination ends with: the
  // last term's that does not name the combination; null when every term
  // names it, whose own positions then stay.
  static const double* PositionSource(std::span<const BeamSource> sources, const double* combination);
  template <TaV_COMBO_TYPE kType>
  static void FoldStations(const Term& term, const BeamSource& from, std::span<double> maximum,
                           std::span<double> minimum);
  template <TaV_COMBO_TYPE kType>
  void ComposeJoint(int32_t joint, int32_t target, std::span<const Term> terms);
  // Folds `kCount` values of the term that range from `low` to `high`,
  // index by index; `low` is `high` for a term of one value (`kOneValue`).
  template <TaV_COMBO_TYPE kType, size_t kCount, bool kOneValue = false>
  static void FoldTerm(const Term& term, double* maximum, double* minimum, const double* high, const double* low);
  // Reads as many stations of a beam as `records` holds into the result
  // store, by way of `records` when the archive must go to its file for
  // them; the stations read whole before a damage stay there.
  // `length` is the beam's, which the stations' positions are divided by.
  void ReadStations(CArchive& ar, int32_t beam, double length, int32_t resultCase, std::span<double> records);
  void StoreStations(int32_t beam, double length, int32_t resultCase, std::span<const double> records);
  // The member forces of one case, the beams' lengths taken from `lengths`.
  int ReadMemberForce(CArchive& ar, int32_t resultCase, std::span<const double> lengths);
  std::vector<double> BeamLengths() const;
  // The result case a combination term reads, or -1 when it names nothing.
  int32_t SourceCase(const TaV_COMBO_DATA& term) const;
  // The envelopes of a solved history or moving term when the document holds
  // them in the model's shape; null otherwise.
  const TavCaseResponse* ResponseOf(const TaV_COMBO_DATA& term) const;

  CTavData* m_pData;
};

}  // namespace tav
