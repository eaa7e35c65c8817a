// The Sap text input (".s2k"): keyword blocks, one statement a line, never
// wrapped. Sections, materials and frames come from the first beam group
// only, link properties from the first link group only. The blocks of the
// format this model has nothing for (constraints, masses, shells, patterns,
// functions, histories, spectra, modes, P-delta, lanes, vehicles, moving
// loads) are not written.
//
// The writer borrows the document and the sink, both of which must outlive
// it, and changes neither.
#pragma once

#include "tav/document/TavData.h"
#include "tav/writers/LineSink.h"

namespace tav {

class SapInputWriter {
 public:
  SapInputWriter(const CTavData& document, LineSink& sink) : document_(document), lines_(sink) {}

  // Every section, in file order.
  void Write();

  // The sections, each alone, in file order.
  void WriteSystem();
  void WriteJoints();
  void WriteLocalSystems();
  void WriteRestraints();
  void WriteSprings();
  void WriteMaterials();
  void WriteLinkProperties();
  void WriteFrameSections();
  void WriteFrames();
  void WriteLinks();
  void WriteLoads();
  void WriteCombinations();
  void WriteOutput();

 private:
  void Line(const CString& text) { lines_.Line(text); }
  // The first group of `kind` in the group list, or none.
  const CTavGroup* FindFirstGroup(int32_t kind) const;
  const CTavGroupElement* FirstBeamGroup() const;
  void WriteLoadCase(const CTavLoadStatic& loadCase);

  const CTavData& document_;
  LineBuilder lines_;
};

}  // namespace tav
