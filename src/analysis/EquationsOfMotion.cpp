#include "analysis/EquationsOfMotion.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/Diagnostics.h"

namespace tav::analysis {
namespace {

// A mass or damper diagonal up to this share of the largest of its kind at
// its joint is round-off: turning a joint's values into its own axes and
// back leaves about 1e-16 of them where there are none.
constexpr double kRoundOffInertia = 1e-12;
// Eigenvalues of a mass block up to this share of its largest are zero.
constexpr double kSingularMass = 1e-12;
// Slots 3k to 3k + 2 are the translations, or the rotations, of a joint.
constexpr size_t kSameKind = 3;

// Whether each equation's diagonal of `matrix` stands above round-off of
// the largest of its kind at its joint.
std::vector<char> AboveRoundOff(const EquationsOfMotion& system, const SparseMatrix& matrix) {
  const std::vector<size_t>& slots = system.Dofs().FreeSlots();
  const Eigen::VectorXd diagonal = matrix.diagonal();
  std::vector<double> largest(system.Dofs().Slots() / kSameKind + 1, 0.0);
  for (size_t eq = 0; eq < slots.size(); ++eq) {
    double& kind = largest[slots[eq] / kSameKind];
    kind = std::max(kind, std::fabs(diagonal(static_cast<Eigen::Index>(eq))));
  }
  std::vector<char> above(slots.size());
  for (size_t eq = 0; eq < slots.size(); ++eq) {
    const double own = std::fabs(diagonal(static_cast<Eigen::Index>(eq)));
    above[eq] = own > 0.0 && own > kRoundOffInertia * largest[slots[eq] / kSameKind] ? 1 : 0;
  }
  return above;
}

// The equations with mass in groups that the mass matrix couples.
std::vector<std::vector<Eigen::Index>> MassGroups(const SparseMatrix& mass, const std::vector<Inertia>& inertia) {
  const auto massive = [&inertia](Eigen::Index eq) { return inertia[static_cast<size_t>(eq)] == Inertia::kMass; };
  std::vector<Eigen::Index> parent(inertia.size());
  std::iota(parent.begin(), parent.end(), Eigen::Index{0});
  const auto root = [&parent](Eigen::Index eq) {
    while (parent[static_cast<size_t>(eq)] != eq) eq = parent[static_cast<size_t>(eq)];
    return eq;
  };
  for (Eigen::Index column = 0; column < mass.outerSize(); ++column) {
    for (SparseMatrix::InnerIterator it(mass, column); it; ++it) {
      if (it.value() == 0.0 || !massive(it.row()) || !massive(column)) continue;
      parent[static_cast<size_t>(root(it.row()))] = root(column);
    }
  }
  std::vector<std::vector<Eigen::Index>> byRoot(inertia.size());
  for (Eigen::Index eq = 0; eq < static_cast<Eigen::Index>(inertia.size()); ++eq) {
    if (massive(eq)) byRoot[static_cast<size_t>(root(eq))].push_back(eq);
  }
  std::erase_if(byRoot, [](const std::vector<Eigen::Index>& group) { return group.empty(); });
  return byRoot;
}

}  // namespace

EquationsOfMotion::EquationsOfMotion(const JointDofs& dofs, const PartitionedMatrix& stiffness,
                                     const PartitionedMatrix& mass, const PartitionedMatrix& damping, double dt,
                                     size_t steps)
    : m_dofs(dofs),
      m_stiffnessUpper(stiffness.freeFree),
      m_massUpper(mass.freeFree),
      m_dampingUpper(damping.freeFree),
      m_stiffness(Symmetric(static_cast<int>(dofs.Equations()), m_stiffnessUpper)),
      m_mass(Symmetric(static_cast<int>(dofs.Equations()), m_massUpper)),
      m_damping(Symmetric(static_cast<int>(dofs.Equations()), m_dampingUpper)),
      m_dt(dt),
      m_steps(steps) {}

std::vector<MatrixEntry> EquationsOfMotion::Combined(double massFactor, double dampingFactor) const {
  std::vector<MatrixEntry> combined = m_stiffnessUpper;
  combined.reserve(m_stiffnessUpper.size() + m_massUpper.size() + m_dampingUpper.size());
  for (const MatrixEntry& e : m_massUpper) combined.push_back({e.row, e.column, massFactor * e.value});
  for (const MatrixEntry& e : m_dampingUpper) combined.push_back({e.row, e.column, dampingFactor * e.value});
  return combined;
}

Eigen::VectorXd EquationsOfMotion::Load(size_t step) const {
  Eigen::VectorXd load = Eigen::VectorXd::Zero(Equations());
  for (const ScaledLoad& part : m_loads) {
    if (part.factors[step] != 0.0) load += part.factors[step] * part.vector;
  }
  return load;
}

std::string EquationsOfMotion::Name(Eigen::Index equation) const {
  return m_dofs.SlotName(m_dofs.FreeSlots()[static_cast<size_t>(equation)]);
}

std::vector<Inertia> InertiaOf(const EquationsOfMotion& system) {
  const std::vector<char> mass = AboveRoundOff(system, system.Mass());
  const std::vector<char> damper = AboveRoundOff(system, system.Damping());
  std::vector<Inertia> inertia(mass.size());
  for (size_t eq = 0; eq < inertia.size(); ++eq) {
    inertia[eq] = mass[eq] != 0 ? Inertia::kMass : damper[eq] != 0 ? Inertia::kDamperOnly : Inertia::kNone;
  }
  return inertia;
}

MassBlocks::MassBlocks(const EquationsOfMotion& system, const std::vector<Inertia>& inertia) {
  const SparseMatrix& mass = system.Mass();
  for (std::vector<Eigen::Index>& equations : MassGroups(mass, inertia)) {
    const auto size = static_cast<Eigen::Index>(equations.size());
    Eigen::MatrixXd dense(size, size);
    for (Eigen::Index i = 0; i < size; ++i) {
      for (Eigen::Index j = 0; j < size; ++j) {
        dense(i, j) = mass.coeff(equations[static_cast<size_t>(i)], equations[static_cast<size_t>(j)]);
      }
    }
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(dense);
    m_blocks.push_back({std::move(equations), solver.eigenvalues(), solver.eigenvectors()});
  }
}

Eigen::VectorXd MassBlocks::Power(const Eigen::VectorXd& x, double power) const {
  Eigen::VectorXd result = Eigen::VectorXd::Zero(x.size());
  for (const Block& block : m_blocks) {
    const auto size = static_cast<Eigen::Index>(block.equations.size());
    Eigen::VectorXd part(size);
    for (Eigen::Index i = 0; i < size; ++i) part(i) = x(block.equations[static_cast<size_t>(i)]);
    const double zero = kSingularMass * block.values.maxCoeff();
    Eigen::VectorXd scaled = block.vectors.transpose() * part;
    for (Eigen::Index i = 0; i < size; ++i) {
      scaled(i) = block.values(i) > zero ? std::pow(block.values(i), power) * scaled(i) : 0.0;
    }
    part = block.vectors * scaled;
    for (Eigen::Index i = 0; i < size; ++i) result(block.equations[static_cast<size_t>(i)]) = part(i);
  }
  return result;
}

std::optional<Eigen::Index> MassBlocks::Singular() const {
  for (const Block& block : m_blocks) {
    if (block.values.minCoeff() <= kSingularMass * block.values.maxCoeff()) return block.equations.front();
  }
  return std::nullopt;
}

StaticCondensation::StaticCondensation(const EquationsOfMotion& system, const std::vector<Inertia>& inertia,
                                       Timings& timings)
    : m_system(system), m_timings(timings) {
  for (size_t eq = 0; eq < inertia.size(); ++eq) {
    if (inertia[eq] == Inertia::kNone) m_static.push_back(static_cast<Eigen::Index>(eq));
  }
}

void StaticCondensation::Factorise() {
  std::vector<int32_t> position(static_cast<size_t>(m_system.Equations()), -1);
  for (size_t i = 0; i < m_static.size(); ++i) position[static_cast<size_t>(m_static[i])] = static_cast<int32_t>(i);
  std::vector<MatrixEntry> upper;
  for (const MatrixEntry& e : m_system.StiffnessUpper()) {
    const int32_t row = position[static_cast<size_t>(e.row)], column = position[static_cast<size_t>(e.column)];
    if (row >= 0 && column >= 0) upper.push_back({std::min(row, column), std::max(row, column), e.value});
  }
  int32_t failed = -1;
  if (!FactoriseTimed(static_cast<int32_t>(m_static.size()), upper, m_factor, m_timings, failed)) {
    throw AnalysisError(
        "the degrees of freedom without mass or damper do not stand on their own" +
        (failed >= 0 ? ": " + m_system.Name(m_static[static_cast<size_t>(failed)]) + " moves freely" : std::string()));
  }
  m_factored = true;
}

void StaticCondensation::Settle(Eigen::VectorXd& u, const Eigen::VectorXd& load) {
  if (m_static.empty()) return;
  if (!m_factored) Factorise();
  for (const Eigen::Index eq : m_static) u(eq) = 0.0;
  const auto start = Clock::now();
  const Eigen::VectorXd others = m_system.Stiffness() * u;
  std::vector<double> rhs(m_static.size());
  for (size_t i = 0; i < rhs.size(); ++i) rhs[i] = load(m_static[i]) - others(m_static[i]);
  m_factor.Solve(rhs, 1);
  for (size_t i = 0; i < rhs.size(); ++i) u(m_static[i]) = rhs[i];
  m_timings.solve += SecondsSince(start);
}

InitialState Start(const EquationsOfMotion& system, const MassBlocks& masses, StaticCondensation& condensation) {
  const Eigen::VectorXd load = system.Load(0);
  InitialState state{Eigen::VectorXd::Zero(system.Equations()), Eigen::VectorXd()};
  if (!load.isZero(0.0)) condensation.Settle(state.u, load);
  state.a = masses.Power(load - system.Stiffness() * state.u, -1.0);
  return state;
}

bool FactoriseTimed(int32_t n, const std::vector<MatrixEntry>& upper, SparseCholesky& factor, Timings& timings,
                    int32_t& failed) {
  const auto start = Clock::now();
  const bool factored = factor.Factor(n, upper, failed);
  timings.factor += SecondsSince(start);
  if (factored) {
    timings.flops += factor.Flops();
    ++timings.factorisations;
  }
  return factored;
}

Eigen::VectorXd SolveWith(SparseCholesky& factor, const Eigen::VectorXd& rhs, Timings& timings) {
  const auto start = Clock::now();
  std::vector<double> values(rhs.data(), rhs.data() + rhs.size());
  factor.Solve(values, 1);
  timings.solve += SecondsSince(start);
  return Eigen::Map<const Eigen::VectorXd>(values.data(), rhs.size());
}

}  // namespace tav::analysis
