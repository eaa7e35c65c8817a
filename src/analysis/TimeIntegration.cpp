#include "analysis/TimeIntegration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <arpack.hpp>

#include "analysis/Diagnostics.h"

namespace tav::analysis {
namespace {

// Up to this many equations with mass, the largest frequency comes from a
// dense eigensolution; beyond, from ARPACK.
constexpr Eigen::Index kDenseFrequencyUpTo = 200;
constexpr double kFrequencyTolerance = 1e-12;
constexpr a_int kMostRestarts = 1000;
constexpr a_int kLanczosVectors = 20;

using Operator = std::function<Eigen::VectorXd(const Eigen::VectorXd&)>;

// The displacements, velocities and accelerations of an implicit method.
struct Motion {
  Eigen::VectorXd u, v, a;
};

Motion AtStart(const EquationsOfMotion& system, const MassBlocks& masses, StaticCondensation& condensation) {
  InitialState start = Start(system, masses, condensation);
  return {std::move(start.u), Eigen::VectorXd::Zero(system.Equations()), std::move(start.a)};
}

// Factorises K + massFactor M + dampingFactor C, the matrix of an implicit
// method's steps.
void FactoriseEffective(const EquationsOfMotion& system, double massFactor, double dampingFactor,
                        SparseCholesky& factor, Timings& timings) {
  int32_t failed = -1;
  const auto n = static_cast<int32_t>(system.Equations());
  if (FactoriseTimed(n, system.Combined(massFactor, dampingFactor), factor, timings, failed)) return;
  throw AnalysisError(
      "the matrix of its steps is not positive definite" +
      (failed >= 0 ? ": " + system.Name(failed) + " has no stiffness, mass or damper left" : std::string()));
}

Eigen::VectorXd Gather(const Eigen::VectorXd& full, const std::vector<Eigen::Index>& equations) {
  Eigen::VectorXd part(static_cast<Eigen::Index>(equations.size()));
  for (size_t i = 0; i < equations.size(); ++i) part(static_cast<Eigen::Index>(i)) = full(equations[i]);
  return part;
}

void Scatter(const Eigen::VectorXd& part, const std::vector<Eigen::Index>& equations, Eigen::VectorXd& full) {
  for (size_t i = 0; i < equations.size(); ++i) full(equations[i]) = part(static_cast<Eigen::Index>(i));
}

// The rows and columns of `matrix` on `equations`, in their order.
SparseMatrix Restricted(const SparseMatrix& matrix, const std::vector<Eigen::Index>& equations) {
  std::vector<Eigen::Index> position(static_cast<size_t>(matrix.rows()), -1);
  for (size_t i = 0; i < equations.size(); ++i)
    position[static_cast<size_t>(equations[i])] = static_cast<Eigen::Index>(i);
  std::vector<Eigen::Triplet<double>> triplets;
  for (Eigen::Index column = 0; column < matrix.outerSize(); ++column) {
    for (SparseMatrix::InnerIterator it(matrix, column); it; ++it) {
      const Eigen::Index row = position[static_cast<size_t>(it.row())], col = position[static_cast<size_t>(column)];
      if (row >= 0 && col >= 0) triplets.emplace_back(row, col, it.value());
    }
  }
  const auto size = static_cast<Eigen::Index>(equations.size());
  SparseMatrix restricted(size, size);
  restricted.setFromTriplets(triplets.begin(), triplets.end());
  return restricted;
}

std::vector<MatrixEntry> UpperOf(const SparseMatrix& matrix) {
  std::vector<MatrixEntry> upper;
  for (Eigen::Index column = 0; column < matrix.outerSize(); ++column) {
    for (SparseMatrix::InnerIterator it(matrix, column); it; ++it) {
      if (it.row() <= column) {
        upper.push_back({static_cast<int32_t>(it.row()), static_cast<int32_t>(column), it.value()});
      }
    }
  }
  return upper;
}

// The equations with mass, on which the central difference steps; the
// others follow statically and may carry no damper.
std::vector<Eigen::Index> MovingEquations(const EquationsOfMotion& system, const std::vector<Inertia>& inertia) {
  std::vector<Eigen::Index> moving;
  for (size_t eq = 0; eq < inertia.size(); ++eq) {
    const auto equation = static_cast<Eigen::Index>(eq);
    if (inertia[eq] == Inertia::kDamperOnly) {
      throw AnalysisError(system.Name(equation) +
                          " has a damper but no mass, which the central difference cannot integrate: give it a mass "
                          "or take an implicit METHOD");
    }
    if (inertia[eq] == Inertia::kMass) moving.push_back(equation);
  }
  if (moving.empty()) {
    throw AnalysisError("the central difference needs mass, and no free degree of freedom carries any (JOINT MASS)");
  }
  return moving;
}

double DenseLargest(const Operator& apply, Eigen::Index size) {
  Eigen::MatrixXd matrix(size, size);
  for (Eigen::Index j = 0; j < size; ++j) matrix.col(j) = apply(Eigen::VectorXd::Unit(size, j));
  const Eigen::MatrixXd symmetric = 0.5 * (matrix + matrix.transpose());
  return Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(symmetric, Eigen::EigenvaluesOnly).eigenvalues().maxCoeff();
}

// ARPACK in its regular mode for the largest eigenvalue of a symmetric
// operator; it asks for y = A x with x and y in its work array.
double LanczosLargest(const Operator& apply, Eigen::Index size) {
  const auto n = static_cast<a_int>(size);
  const a_int nev = 1, ncv = std::min(n, kLanczosVectors);
  const a_int lworkl = ncv * (ncv + 8);
  std::vector<double> resid(static_cast<size_t>(n)), v(static_cast<size_t>(n) * static_cast<size_t>(ncv)),
      workd(3 * static_cast<size_t>(n)), workl(static_cast<size_t>(lworkl));
  // A fixed start, so that every run finds the same value.
  for (a_int i = 0; i < n; ++i) resid[static_cast<size_t>(i)] = 1.0 + 0.5 * std::sin(1.0 + i);
  std::array<a_int, 11> iparam = {};
  std::array<a_int, 14> ipntr = {};
  iparam[0] = 1;  // exact shifts
  iparam[2] = kMostRestarts;
  iparam[6] = 1;
  a_int ido = 0, info = 1;  // 1: start from resid
  for (;;) {
    arpack::saupd(ido, arpack::bmat::identity, n, arpack::which::largest_algebraic, nev, kFrequencyTolerance,
                  resid.data(), ncv, v.data(), n, iparam.data(), ipntr.data(), workd.data(), workl.data(), lworkl,
                  info);
    if (ido != -1 && ido != 1) break;
    const Eigen::VectorXd y = apply(Eigen::Map<const Eigen::VectorXd>(&workd[ipntr[0] - 1], n));
    Eigen::Map<Eigen::VectorXd>(&workd[ipntr[1] - 1], n) = y;
  }
  std::vector<a_int> select(static_cast<size_t>(ncv));
  std::array<double, 1> value = {};
  std::vector<double> unused(static_cast<size_t>(n));
  if (info == 0 && iparam[4] >= nev) {
    arpack::seupd(0, arpack::howmny::ritz_vectors, select.data(), value.data(), unused.data(), n, 0.0,
                  arpack::bmat::identity, n, arpack::which::largest_algebraic, nev, kFrequencyTolerance, resid.data(),
                  ncv, v.data(), n, iparam.data(), ipntr.data(), workd.data(), workl.data(), lworkl, info);
  }
  if (info != 0 || iparam[4] < nev) {
    const std::string code = std::to_string(info);
    throw AnalysisError(
        "the largest natural frequency, which limits the central difference's step, was not "
        "found (ARPACK error " +
        code + ")");
  }
  return value[0];
}

// omega_max of the masses on `moving` against the stiffness with the other
// equations condensed out: the root of the largest eigenvalue of
// M^-1/2 K* M^-1/2.
double LargestFrequency(const EquationsOfMotion& system, const std::vector<Eigen::Index>& moving,
                        const MassBlocks& masses, StaticCondensation& condensation) {
  const Eigen::VectorXd noLoad = Eigen::VectorXd::Zero(system.Equations());
  const Operator apply = [&](const Eigen::VectorXd& x) {
    Eigen::VectorXd u = Eigen::VectorXd::Zero(system.Equations());
    Scatter(x, moving, u);
    u = masses.Power(u, -0.5);
    condensation.Settle(u, noLoad);
    return Gather(masses.Power(system.Stiffness() * u, -0.5), moving);
  };
  const auto size = static_cast<Eigen::Index>(moving.size());
  const double largest = size <= kDenseFrequencyUpTo ? DenseLargest(apply, size) : LanczosLargest(apply, size);
  return std::sqrt(std::max(largest, 0.0));
}

void CheckStability(const EquationsOfMotion& system, const std::vector<Eigen::Index>& moving, const MassBlocks& masses,
                    StaticCondensation& condensation) {
  const double omega = LargestFrequency(system, moving, masses, condensation);
  const double limit = 2.0 / omega;
  if (system.Dt() <= limit) return;
  throw AnalysisError("DT=" + NumberText(system.Dt()) + " is beyond the stability limit of the central difference, " +
                      "2/ω_max = " + NumberText(limit) + " s (ω_max = " + NumberText(omega) +
                      " rad/s, the largest natural circular frequency): take a smaller step or an implicit METHOD");
}

// The steps of the central difference on the equations with mass from
// `start`, the others settled statically after each.
void StepExplicitly(const EquationsOfMotion& system, const std::vector<Eigen::Index>& moving, InitialState start,
                    StaticCondensation& condensation, Timings& timings, const StepSink& sink) {
  const double dt = system.Dt();
  const SparseMatrix mass = Restricted(system.Mass(), moving), damping = Restricted(system.Damping(), moving);
  const SparseMatrix next = mass / (dt * dt) + damping / (2.0 * dt);
  const SparseMatrix previous = mass / (dt * dt) - damping / (2.0 * dt);
  SparseCholesky factor;
  int32_t failed = -1;
  if (!FactoriseTimed(static_cast<int32_t>(moving.size()), UpperOf(next), factor, timings, failed)) {
    throw AnalysisError("the matrix of the central difference's steps is not positive definite");
  }
  Eigen::VectorXd u = std::move(start.u), load = system.Load(0);
  Eigen::VectorXd before = 0.5 * dt * dt * Gather(start.a, moving);
  Eigen::VectorXd now = Eigen::VectorXd::Zero(before.size());
  for (size_t k = 0; k < system.Steps(); ++k) {
    const Eigen::VectorXd force = Gather(load - system.Stiffness() * u, moving);
    Eigen::VectorXd after = SolveWith(factor, force + 2.0 / (dt * dt) * (mass * now) - previous * before, timings);
    before = std::move(now);
    now = std::move(after);
    load = system.Load(k + 1);
    Scatter(now, moving, u);
    condensation.Settle(u, load);
    sink(k + 1, u);
  }
}

}  // namespace

void IntegrateNewmark(const EquationsOfMotion& system, double gamma, double beta, Timings& timings,
                      const StepSink& sink) {
  const double dt = system.Dt();
  const double a0 = 1.0 / (beta * dt * dt), a1 = gamma / (beta * dt), a2 = 1.0 / (beta * dt);
  const double a3 = 0.5 / beta - 1.0, a4 = gamma / beta - 1.0, a5 = 0.5 * dt * (gamma / beta - 2.0);
  const std::vector<Inertia> inertia = InertiaOf(system);
  StaticCondensation condensation(system, inertia, timings);
  Motion state = AtStart(system, MassBlocks(system, inertia), condensation);
  sink(0, state.u);
  if (system.Steps() == 0) return;
  SparseCholesky factor;
  FactoriseEffective(system, a0, a1, factor, timings);
  for (size_t k = 1; k <= system.Steps(); ++k) {
    const Eigen::VectorXd rhs = system.Load(k) + system.Mass() * (a0 * state.u + a2 * state.v + a3 * state.a) +
                                system.Damping() * (a1 * state.u + a4 * state.v + a5 * state.a);
    const Eigen::VectorXd u = SolveWith(factor, rhs, timings);
    const Eigen::VectorXd a = a0 * (u - state.u) - a2 * state.v - a3 * state.a;
    state.v += dt * ((1.0 - gamma) * state.a + gamma * a);
    state.u = u;
    state.a = a;
    sink(k, state.u);
  }
}

void IntegrateWilson(const EquationsOfMotion& system, double theta, Timings& timings, const StepSink& sink) {
  const double dt = system.Dt(), tau = theta * dt;
  const double b0 = 6.0 / (tau * tau), b1 = 3.0 / tau, b2 = 6.0 / tau, b3 = 0.5 * tau;
  const std::vector<Inertia> inertia = InertiaOf(system);
  StaticCondensation condensation(system, inertia, timings);
  Motion state = AtStart(system, MassBlocks(system, inertia), condensation);
  sink(0, state.u);
  if (system.Steps() == 0) return;
  SparseCholesky factor;
  FactoriseEffective(system, b0, b1, factor, timings);
  Eigen::VectorXd before = system.Load(0);
  for (size_t k = 1; k <= system.Steps(); ++k) {
    const Eigen::VectorXd load = system.Load(k);
    const Eigen::VectorXd rhs = before + theta * (load - before) +
                                system.Mass() * (b0 * state.u + b2 * state.v + 2.0 * state.a) +
                                system.Damping() * (b1 * state.u + 2.0 * state.v + b3 * state.a);
    const Eigen::VectorXd stretched = SolveWith(factor, rhs, timings);
    const Eigen::VectorXd aStretched = b0 * (stretched - state.u) - b2 * state.v - 2.0 * state.a;
    const Eigen::VectorXd a = state.a + (aStretched - state.a) / theta;
    state.u += dt * state.v + dt * dt / 6.0 * (a + 2.0 * state.a);
    state.v += 0.5 * dt * (state.a + a);
    state.a = a;
    condensation.Settle(state.u, load);
    sink(k, state.u);
    before = load;
  }
}

void IntegrateCentralDifference(const EquationsOfMotion& system, Timings& timings, const StepSink& sink) {
  const std::vector<Inertia> inertia = InertiaOf(system);
  const std::vector<Eigen::Index> moving = MovingEquations(system, inertia);
  const MassBlocks masses(system, inertia);
  if (const std::optional<Eigen::Index> singular = masses.Singular()) {
    throw AnalysisError("the mass matrix is singular at " + system.Name(*singular) +
                        " (masses a constraint shares out onto slots that cannot move apart), which the central "
                        "difference cannot integrate: take an implicit METHOD");
  }
  StaticCondensation condensation(system, inertia, timings);
  InitialState start = Start(system, masses, condensation);
  sink(0, start.u);
  if (system.Steps() == 0) return;
  CheckStability(system, moving, masses, condensation);
  StepExplicitly(system, moving, std::move(start), condensation, timings, sink);
}

}  // namespace tav::analysis
