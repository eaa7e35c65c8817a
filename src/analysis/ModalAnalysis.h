// The natural modes of the frame: the lowest eigenpairs of the stiffness
// (every gap closed) and the lumped masses, as the options of the input ask
// for them (and as many as its response spectrum and mode superposition
// history conditions need), with
// each mode's period, participation factors and effective mass ratios.
//
// Participation is measured against the ground moving as a rigid body:
// along the global X, Y and Z axes, and turning about them through the
// origin (a joint at r then moves by axis x r and turns about the axis), so
// that the mass ratios of RX, RY and RZ count the masses' distance from
// the global axes as well as their rotational inertia. Only masses on
// slots that move relative to the ground (free equations) take part.
#pragma once

#include <string>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/DiscreteModel.h"
#include "analysis/EigenSolver.h"
#include "analysis/InputDeck.h"
#include "analysis/Timings.h"

namespace tav::analysis {

struct Mode {
  double eigenvalue = 0.0;    // omega squared
  double circular = 0.0;      // omega, rad/s
  double frequency = 0.0;     // Hz
  double period = 0.0;        // s; 0 for a rigid-body mode (omega 0)
  Six participation = {};     // phi' M iota, per direction UX UY UZ RX RY RZ
  Six massRatio = {};         // participation squared over the direction's mass
  std::vector<double> slots;  // the mass-normalised shape on every slot
  std::vector<Six> shape;     // the same per joint, in global axes
};

struct ModalSolution {
  size_t joints = 0;
  std::vector<Mode> modes;  // lowest first
  Six totalMass = {};       // iota' M iota per direction: the mass that moves
  std::string method;       // how the modes were found, for the listing
};

class ModalAnalysis {
 public:
  // `model` must outlive the analysis.
  ModalAnalysis(const DiscreteModel& model, Messages messages);

  // Whether the input asks for modes (an eigen solution, response spectrum
  // conditions or history conditions by mode superposition).
  bool Wanted() const { return m_wanted; }
  // `stiffnessFactor`, when given, is the factorisation of `stiffness`,
  // which serves when no shift is needed. Throws AnalysisError when the
  // structure has no mass or is unstable without being declared free to
  // move (RIGID BODY MODE EXIST).
  ModalSolution Solve(const PartitionedMatrix& stiffness, Timings& timings,
                      SparseCholesky* stiffnessFactor = nullptr) const;

 private:
  int ModesAsked() const;
  SparseCholesky& Factorise(const PartitionedMatrix& stiffness, const PartitionedMatrix& mass, double shift,
                            SparseCholesky* stiffnessFactor, SparseCholesky& own, Timings& timings) const;
  EigenPairs FindModes(const PartitionedMatrix& stiffness, const PartitionedMatrix& mass, int massive,
                       EigenRequest request, SparseCholesky& factor) const;
  double Shift(const std::vector<double>& ratios) const;
  ModalSolution Measure(const PartitionedMatrix& mass, const EigenPairs& pairs) const;

  const DiscreteModel& m_model;
  Messages m_messages;
  bool m_wanted = false;
  int m_spectrumModes = 0;  // the most any response spectrum or mode superposition condition uses
};

// The rigid motion of the ground in direction `d` (0 to 5) on each free
// equation.
std::vector<double> GroundMotion(const DiscreteModel& model, size_t d);

}  // namespace tav::analysis
