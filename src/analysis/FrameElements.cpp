#include "analysis/FrameElements.h"

#include <algorithm>
#include <string>

#include "analysis/JointDofs.h"
#include "tav/platform/Memory.h"

namespace tav::analysis {
namespace {

Vector3 PointOf(const Joint& joint) { return Vector3(joint.x, joint.y, joint.z); }

BeamProperties PropertiesOf(const Section& section) {
  BeamProperties p;
  p.e = section.e;
  p.g = section.e / (2.0 * (1.0 + section.poisson));
  p.area = section.area;
  p.torsion = section.j;
  p.inertia2 = section.is;
  p.inertia3 = section.it;
  p.shear2 = section.asht;
  p.shear3 = section.ashs;
  return p;
}

// The model-wide count of force segments, or the beam's own when it asks
// for no more.
int SegmentsOf(const Beam& beam) {
  const int segments = std::max(beam.segments, 1);
  return beam.ownSegments > 0 && beam.ownSegments <= segments ? beam.ownSegments : segments;
}

}  // namespace

FrameElements::FrameElements(const InputDeck& deck, const Messages& messages) {
  AddBeams(deck, messages);
  AddSprings(deck);
  AddLinks(deck);
}

void FrameElements::AddBeams(const InputDeck& deck, const Messages& messages) {
  std::vector<const Beam*> ordered;
  for (const BeamGroup& group : deck.beamGroups) {
    for (const Beam& beam : group.beams) ordered.push_back(&beam);
  }
  std::sort(ordered.begin(), ordered.end(), [](const Beam* a, const Beam* b) { return a->number < b->number; });
  m_beams.reserve(ordered.size());
  // Tens of thousands of elements of a kilobyte and more: filled with few
  // page faults when the system gives huge pages.
  AdviseHugePages(m_beams.data(), m_beams.capacity() * sizeof(FrameBeam));
  for (size_t position = 0; position < ordered.size(); ++position) {
    const Beam& beam = *ordered[position];
    if (static_cast<size_t>(beam.number) != position) {
      throw AnalysisError(Where(beam.line) + "beam numbers must run 1, 2, 3 ... over all groups; beam " +
                          std::to_string(beam.number + 1) + " is out of place");
    }
    AddBeam(deck, beam, messages);
  }
}

void FrameElements::AddBeam(const InputDeck& deck, const Beam& beam, const Messages& messages) {
  const Vector3 pointI = PointOf(deck.joints[beam.jointI]);
  const Vector3 pointJ = PointOf(deck.joints[beam.jointJ]);
  const double length = (pointJ - pointI).norm();
  const std::string name = Where(beam.line) + "beam " + std::to_string(beam.number + 1);
  if (length <= 0.0) throw AnalysisError(name + " has no length (both ends at one point)");
  const Section& section = deck.beamGroups[beam.group].sections[beam.section];
  if (section.e <= 0.0) throw AnalysisError(name + ": its section has no modulus of elasticity (E)");
  if (section.area <= 0.0) throw AnalysisError(name + ": its section has no area");
  const double rigidI = beam.rigid * beam.offsetI;
  const double rigidJ = beam.rigid * beam.offsetJ;
  if (rigidI < 0.0 || rigidJ < 0.0 || rigidI + rigidJ >= length) {
    throw AnalysisError(name + ": its rigid end zones leave nothing of its length");
  }
  const int segments = SegmentsOf(beam);
  if (beam.ownSegments > beam.segments) {
    messages.Warn(name + " asks for " + std::to_string(beam.ownSegments) + " segments; the results keep " +
                  std::to_string(segments));
  }
  m_beams.emplace_back(&beam, std::array{static_cast<size_t>(beam.jointI), static_cast<size_t>(beam.jointJ)},
                       static_cast<size_t>(segments), pointI, pointJ, beam.angle, PropertiesOf(section), beam.releaseI,
                       beam.releaseJ, rigidI, rigidJ);
}

void FrameElements::AddSprings(const InputDeck& deck) {
  for (const SpringGroup& group : deck.springGroups) {
    for (const Spring& spring : group.springs) {
      const SpringConstant& constant = group.constants[spring.constant];
      // A single-degree spring acts along the joint's first axis; a
      // multi-degree one along all three, with its three stiffnesses.
      const size_t count = constant.multi ? 3 : 1;
      for (size_t d = 0; d < count; ++d) {
        const double k = constant.stiffness[d];
        if (k != 0.0) m_springs.push_back({kJointDofs * spring.joint + d, k});
      }
    }
  }
}

void FrameElements::AddLinks(const InputDeck& deck) {
  for (const LinkGroup& group : deck.linkGroups) {
    for (const Link& link : group.links) {
      const Vector3 along = PointOf(deck.joints[link.jointJ]) - PointOf(deck.joints[link.jointI]);
      if (along.norm() <= 0.0) {
        throw AnalysisError(Where(link.line) + "link " + std::to_string(link.number + 1) + " has no length");
      }
      m_links.push_back({static_cast<size_t>(link.jointI), static_cast<size_t>(link.jointJ), along.normalized(),
                         group.properties[link.property].k0});
    }
  }
}

}  // namespace tav::analysis
