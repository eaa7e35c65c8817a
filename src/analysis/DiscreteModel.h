// The frame as a system of equations: its joints' degrees of freedom
// numbered as equations (JointDofs) and its elements (FrameElements), and
// the ways between them. Matrices and vectors of joints in global axes
// (element stiffnesses, loads, masses and dampers) go into the equations'
// partitions; solved equations come back as every slot's displacement and
// as joint values in global axes.
//
// Each analysis step builds on it: the static one assembles the stiffness
// once per set of gap states and solves its load conditions against it.
#pragma once

#include <span>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/FrameElements.h"
#include "analysis/InputDeck.h"
#include "analysis/JointDofs.h"
#include "analysis/SparseCholesky.h"

namespace tav::analysis {

// A symmetric matrix on the slots, in the parts the solution needs: the
// free equations among themselves (upper triangle), free equations against
// restrained positions, and restrained positions among themselves.
// A matrix on the six degrees of freedom of one or two joints, without heap
// storage.
using JointMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, 12, 12>;

struct PartitionedMatrix {
  std::vector<MatrixEntry> freeFree;
  std::vector<MatrixEntry> freeRestrained;  // row: equation, column: restrained position
  std::vector<MatrixEntry> restrainedRestrained;
};

class DiscreteModel {
 public:
  // Throws AnalysisError for input the analysis cannot use.
  DiscreteModel(const InputDeck& deck, const Messages& messages);

  const InputDeck& Deck() const { return m_deck; }
  const JointDofs& Dofs() const { return m_dofs; }
  const FrameElements& Elements() const { return m_elements; }
  size_t Equations() const { return m_dofs.Equations(); }

  // The stiffness of the beams and springs, the same whatever the gaps do.
  PartitionedMatrix BaseStiffness() const;
  // Adds the stiffness of the links whose gaps `closed` holds closed (one
  // state per link, nonzero when closed).
  void AddLinkStiffness(PartitionedMatrix& matrix, const std::vector<char>& closed) const;

  // The joints' lumped masses. A slave's mass acts on the slots it moves
  // with: a diaphragm's masses in its plane load its master, with the
  // rotational inertia of their distance from it.
  PartitionedMatrix Mass() const;
  // The joints' viscous dampers (JOINT DAMPER), gathered exactly as the
  // masses are: a slave's damper acts on the slots it moves with.
  PartitionedMatrix Damping() const;
  // A joint's lumped mass (given in its axes) in global axes.
  Eigen::Matrix<double, 6, 6> GlobalMass(size_t joint) const;

  // Adds a matrix on the six global degrees of freedom of each of `joints`
  // (in that order) to the partitions.
  // (At most two joints: the matrix lives on the stack.)
  void AddJointMatrix(PartitionedMatrix& matrix, std::span<const size_t> joints, const JointMatrix& global) const;
  // Adds a vector on the six global degrees of freedom of each of `joints`
  // to `slots` (one value per slot, in the joints' axes), a dependent
  // slot's share going to the slots it moves with.
  void AddJointVector(std::vector<double>& slots, std::span<const size_t> joints, const Eigen::VectorXd& global) const;
  // Every slot's value from the equations' solution and the restrained
  // slots' prescribed values; dependent slots follow their masters.
  std::vector<double> SlotValues(std::span<const double> equations, std::span<const double> restrained) const;
  // The three translations (first 0) or rotations (first 3) of a joint in
  // global axes, from values per slot.
  Vector3 GlobalAt(std::span<const double> slots, size_t joint, size_t first) const;

 private:
  // The six values per joint that `values` picks (masses or dampers, in
  // the joint's axes), gathered onto the slots.
  PartitionedMatrix Lumped(const Six Joint::*values) const;
  Eigen::Matrix<double, 6, 6> InGlobalAxes(size_t joint, const Six& own) const;

  const InputDeck& m_deck;
  JointDofs m_dofs;
  FrameElements m_elements;
};

}  // namespace tav::analysis
