// The Midas text input (".mct"): keyword blocks with ";" comments and
// comma-separated records, most blocks closed by a separator line (a line
// feed, then the line end). Two record layouts exist, chosen by the
// document's version text ("4.3.0" or "7.2.0"); any other text writes
// neither variant. The sections of all beam groups are numbered together
// from 1, group by group.
//
// The writer borrows the document and the sink, both of which must outlive
// it, and changes neither.
#pragma once

#include "tav/document/TavData.h"
#include "tav/writers/LineSink.h"

namespace tav {

class MidasInputWriter {
 public:
  MidasInputWriter(const CTavData& document, LineSink& sink);

  // Every section, in file order.
  void Write();

  // The sections, each alone, in file order.
  void WriteTitle();
  void WriteVersion();
  void WriteUnit();
  void WriteStructType();
  void WriteNodes();
  void WriteElements();
  void WriteMaterials();
  void WriteSections();
  void WriteSprings();
  void WriteLoadCaseNames();
  void WriteLoadCases();
  void WriteCombinations();
  void WriteEnd();

 private:
  void Line(const CString& text) { lines_.Line(text); }
  void Separator() { lines_.Line("\n"); }
  // Each section of the beam groups with its number, counted from 1 over
  // all beam groups.
  template <typename Visit>
  void ForEachBeamSection(Visit visit) const;
  void WriteLoadCase(const CTavLoadStatic& loadCase);
  void WriteCombination(const CTavCombo& combo);

  const CTavData& document_;
  LineBuilder lines_;
  bool version430_;
  bool version720_;
};

}  // namespace tav
