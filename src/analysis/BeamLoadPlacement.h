// Where a beam load of the input acts: the beam it names by its joints and
// roll angle, and its pieces on that beam's span. The ends of a piece are
// compared with the beam's length within what the texts of the numbers
// resolve, so that a load over the full length is exactly full length
// (docs/analysis.md, "Beam loads").
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/Diagnostics.h"
#include "analysis/FrameElements.h"
#include "analysis/InputDeck.h"

namespace tav::analysis {

class BeamLoadPlacement {
 public:
  BeamLoadPlacement(const InputDeck& deck, const FrameElements& elements, const Messages& messages);

  // `name` begins every message about the load ("line 14: beam load 1 of
  // static load condition 1").
  //
  // The position of the beam that takes the load. The roll angle tells
  // apart beams between the same joints, equal within what the two angle
  // texts resolve; of beams it cannot tell apart the lowest-numbered takes
  // the load, with a warning. Throws AnalysisError when no beam matches.
  size_t BeamOf(const BeamLoad& load, const std::string& name) const;
  // The load's pieces on the span of beam `beam`, in its local axes. Throws
  // AnalysisError for a piece that lies outside the beam.
  std::vector<SpanLoad> PiecesOn(size_t beam, const BeamLoad& load, const std::string& name) const;

 private:
  SpanLoad Fit(const FrameBeam& beam, const BeamLoadPiece& piece, double lengthUncertainty,
               const std::string& name) const;
  double LengthUncertainty(const Beam& beam, double length) const;

  const InputDeck& m_deck;
  const FrameElements& m_elements;
  const Messages& m_messages;
  std::map<std::pair<int, int>, std::vector<size_t>> m_beamsByJoints;  // by joints I, J; in number order
};

}  // namespace tav::analysis
