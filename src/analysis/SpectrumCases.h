// Response spectrum load conditions. The excitation (FUNCTION=f FX=r ACC=a)
// is a spectrum of pseudo-acceleration against period: the function's
// table, linear between its points and held at its first and last
// ordinates outside them, times r x a, along the named axis. Each mode n
// then peaks at q_n = Gamma_n Sa(T_n) / omega_n^2 (Gamma_n the mode's
// participation in that direction), and every value of the results
// (displacements, reactions, end and member forces) is its mode shape's
// value times q_n, combined over the modes by the condition's rule:
//   ABS   sum of the magnitudes,
//   SRSS  square root of the sum of squares,
//   CQC   square root of sum_ij r_i rho_ij r_j, with the correlation rho_ij
//         of the two modes' frequencies and damping ratios.
// The damping ratios are the condition's MODAL DAMPING values, mode by
// mode; modes beyond the list take its last value, and without a list 5 %.
#pragma once

#include "analysis/Diagnostics.h"
#include "analysis/DiscreteModel.h"
#include "analysis/InputDeck.h"
#include "analysis/ModalAnalysis.h"
#include "analysis/Results.h"

namespace tav::analysis {

// The damping ratio of modes without one.
inline constexpr double kDefaultModalDamping = 0.05;

// Fills `result` (which holds the stations' distances) with the combined
// peak response of `loadCase`; a condition that cannot be analysed gets an
// error in `result.error`.
void SolveSpectrumCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, const ModalSolution& modal,
                       const LoadCase& loadCase, const Messages& messages, CaseResult& result);

// The correlation of two modes in the CQC rule (Der Kiureghian): 1 for a
// mode with itself, falling as the frequencies part.
double ModalCorrelation(double omegaI, double omegaJ, double dampingI, double dampingJ);

}  // namespace tav::analysis
