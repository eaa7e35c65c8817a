#include "analysis/JointDofs.h"

#include <numbers>
#include <utility>

#include "tav/model/OwnFormatWords.h"

namespace tav::analysis {
namespace {

// The rotation from global to a joint's axes: rows are the axes. The three
// angles turn about Z, then the new Y, then the new X (degrees).
Matrix3 JointAxes(const LocalSystem& system) {
  const double toRadians = std::numbers::pi / 180.0;
  const Eigen::AngleAxisd about3(system.angles[0] * toRadians, Vector3::UnitZ());
  const Eigen::AngleAxisd about2(system.angles[1] * toRadians, Vector3::UnitY());
  const Eigen::AngleAxisd about1(system.angles[2] * toRadians, Vector3::UnitX());
  const Matrix3 axesInGlobal = (about3 * about2 * about1).toRotationMatrix();  // columns: the axes
  return axesInGlobal.transpose();
}

std::string JointText(size_t joint) { return "joint " + std::to_string(joint + 1); }

}  // namespace

JointDofs::JointDofs(const InputDeck& deck, const Messages& messages) {
  ReadJoints(deck);
  Ties ties(Slots());
  ReadConstraints(deck, messages, ties);
  CheckMastersMoveOnTheirOwn(ties);
  NumberEquations(ties);
}

std::span<const Term> JointDofs::TermsOf(size_t slot) const {
  return std::span<const Term>(m_terms).subspan(m_firstTerms[slot], m_firstTerms[slot + 1] - m_firstTerms[slot]);
}

std::string JointDofs::SlotName(size_t slot) const {
  const size_t joint = slot / kJointDofs;
  return JointText(joint) + " in " + words::kJointDof[slot % kJointDofs] +
         (m_ownAxes[joint] ? " (its local axes)" : "");
}

void JointDofs::ReadJoints(const InputDeck& deck) {
  const size_t joints = deck.joints.size();
  m_axes.assign(joints, Matrix3::Identity());
  m_ownAxes.assign(joints, false);
  m_kinds.assign(kJointDofs * joints, SlotKind::kFree);
  for (size_t j = 0; j < joints; ++j) {
    const Joint& joint = deck.joints[j];
    if (joint.localSystem >= 0) {
      m_axes[j] = JointAxes(deck.localSystems[joint.localSystem]);
      m_ownAxes[j] = true;
    }
    for (size_t d = 0; d < kJointDofs; ++d) {
      // A degree of freedom the analysis leaves out is held everywhere.
      if (joint.restrained[d] || !deck.options.activeDof[d]) m_kinds[kJointDofs * j + d] = SlotKind::kRestrained;
    }
  }
}

void JointDofs::ReadConstraints(const InputDeck& deck, const Messages& messages, Ties& ties) {
  for (const Diaphragm& diaphragm : deck.diaphragms) {
    for (int slave : diaphragm.slaves) Tie(deck, diaphragm.master, slave, true, diaphragm.line, ties);
  }
  for (const RigidLink& link : deck.rigidLinks) {
    if (link.nonlinear) messages.Warn(Where(link.line) + "a nonlinear rigid link is analysed as a linear one");
    for (int slave : link.slaves) Tie(deck, link.master, slave, false, link.line, ties);
  }
}

// A slave's motion follows its master's as a rigid body: fully for a rigid
// link, in the global XY plane (UX, UY, RZ) for a diaphragm.
void JointDofs::Tie(const InputDeck& deck, size_t master, size_t slave, bool planeOnly, int line, Ties& ties) {
  const Joint& m = deck.joints[master];
  const Joint& s = deck.joints[slave];
  if (master == slave) throw AnalysisError(Where(line) + JointText(slave) + " is its own master");
  if (m_ownAxes[master] || m_ownAxes[slave]) {
    throw AnalysisError(Where(line) + "joints in a constraint must use global axes (" +
                        JointText(m_ownAxes[master] ? master : slave) + " has a local coordinate system)");
  }
  const double dx = s.x - m.x, dy = s.y - m.y, dz = s.z - m.z;
  const size_t base = kJointDofs * master;
  std::vector<std::pair<size_t, std::vector<Term>>> shares = {
      {0, {{base + 0, 1.0}, {base + 5, -dy}, {base + 4, dz}}},
      {1, {{base + 1, 1.0}, {base + 5, dx}, {base + 3, -dz}}},
      {5, {{base + 5, 1.0}}},
  };
  if (planeOnly) {
    shares[0].second.pop_back();  // in the plane: no rotation about X or Y takes part
    shares[1].second.pop_back();
  } else {
    shares.push_back({2, {{base + 2, 1.0}, {base + 3, dy}, {base + 4, -dx}}});
    shares.push_back({3, {{base + 3, 1.0}}});
    shares.push_back({4, {{base + 4, 1.0}}});
  }
  for (auto& [dof, combination] : shares) {
    const size_t slot = kJointDofs * slave + dof;
    if (m_kinds[slot] == SlotKind::kRestrained) {
      if (!deck.options.activeDof[dof]) continue;  // left out of the analysis anyway
      throw AnalysisError(Where(line) + JointText(slave) + " is restrained in " + words::kJointDof[dof] +
                          " and constrained to " + JointText(master));
    }
    if (m_kinds[slot] == SlotKind::kDependent) {
      throw AnalysisError(Where(line) + JointText(slave) + " is constrained twice in " + words::kJointDof[dof]);
    }
    m_kinds[slot] = SlotKind::kDependent;
    ties[slot] = std::move(combination);
  }
}

void JointDofs::CheckMastersMoveOnTheirOwn(const Ties& ties) const {
  for (const std::vector<Term>& combination : ties) {
    for (const Term& term : combination) {
      if (m_kinds[term.slot] == SlotKind::kDependent) {
        throw AnalysisError(JointText(term.slot / kJointDofs) +
                            " is the master of a constraint and the slave of another");
      }
    }
  }
}

void JointDofs::NumberEquations(const Ties& ties) {
  m_indices.assign(Slots(), 0);
  m_firstTerms.reserve(Slots() + 1);
  for (size_t slot = 0; slot < Slots(); ++slot) {
    m_firstTerms.push_back(m_terms.size());
    if (m_kinds[slot] == SlotKind::kDependent) {
      m_terms.insert(m_terms.end(), ties[slot].begin(), ties[slot].end());
      continue;
    }
    m_terms.push_back({slot, 1.0});
    std::vector<size_t>& numbered = m_kinds[slot] == SlotKind::kFree ? m_freeSlots : m_restrainedSlots;
    m_indices[slot] = numbered.size();
    numbered.push_back(slot);
  }
  m_firstTerms.push_back(m_terms.size());
}

}  // namespace tav::analysis
