#include "analysis/DiscreteModel.h"

#include <algorithm>
#include <array>

#include "tav/platform/Memory.h"

namespace tav::analysis {
namespace {

MatrixEntry Entry(size_t row, size_t column, double value) {
  return {static_cast<int32_t>(row), static_cast<int32_t>(column), value};
}

}  // namespace

DiscreteModel::DiscreteModel(const InputDeck& deck, const Messages& messages)
    : m_deck(deck), m_dofs(deck, messages), m_elements(deck, messages) {}

PartitionedMatrix DiscreteModel::BaseStiffness() const {
  PartitionedMatrix matrix;
  // Room for every beam's upper triangle: what is not filled is never
  // touched, and the list is not copied as it grows.
  constexpr size_t kUpperTriangle = 2 * kJointDofs * (2 * kJointDofs + 1) / 2;
  matrix.freeFree.reserve(kUpperTriangle * m_elements.Beams().size());
  AdviseHugePages(matrix.freeFree.data(), matrix.freeFree.capacity() * sizeof(MatrixEntry));
  for (const FrameBeam& beam : m_elements.Beams()) AddJointMatrix(matrix, beam.joints, beam.element.GlobalStiffness());
  for (const SupportSpring& spring : m_elements.Springs()) {
    if (m_dofs.Kind(spring.slot) == SlotKind::kRestrained) continue;  // the restraint holds it
    const size_t joint = spring.slot / kJointDofs;
    JointMatrix k = JointMatrix::Zero(6, 6);
    k(spring.slot % kJointDofs, spring.slot % kJointDofs) = spring.stiffness;
    // Springs act in the joint's own axes: undo the turn AddJointMatrix applies.
    const Matrix3& r = m_dofs.Axes(joint);
    JointMatrix global = k;
    for (int part = 0; part < 2; ++part) {
      global.block<3, 3>(3 * part, 3 * part) = r.transpose() * k.block<3, 3>(3 * part, 3 * part) * r;
    }
    AddJointMatrix(matrix, std::array<size_t, 1>{joint}, global);
  }
  return matrix;
}

PartitionedMatrix DiscreteModel::Mass() const { return Lumped(&Joint::mass); }

PartitionedMatrix DiscreteModel::Damping() const { return Lumped(&Joint::damping); }

PartitionedMatrix DiscreteModel::Lumped(const Six Joint::*values) const {
  PartitionedMatrix matrix;
  for (size_t joint = 0; joint < m_dofs.Joints(); ++joint) {
    const Six& own = m_deck.joints[joint].*values;
    if (std::all_of(own.begin(), own.end(), [](double v) { return v == 0.0; })) continue;
    AddJointMatrix(matrix, std::array<size_t, 1>{joint}, InGlobalAxes(joint, own));
  }
  return matrix;
}

Eigen::Matrix<double, 6, 6> DiscreteModel::GlobalMass(size_t joint) const {
  return InGlobalAxes(joint, m_deck.joints[joint].mass);
}

Eigen::Matrix<double, 6, 6> DiscreteModel::InGlobalAxes(size_t joint, const Six& own) const {
  const Matrix3& r = m_dofs.Axes(joint);
  Eigen::Matrix<double, 6, 6> global = Eigen::Matrix<double, 6, 6>::Zero();
  for (int part = 0; part < 2; ++part) {
    const Vector3 diagonal(own[3 * part], own[3 * part + 1], own[3 * part + 2]);
    global.block<3, 3>(3 * part, 3 * part) = r.transpose() * diagonal.asDiagonal() * r;
  }
  return global;
}

void DiscreteModel::AddLinkStiffness(PartitionedMatrix& matrix, const std::vector<char>& closed) const {
  const std::vector<GapLink>& links = m_elements.Links();
  for (size_t l = 0; l < links.size(); ++l) {
    if (closed[l] == 0) continue;
    const GapLink& link = links[l];
    const Matrix3 axial = link.stiffness * link.axis * link.axis.transpose();
    JointMatrix k = JointMatrix::Zero(12, 12);
    k.block<3, 3>(0, 0) = axial;
    k.block<3, 3>(6, 6) = axial;
    k.block<3, 3>(0, 6) = -axial;
    k.block<3, 3>(6, 0) = -axial;
    AddJointMatrix(matrix, std::array<size_t, 2>{link.jointI, link.jointJ}, k);
  }
}

void DiscreteModel::AddJointMatrix(PartitionedMatrix& matrix, std::span<const size_t> joints,
                                   const JointMatrix& global) const {
  // Into each joint's own axes.
  JointMatrix k = global;
  for (size_t j = 0; j < joints.size(); ++j) {
    if (!m_dofs.HasOwnAxes(joints[j])) continue;
    const Matrix3& r = m_dofs.Axes(joints[j]);
    for (size_t part = 0; part < 2; ++part) {
      const Eigen::Index at = kJointDofs * j + 3 * part;
      k.middleRows(at, 3) = (r * k.middleRows(at, 3)).eval();
      k.middleCols(at, 3) = (k.middleCols(at, 3) * r.transpose()).eval();
    }
  }
  const size_t n = kJointDofs * joints.size();
  std::array<std::span<const Term>, 2 * kJointDofs> terms;
  for (size_t a = 0; a < n; ++a) terms[a] = m_dofs.TermsOf(kJointDofs * joints[a / kJointDofs] + a % kJointDofs);
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) {
      const double value = k(a, b);
      if (value == 0.0) continue;
      for (const Term& t1 : terms[a]) {
        for (const Term& t2 : terms[b]) {
          const double v = value * t1.factor * t2.factor;
          const SlotKind k1 = m_dofs.Kind(t1.slot);
          const SlotKind k2 = m_dofs.Kind(t2.slot);
          const size_t i1 = m_dofs.Index(t1.slot);
          const size_t i2 = m_dofs.Index(t2.slot);
          if (k1 == SlotKind::kFree && k2 == SlotKind::kFree) {
            if (i1 <= i2) matrix.freeFree.push_back(Entry(i1, i2, v));
          } else if (k1 == SlotKind::kFree) {
            matrix.freeRestrained.push_back(Entry(i1, i2, v));
          } else if (k1 == SlotKind::kRestrained && k2 == SlotKind::kRestrained) {
            matrix.restrainedRestrained.push_back(Entry(i1, i2, v));
          }
        }
      }
    }
  }
}

void DiscreteModel::AddJointVector(std::vector<double>& slots, std::span<const size_t> joints,
                                   const Eigen::VectorXd& global) const {
  for (size_t j = 0; j < joints.size(); ++j) {
    const size_t joint = joints[j];
    Eigen::Matrix<double, 6, 1> part = global.segment<6>(kJointDofs * j);
    if (m_dofs.HasOwnAxes(joint)) {
      const Matrix3& r = m_dofs.Axes(joint);
      part.head<3>() = (r * part.head<3>()).eval();
      part.tail<3>() = (r * part.tail<3>()).eval();
    }
    for (size_t d = 0; d < kJointDofs; ++d) {
      for (const Term& term : m_dofs.TermsOf(kJointDofs * joint + d)) slots[term.slot] += term.factor * part(d);
    }
  }
}

std::vector<double> DiscreteModel::SlotValues(std::span<const double> equations,
                                              std::span<const double> restrained) const {
  std::vector<double> values(m_dofs.Slots(), 0.0);
  const std::vector<size_t>& freeSlots = m_dofs.FreeSlots();
  const std::vector<size_t>& restrainedSlots = m_dofs.RestrainedSlots();
  for (size_t eq = 0; eq < freeSlots.size(); ++eq) values[freeSlots[eq]] = equations[eq];
  for (size_t r = 0; r < restrainedSlots.size(); ++r) values[restrainedSlots[r]] = restrained[r];
  for (size_t slot = 0; slot < values.size(); ++slot) {
    if (m_dofs.Kind(slot) != SlotKind::kDependent) continue;
    double value = 0.0;
    for (const Term& term : m_dofs.TermsOf(slot)) value += term.factor * values[term.slot];
    values[slot] = value;
  }
  return values;
}

Vector3 DiscreteModel::GlobalAt(std::span<const double> slots, size_t joint, size_t first) const {
  const size_t at = kJointDofs * joint + first;
  const Matrix3 toGlobal = m_dofs.Axes(joint).transpose();
  return Vector3(toGlobal * Vector3(slots[at], slots[at + 1], slots[at + 2]));
}

}  // namespace tav::analysis
