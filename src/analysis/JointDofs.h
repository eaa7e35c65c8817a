// The degrees of freedom of the joints and the equations they become.
//
// Every joint has six, in its own axes (the global ones unless it has a
// local coordinate system). A slot is one of them: 6 x joint + dof, the dofs
// in the order UX UY UZ RX RY RZ. A slot is free (it has an equation),
// restrained (a support holds it, or MASTER DOF leaves it out of the
// analysis; it moves only as a load condition prescribes), or dependent (a
// constraint's slave: a combination of its master's slots).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/Diagnostics.h"
#include "analysis/InputDeck.h"

namespace tav::analysis {

inline constexpr size_t kJointDofs = 6;

enum class SlotKind { kFree, kRestrained, kDependent };

// One share of a slot's motion: `factor` times the motion of `slot`.
struct Term {
  size_t slot;
  double factor;
};

class JointDofs {
 public:
  // Throws AnalysisError for constraints the analysis cannot use.
  JointDofs(const InputDeck& deck, const Messages& messages);

  size_t Joints() const { return m_axes.size(); }
  size_t Slots() const { return m_kinds.size(); }
  size_t Equations() const { return m_freeSlots.size(); }
  SlotKind Kind(size_t slot) const { return m_kinds[slot]; }
  // A free slot's equation; a restrained slot's position among the
  // restrained ones.
  size_t Index(size_t slot) const { return m_indices[slot]; }
  // The slot of each equation, and each restrained slot, in order.
  const std::vector<size_t>& FreeSlots() const { return m_freeSlots; }
  const std::vector<size_t>& RestrainedSlots() const { return m_restrainedSlots; }
  // The free and restrained slots that a slot moves with: the slot itself
  // unless it is dependent.
  std::span<const Term> TermsOf(size_t slot) const;
  // The rotation from global axes into the joint's: rows are its axes.
  const Matrix3& Axes(size_t joint) const { return m_axes[joint]; }
  bool HasOwnAxes(size_t joint) const { return m_ownAxes[joint]; }
  // "joint 2 in RX", with " (its local axes)" when they are the joint's own.
  std::string SlotName(size_t slot) const;

 private:
  using Ties = std::vector<std::vector<Term>>;  // per slot; empty where it is independent

  void ReadJoints(const InputDeck& deck);
  void ReadConstraints(const InputDeck& deck, const Messages& messages, Ties& ties);
  void Tie(const InputDeck& deck, size_t master, size_t slave, bool planeOnly, int line, Ties& ties);
  void CheckMastersMoveOnTheirOwn(const Ties& ties) const;
  void NumberEquations(const Ties& ties);

  std::vector<Matrix3> m_axes;  // per joint
  std::vector<bool> m_ownAxes;  // per joint
  std::vector<SlotKind> m_kinds;
  std::vector<size_t> m_indices;
  std::vector<size_t> m_freeSlots;
  std::vector<size_t> m_restrainedSlots;
  std::vector<Term> m_terms;         // of every slot, one after another
  std::vector<size_t> m_firstTerms;  // per slot and one beyond: where its terms start
};

}  // namespace tav::analysis
