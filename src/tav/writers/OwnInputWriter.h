// The own solver input (".TaV"): sections of statements from the title to
// STOP, each statement of 80 characters or more wrapped with "*" marks.
//
// The writer borrows the document and the sink, both of which must outlive
// it, and changes neither the document nor anything it holds. Reals are
// written in the document's precision (GetRealPrecision). A rectangular
// section whose IS and IT are both 0 is written with the values computed
// from its dimensions; CTavData::Save keeps them in the section first, as
// writing always has.
#pragma once

#include "tav/document/TavData.h"
#include "tav/writers/LineSink.h"

namespace tav {

class OwnInputWriter {
 public:
  OwnInputWriter(const CTavData& document, LineSink& sink);

  // Every section, in file order.
  void Write();

  // The sections, each alone, in file order.
  void WriteTitle();
  void WriteSystem();
  void WriteFunctions();
  void WriteLocalCoords();
  void WriteJoints();
  void WriteRestraints();
  void WriteConstraints();
  void WriteMasses();
  void WriteDampers();
  void WriteInitialConditions();
  void WriteGroups();
  void WriteStaticLoads();
  void WriteHistoryLoads();
  void WriteSpectrumLoads();
  void WriteMovingLoads();
  void WriteStop();

 private:
  void Statement(std::string_view text) { statements_.Line(text); }
  CString Real(double value) const;

  void WriteEigenStatements(const CTavGlobalOption& options);
  void WriteCountStatement();
  void WriteBeamGroup(const CTavGroupElement& group, int32_t segments);
  void WriteSpringGroup(const CTavGroupSpring& group);
  void WriteLinkGroup(const CTavGroupNllink& group);
  void WriteHistoryJointLoads(const CTavLoadHistory& loadCase);
  void WriteBeamLoads(const CTavLoadStatic& loadCase);
  void WriteDisplacementLoads(const CTavLoadStatic& loadCase, const char* heading);
  // "     FUNCTION=n FZ=factor ACC=acceleration" of history and spectrum cases.
  void WriteExcitation(const CTavSelfWeight& weight);

  const CTavData& document_;
  LineSink& lines_;
  WrappingLineSink wrapping_;
  LineBuilder statements_;
  TaV_REAL_PRECISION precision_;
};

}  // namespace tav
