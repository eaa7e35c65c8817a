// Whether the structure stands, judged per equation so that a stiff
// support or link (a penalty) beside soft members is no instability in
// itself (docs/analysis.md, "Stability"), and the factorisation of its
// stiffness when it does.
#pragma once

#include <optional>
#include <string>

#include "analysis/DiscreteModel.h"
#include "analysis/JointDofs.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// Where a structure gives way: a slot (none when the factorisation could
// not tell) and how ("has no stiffness").
struct Weakness {
  std::optional<size_t> slot;
  std::string how;
};

// Factorises the free equations of `stiffness` into `cholesky`, or tells
// where the structure gives way: an equation without stiffness of its own,
// one the factorisation finds none left in, or one with a weak pivot.
std::optional<Weakness> FactoriseStiffness(const PartitionedMatrix& stiffness, const JointDofs& dofs,
                                           SparseCholesky& cholesky, Timings& timings);

}  // namespace tav::analysis
