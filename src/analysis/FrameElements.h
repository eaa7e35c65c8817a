// The elements of the frame as the analysis uses them: beams with their
// stiffness and result stations, support springs on joints' degrees of
// freedom, and the compression-only links (gaps) between joints. Built
// from the deck once, with every check of what the analysis cannot use.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/Diagnostics.h"
#include "analysis/InputDeck.h"

namespace tav::analysis {

struct FrameBeam {
  // The element is built in its place: a frame holds tens of thousands of
  // them, and each is several kilobytes of matrices.
  template <typename... ElementArguments>
  FrameBeam(const Beam* beam, std::array<size_t, 2> ends, size_t stations, ElementArguments&&... arguments)
      : input(beam), joints(ends), element(std::forward<ElementArguments>(arguments)...), segments(stations) {}

  const Beam* input;
  std::array<size_t, 2> joints;  // I, J
  BeamElement element;
  size_t segments;  // the stations divide the beam into this many equal parts
};

// A spring between a joint's slot (see JointDofs) and the ground, in the
// joint's axes.
struct SupportSpring {
  size_t slot;
  double stiffness;
};

// A gap: stiffness along the line from joint I to joint J while it is
// closed, none while it is open.
struct GapLink {
  size_t jointI, jointJ;
  Vector3 axis;  // unit vector from I to J
  double stiffness;
};

class FrameElements {
 public:
  // Throws AnalysisError for elements the analysis cannot use.
  FrameElements(const InputDeck& deck, const Messages& messages);

  const std::vector<FrameBeam>& Beams() const { return m_beams; }  // in beam number order
  const std::vector<SupportSpring>& Springs() const { return m_springs; }
  const std::vector<GapLink>& Links() const { return m_links; }

 private:
  void AddBeams(const InputDeck& deck, const Messages& messages);
  void AddBeam(const InputDeck& deck, const Beam& beam, const Messages& messages);
  void AddSprings(const InputDeck& deck);
  void AddLinks(const InputDeck& deck);

  std::vector<FrameBeam> m_beams;
  std::vector<SupportSpring> m_springs;
  std::vector<GapLink> m_links;
};

}  // namespace tav::analysis
