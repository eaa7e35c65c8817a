#include "analysis/Stability.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tav::analysis {
namespace {

// An equation has no stiffness when its diagonal is not positive or is no
// more than this share of the largest diagonal of the same kind
// (translations or rotations) at the same joint, free or restrained: turning
// a joint's stiffness into other axes leaves round-off of about 1e-16 of it
// where there is none, while beside a penalty of 1e12 times its own
// stiffness a diagonal is 1e-12 of the penalty, a hundred times above this.
constexpr double kRoundOffStiffness = 1e-14;
// A pivot of the factorisation over its equation's diagonal is the pivot of
// the matrix scaled to a unit diagonal: the share of the equation's
// stiffness that is left when the equations eliminated before it are let
// go. A mechanism leaves no positive pivot or round-off of a few times
// 1e-16; a stiff link of 1e12 times the members beside it leaves about
// 1e-12. Below this threshold fewer than three of a double's sixteen digits
// of that equation would survive the elimination.
constexpr double kWeakPivot = 1e-13;
// Slots 3k to 3k + 2 are the translations, or the rotations, of a joint.
constexpr size_t kSameKind = 3;

// The diagonal of the assembled stiffness per slot, free and restrained.
std::vector<double> DiagonalBySlot(const PartitionedMatrix& stiffness, const JointDofs& dofs) {
  std::vector<double> diagonal(dofs.Slots(), 0.0);
  for (const MatrixEntry& e : stiffness.freeFree) {
    if (e.row == e.column) diagonal[dofs.FreeSlots()[e.row]] += e.value;
  }
  for (const MatrixEntry& e : stiffness.restrainedRestrained) {
    if (e.row == e.column) diagonal[dofs.RestrainedSlots()[e.row]] += e.value;
  }
  return diagonal;
}

// The first free slot without stiffness of its own (see kRoundOffStiffness).
std::optional<Weakness> Unstiff(const std::vector<double>& diagonal, const JointDofs& dofs) {
  for (const size_t slot : dofs.FreeSlots()) {
    const auto kindAtJoint = diagonal.begin() + kSameKind * (slot / kSameKind);
    double largest = 0.0;
    for (auto d = kindAtJoint; d != kindAtJoint + kSameKind; ++d) largest = std::max(largest, std::fabs(*d));
    const double own = diagonal[slot];
    if (own <= 0.0 || own <= kRoundOffStiffness * largest) return Weakness{slot, "has no stiffness"};
  }
  return std::nullopt;
}

// The free slot with the weakest pivot against its own diagonal, when that
// is below kWeakPivot.
std::optional<Weakness> WeakPivot(const std::vector<double>& diagonal, const JointDofs& dofs,
                                  const SparseCholesky& cholesky) {
  const std::vector<double> pivots = cholesky.Pivots();
  const std::vector<size_t>& freeSlots = dofs.FreeSlots();
  std::optional<Weakness> weakest;
  double smallest = kWeakPivot;
  for (size_t eq = 0; eq < freeSlots.size(); ++eq) {
    const double relative = pivots[eq] / diagonal[freeSlots[eq]];
    if (relative < smallest) {
      smallest = relative;
      weakest = Weakness{freeSlots[eq], "moves without resistance"};
    }
  }
  return weakest;
}

}  // namespace

std::optional<Weakness> FactoriseStiffness(const PartitionedMatrix& stiffness, const JointDofs& dofs,
                                           SparseCholesky& cholesky, Timings& timings) {
  const std::vector<double> diagonal = DiagonalBySlot(stiffness, dofs);
  if (std::optional<Weakness> weakness = Unstiff(diagonal, dofs)) return weakness;
  if (dofs.Equations() == 0) return std::nullopt;
  const auto start = Clock::now();
  int32_t failed = -1;
  const bool factored = cholesky.Factor(static_cast<int32_t>(dofs.Equations()), stiffness.freeFree, failed);
  timings.factor += SecondsSince(start);
  if (!factored) {
    return Weakness{failed >= 0 ? std::optional<size_t>(dofs.FreeSlots()[failed]) : std::nullopt,
                    "has no stiffness left"};
  }
  timings.flops += cholesky.Flops();
  ++timings.factorisations;
  return WeakPivot(diagonal, dofs, cholesky);
}

}  // namespace tav::analysis
