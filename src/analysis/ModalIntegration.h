// Mode superposition of a history load condition: u(t) = sum_n phi_n q_n(t)
// over the modes given (mass-normalised), each modal equation
//   q_n'' + c_n q_n' + omega_n^2 q_n = phi_n' p(t),   c_n = phi_n' C phi_n,
// integrated exactly, from rest, for a load linear within each step: the
// state (q, q', F, F') of the step's start is carried to its end by the
// exponential of the augmented 4 x 4 system, so rigid-body modes
// (omega 0) and damping of any size need no case of their own. The
// couplings phi_i' C phi_j of non-proportional dampers are left out; no
// static correction is added for the modes left out.
#pragma once

#include <span>

#include <Eigen/Dense>

#include "analysis/EquationsOfMotion.h"
#include "analysis/ModalAnalysis.h"

namespace tav::analysis {

class ModalIntegration {
 public:
  // The strongest coupling of two modes by the dampers: |phi_i' C phi_j|
  // over the geometric mean of the two modes' own terms.
  struct Coupling {
    double share = 0.0;
    size_t first = 0, second = 0;  // 0-based
  };

  // Borrows `system`, which must outlive it; copies the modes' shapes.
  ModalIntegration(const EquationsOfMotion& system, std::span<const Mode> modes);

  Coupling StrongestCoupling() const;
  // Calls `sink` with every step's displacements, step 0 (at rest) first.
  void Integrate(const StepSink& sink) const;

  // The step of q'' + c q' + omega^2 q = F for F linear within it: the
  // state at its end is this times (q, q', F, F') at its start.
  static Eigen::Matrix<double, 2, 4> ExactStep(double omega, double c, double dt);

 private:
  // phi_n' p_k for every mode.
  Eigen::VectorXd ModalLoads(const Eigen::MatrixXd& projections, size_t step) const;

  const EquationsOfMotion& m_system;
  Eigen::MatrixXd m_shapes;   // a column per mode, on the free equations
  Eigen::VectorXd m_omega;    // rad/s
  Eigen::MatrixXd m_damping;  // Phi' C Phi
};

}  // namespace tav::analysis
