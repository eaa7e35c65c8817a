// Direct integration of the equations of motion of a history load
// condition, from rest at time 0, step by step with one factorisation per
// condition:
//   Newmark (gamma, beta), in its total form: each step's displacements
//     from (K + M / (beta dt^2) + gamma C / (beta dt)) u_k+1 = p_k+1 plus
//     the inertia and damping of the state at t_k, then the accelerations
//     and velocities from Newmark's two relations;
//   Wilson theta: the same over the step stretched to theta dt, with the
//     load extrapolated linearly to t_k + theta dt and the acceleration
//     linear over the stretched step, taken back to t_k+1;
//   central difference: explicit, M (u_k+1 - 2 u_k + u_k-1) / dt^2 +
//     C (u_k+1 - u_k-1) / (2 dt) + K u_k = p_k on the equations with mass;
//     stable for dt <= 2 / omega_max.
// Equations without mass or damper carry no state of their own: they take
// their static solution at every step, step 0 included (Newmark does so by
// itself; Wilson and the central difference solve them from K). The
// accelerations at time 0 are those the load of step 0 gives.
#pragma once

#include "analysis/EquationsOfMotion.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// Calls `sink` with every step's displacements, step 0 first.
// Throws AnalysisError when the matrix of the steps is not positive
// definite.
void IntegrateNewmark(const EquationsOfMotion& system, double gamma, double beta, Timings& timings,
                      const StepSink& sink);
void IntegrateWilson(const EquationsOfMotion& system, double theta, Timings& timings, const StepSink& sink);
// Throws AnalysisError also when dt is beyond the stability limit
// 2 / omega_max (omega_max the largest natural circular frequency, the
// equations without mass condensed out), when an equation has a damper but
// no mass, or when the mass matrix is singular.
void IntegrateCentralDifference(const EquationsOfMotion& system, Timings& timings, const StepSink& sink);

}  // namespace tav::analysis
