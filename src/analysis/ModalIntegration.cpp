#include "analysis/ModalIntegration.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <unsupported/Eigen/MatrixFunctions>

namespace tav::analysis {
namespace {

// A coupling term below this share of the largest modal damping term is
// round-off.
constexpr double kRoundOffDamping = 1e-12;

}  // namespace

ModalIntegration::ModalIntegration(const EquationsOfMotion& system, std::span<const Mode> modes)
    : m_system(system),
      m_shapes(system.Equations(), static_cast<Eigen::Index>(modes.size())),
      m_omega(static_cast<Eigen::Index>(modes.size())) {
  const std::vector<size_t>& slots = system.Dofs().FreeSlots();
  for (size_t n = 0; n < modes.size(); ++n) {
    const auto column = static_cast<Eigen::Index>(n);
    for (size_t eq = 0; eq < slots.size(); ++eq) {
      m_shapes(static_cast<Eigen::Index>(eq), column) = modes[n].slots[slots[eq]];
    }
    m_omega(column) = modes[n].circular;
  }
  m_damping = m_shapes.transpose() * (system.Damping() * m_shapes);
}

ModalIntegration::Coupling ModalIntegration::StrongestCoupling() const {
  Coupling strongest;
  if (m_damping.size() == 0) return strongest;
  const double roundOff = kRoundOffDamping * m_damping.diagonal().cwiseAbs().maxCoeff();
  if (roundOff == 0.0) return strongest;
  for (Eigen::Index i = 0; i < m_damping.rows(); ++i) {
    for (Eigen::Index j = i + 1; j < m_damping.cols(); ++j) {
      const double mean = std::sqrt(std::fabs(m_damping(i, i) * m_damping(j, j)));
      const double share = std::fabs(m_damping(i, j)) / std::max(mean, roundOff);
      if (share > strongest.share) strongest = {share, static_cast<size_t>(i), static_cast<size_t>(j)};
    }
  }
  return strongest;
}

// The augmented system z' = A z, z = (q, q', F, F'), is balanced first
// (D^-1 A D with D = diag(1, s, s^2, s^3), s about omega) so that its
// exponential keeps its digits when omega dt is large: exp(A dt) =
// D exp(D^-1 A D dt) D^-1.
Eigen::Matrix<double, 2, 4> ModalIntegration::ExactStep(double omega, double c, double dt) {
  const double s = std::max(omega, 1.0 / dt);
  Eigen::Matrix4d balanced = Eigen::Matrix4d::Zero();
  balanced(0, 1) = s;
  balanced(1, 0) = -omega * omega / s;
  balanced(1, 1) = -c;
  balanced(1, 2) = s;
  balanced(2, 3) = s;
  const Eigen::Matrix4d exponential = (balanced * dt).exp();
  Eigen::Matrix<double, 2, 4> step;
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 4; ++j) step(i, j) = exponential(i, j) * std::pow(s, i - j);
  }
  return step;
}

Eigen::VectorXd ModalIntegration::ModalLoads(const Eigen::MatrixXd& projections, size_t step) const {
  const std::vector<ScaledLoad>& loads = m_system.Loads();
  Eigen::VectorXd factors(static_cast<Eigen::Index>(loads.size()));
  for (size_t g = 0; g < loads.size(); ++g) factors(static_cast<Eigen::Index>(g)) = loads[g].factors[step];
  return projections * factors;
}

void ModalIntegration::Integrate(const StepSink& sink) const {
  sink(0, Eigen::VectorXd::Zero(m_system.Equations()));
  if (m_system.Steps() == 0) return;
  const std::vector<ScaledLoad>& loads = m_system.Loads();
  Eigen::MatrixXd vectors(m_system.Equations(), static_cast<Eigen::Index>(loads.size()));
  for (size_t g = 0; g < loads.size(); ++g) vectors.col(static_cast<Eigen::Index>(g)) = loads[g].vector;
  const Eigen::MatrixXd projections = m_shapes.transpose() * vectors;
  const double dt = m_system.Dt();
  std::vector<Eigen::Matrix<double, 2, 4>> steps;
  for (Eigen::Index n = 0; n < m_omega.size(); ++n) steps.push_back(ExactStep(m_omega(n), m_damping(n, n), dt));
  Eigen::VectorXd q = Eigen::VectorXd::Zero(m_omega.size()), velocity = q;
  Eigen::VectorXd force = ModalLoads(projections, 0);
  for (size_t k = 1; k <= m_system.Steps(); ++k) {
    const Eigen::VectorXd next = ModalLoads(projections, k);
    for (Eigen::Index n = 0; n < q.size(); ++n) {
      const Eigen::Vector4d start(q(n), velocity(n), force(n), (next(n) - force(n)) / dt);
      const Eigen::Vector2d end = steps[static_cast<size_t>(n)] * start;
      q(n) = end(0);
      velocity(n) = end(1);
    }
    force = next;
    sink(k, m_shapes * q);
  }
}

}  // namespace tav::analysis
