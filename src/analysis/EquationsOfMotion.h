// The equations of motion of a history load condition on the free
// equations,
//   M u'' + C u' + K u = p(t),
// with the load known at the steps t_k = k dt (k = 0 .. N) as a sum of
// load vectors, each scaled by its own function: p_k = sum_g f_g(t_k) p_g.
// Beside them, what the direct integrations share: which equations carry
// mass, the small blocks the lumped masses fall into, the static
// condensation of the equations that carry neither mass nor damper, and the
// state at the start.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <Eigen/Dense>

#include "analysis/DiscreteModel.h"
#include "analysis/EigenSolver.h"
#include "analysis/JointDofs.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// A load vector on the free equations and its function's value at every
// step.
struct ScaledLoad {
  Eigen::VectorXd vector;
  std::vector<double> factors;
};

// Takes each step's displacements of the free equations, from step 0 on.
using StepSink = std::function<void(size_t step, const Eigen::VectorXd& displacements)>;

class EquationsOfMotion {
 public:
  // Copies the free equations' parts of the three matrices; borrows `dofs`
  // (to name equations in messages), which must outlive it.
  EquationsOfMotion(const JointDofs& dofs, const PartitionedMatrix& stiffness, const PartitionedMatrix& mass,
                    const PartitionedMatrix& damping, double dt, size_t steps);

  void AddLoad(ScaledLoad load) { m_loads.push_back(std::move(load)); }

  Eigen::Index Equations() const { return m_stiffness.rows(); }
  double Dt() const { return m_dt; }
  size_t Steps() const { return m_steps; }  // N: the states are 0 .. N
  const JointDofs& Dofs() const { return m_dofs; }
  // Full symmetric matrices.
  const SparseMatrix& Stiffness() const { return m_stiffness; }
  const SparseMatrix& Mass() const { return m_mass; }
  const SparseMatrix& Damping() const { return m_damping; }
  const std::vector<ScaledLoad>& Loads() const { return m_loads; }
  const std::vector<MatrixEntry>& StiffnessUpper() const { return m_stiffnessUpper; }
  // The upper triangle of K + massFactor M + dampingFactor C.
  std::vector<MatrixEntry> Combined(double massFactor, double dampingFactor) const;
  // p_k.
  Eigen::VectorXd Load(size_t step) const;
  // "joint 2 in RX".
  std::string Name(Eigen::Index equation) const;

 private:
  const JointDofs& m_dofs;
  std::vector<MatrixEntry> m_stiffnessUpper, m_massUpper, m_dampingUpper;
  SparseMatrix m_stiffness, m_mass, m_damping;
  std::vector<ScaledLoad> m_loads;
  double m_dt;
  size_t m_steps;
};

// What resists an equation's acceleration and velocity. A diagonal within
// round-off of zero, against the largest of its kind (translations or
// rotations) at the same joint, counts as none: turning a joint's masses
// into its axes and back leaves such round-off where there is no mass.
enum class Inertia { kMass, kDamperOnly, kNone };

std::vector<Inertia> InertiaOf(const EquationsOfMotion& system);

// The mass matrix on the equations with mass, in the small dense blocks it
// falls into (a joint's own slots, with its slaves' masses).
class MassBlocks {
 public:
  MassBlocks(const EquationsOfMotion& system, const std::vector<Inertia>& inertia);

  // M^power x on the equations with mass (zero elsewhere), through each
  // block's eigenvalues; a block's zero eigenvalues stay zero (so -1 gives
  // the pseudo-inverse).
  Eigen::VectorXd Power(const Eigen::VectorXd& x, double power) const;
  // An equation of a block whose mass matrix is singular, if any: masses a
  // constraint shares out onto slots that cannot all move with them.
  std::optional<Eigen::Index> Singular() const;

 private:
  struct Block {
    std::vector<Eigen::Index> equations;
    Eigen::VectorXd values;   // eigenvalues
    Eigen::MatrixXd vectors;  // a column each
  };

  std::vector<Block> m_blocks;
};

// The equations that carry neither mass nor damper follow the others
// statically at every step, K_00 u_0 = p_0 - K_0m u_m, through one
// factorisation of K_00, made when first needed (Newmark needs it only for
// a load at time 0). Borrows `system` and `timings`.
class StaticCondensation {
 public:
  StaticCondensation(const EquationsOfMotion& system, const std::vector<Inertia>& inertia, Timings& timings);

  // Sets those equations of `u` to their static solution under `load`,
  // the others as they are. Throws AnalysisError when those equations
  // cannot stand on their own.
  void Settle(Eigen::VectorXd& u, const Eigen::VectorXd& load);

 private:
  void Factorise();

  const EquationsOfMotion& m_system;
  Timings& m_timings;
  std::vector<Eigen::Index> m_static;
  SparseCholesky m_factor;
  bool m_factored = false;
};

// The state at time 0: at rest, but for the equations without mass or
// damper, which have no state of their own and stand at their static
// solution under the load of step 0 (as at every later time); and the
// accelerations that load gives (zero on the equations without mass).
struct InitialState {
  Eigen::VectorXd u, a;
};

InitialState Start(const EquationsOfMotion& system, const MassBlocks& masses, StaticCondensation& condensation);

// Factorises the n x n matrix `upper` into `factor`, its time and flops in
// `timings`. False when it is not positive definite, `failed` as
// SparseCholesky::Factor gives it.
bool FactoriseTimed(int32_t n, const std::vector<MatrixEntry>& upper, SparseCholesky& factor, Timings& timings,
                    int32_t& failed);
// x with A x = rhs, A factorised in `factor`.
Eigen::VectorXd SolveWith(SparseCholesky& factor, const Eigen::VectorXd& rhs, Timings& timings);

}  // namespace tav::analysis
