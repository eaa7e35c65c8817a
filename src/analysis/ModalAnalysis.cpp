#include "analysis/ModalAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <span>
#include <utility>

#include "analysis/EigenSolver.h"
#include "analysis/Stability.h"

namespace tav::analysis {
namespace {

// The first batch of modes sought for FREQUENCIES WITHIN INTERVAL; it
// doubles until a mode lies beyond the cut-off.
constexpr int kFirstIntervalBatch = 12;
// Eigenvalues up to this fraction of the largest ratio of stiffness to mass
// on the diagonal are taken for zero.
constexpr double kRigidBodyEigenvalue = 1e-10;

// K_ii / M_ii of every equation with mass and stiffness on its diagonal.
std::vector<double> DiagonalRatios(size_t equations, const PartitionedMatrix& stiffness,
                                   const PartitionedMatrix& mass) {
  std::vector<double> k(equations, 0.0), m(equations, 0.0);
  for (const MatrixEntry& e : stiffness.freeFree) {
    if (e.row == e.column) k[static_cast<size_t>(e.row)] += e.value;
  }
  for (const MatrixEntry& e : mass.freeFree) {
    if (e.row == e.column) m[static_cast<size_t>(e.row)] += e.value;
  }
  std::vector<double> ratios;
  for (size_t eq = 0; eq < equations; ++eq) {
    if (m[eq] > 0.0 && k[eq] > 0.0) ratios.push_back(k[eq] / m[eq]);
  }
  return ratios;
}

}  // namespace

std::vector<double> GroundMotion(const DiscreteModel& model, size_t d) {
  const JointDofs& dofs = model.Dofs();
  std::vector<double> motion(dofs.Equations(), 0.0);
  for (size_t eq = 0; eq < motion.size(); ++eq) {
    const size_t slot = dofs.FreeSlots()[eq];
    const size_t joint = slot / kJointDofs;
    const size_t part = slot % kJointDofs / 3;  // 0 translation, 1 rotation
    const Vector3 axis = Vector3::Unit(static_cast<Eigen::Index>(d % 3));
    Vector3 global = Vector3::Zero();
    if (d < 3) {
      if (part == 0) global = axis;
    } else if (part == 0) {
      const Joint& at = model.Deck().joints[joint];
      global = axis.cross(Vector3(at.x, at.y, at.z));
    } else {
      global = axis;
    }
    motion[eq] = (dofs.Axes(joint) * global)(static_cast<Eigen::Index>(slot % 3));
  }
  return motion;
}

ModalAnalysis::ModalAnalysis(const DiscreteModel& model, Messages messages)
    : m_model(model), m_messages(std::move(messages)) {
  for (const LoadCase& loadCase : model.Deck().cases) {
    if (loadCase.kind == CaseKind::kSpectrum) m_spectrumModes = std::max(m_spectrumModes, loadCase.modes);
    const bool superposed = loadCase.kind == CaseKind::kHistory && loadCase.history.type == HistoryType::kDynamic &&
                            loadCase.history.solution == HistorySolution::kModal;
    if (superposed) m_spectrumModes = std::max(m_spectrumModes, loadCase.history.modes);
  }
  m_wanted = model.Deck().options.eigenMethod != 0 || m_spectrumModes > 0;
}

ModalSolution ModalAnalysis::Solve(const PartitionedMatrix& stiffness, Timings& timings,
                                   SparseCholesky* stiffnessFactor) const {
  const auto start = Clock::now();
  const PartitionedMatrix mass = m_model.Mass();
  const int massive = MassiveEquations(static_cast<int>(m_model.Equations()), mass.freeFree);
  if (massive == 0) {
    throw AnalysisError("the eigen solution needs mass, and no free degree of freedom carries any (JOINT MASS)");
  }
  const std::vector<double> ratios = DiagonalRatios(m_model.Equations(), stiffness, mass);
  const Options& options = m_model.Deck().options;
  EigenRequest request;
  request.shift = Shift(ratios);
  request.tolerance = std::max(options.tolerance, 0.0);
  request.maxIterations = std::max(options.iterations, 0);
  SparseCholesky own;
  SparseCholesky& factor = Factorise(stiffness, mass, request.shift, stiffnessFactor, own, timings);
  EigenPairs pairs = FindModes(stiffness, mass, massive, request, factor);
  // An eigenvalue within round-off of zero, set by the largest frequency
  // the diagonal can hold, is a rigid-body mode's.
  const double roundOff = ratios.empty() ? 0.0 : kRigidBodyEigenvalue * *std::max_element(ratios.begin(), ratios.end());
  for (double& value : pairs.values) {
    if (value <= roundOff) value = 0.0;
  }
  ModalSolution solution = Measure(mass, pairs);
  timings.modes += SecondsSince(start);
  return solution;
}

int ModalAnalysis::ModesAsked() const {
  const Options& options = m_model.Deck().options;
  const int asked = options.eigenMethod != 0 ? options.modes : 0;
  return std::max(asked, m_spectrumModes);
}

// The factorisation of K - sigma M: the stiffness's own when it is at hand
// and there is no shift; else made in `own`, or an error telling where the
// structure gives way.
SparseCholesky& ModalAnalysis::Factorise(const PartitionedMatrix& stiffness, const PartitionedMatrix& mass,
                                         double shift, SparseCholesky* stiffnessFactor, SparseCholesky& own,
                                         Timings& timings) const {
  const JointDofs& dofs = m_model.Dofs();
  if (shift == 0.0) {
    if (stiffnessFactor != nullptr) return *stiffnessFactor;
    const std::optional<Weakness> weakness = FactoriseStiffness(stiffness, dofs, own, timings);
    if (!weakness) return own;
    throw AnalysisError("the structure is unstable" +
                        (weakness->slot ? ": " + dofs.SlotName(*weakness->slot) + " " + weakness->how : "") +
                        "; a structure free to move needs RIGID BODY MODE EXIST in its eigen solution");
  }
  int32_t failed = -1;
  if (FactoriseShifted(static_cast<int>(m_model.Equations()), stiffness.freeFree, mass.freeFree, shift, own, failed)) {
    return own;
  }
  throw AnalysisError("the structure is unstable even with its rigid-body modes shifted by " + NumberText(-shift) +
                      (failed >= 0 ? ": " + dofs.SlotName(dofs.FreeSlots()[failed]) + " has no stiffness" : ""));
}

// The lowest modes asked for, or those below the cut-off frequency: found
// in batches that double until one lies beyond it.
EigenPairs ModalAnalysis::FindModes(const PartitionedMatrix& stiffness, const PartitionedMatrix& mass, int massive,
                                    EigenRequest request, SparseCholesky& factor) const {
  const Options& options = m_model.Deck().options;
  const int equations = static_cast<int>(m_model.Equations());
  const auto pairs = [&] { return LowestEigenpairs(equations, stiffness.freeFree, mass.freeFree, request, factor); };
  if (options.eigenMethod == 0 || !options.withinInterval) {
    const int asked = ModesAsked();
    if (asked <= 0) throw AnalysisError("the eigen solution asks for NUMBER OF MODES=" + std::to_string(asked));
    if (asked > massive) {
      m_messages.Warn(std::to_string(asked) + " modes are asked for, but only " + std::to_string(massive) +
                      " degrees of freedom carry mass: " + std::to_string(massive) + " modes are found");
    }
    request.wanted = std::min(asked, massive);
    return pairs();
  }
  if (!(options.cutoff > 0.0)) {
    throw AnalysisError("FREQUENCIES WITHIN INTERVAL needs a positive CUT_OFF CIRCLULAR FREQUENCY");
  }
  const double limit = options.cutoff * options.cutoff;
  request.wanted = std::min(std::max(kFirstIntervalBatch, m_spectrumModes), massive);
  EigenPairs found = pairs();
  while (request.wanted < massive && !found.values.empty() && found.values.back() <= limit) {
    request.wanted = std::min(2 * request.wanted, massive);
    found = pairs();
  }
  size_t within = 0;
  while (within < found.values.size() && found.values[within] <= limit) ++within;
  if (options.modes > 0) within = std::min(within, static_cast<size_t>(options.modes));
  found.values.resize(within);
  found.vectors.conservativeResize(Eigen::NoChange, static_cast<Eigen::Index>(within));
  return found;
}

// No shift unless the structure is declared free to move: then the one the
// input gives (of eigenvalues, rad^2/s^2), or a thousandth of the smallest
// ratio of stiffness to mass on an equation's diagonal (so about the scale
// of the lowest frequencies, far above round-off).
double ModalAnalysis::Shift(const std::vector<double>& ratios) const {
  const Options& options = m_model.Deck().options;
  if (!options.rigidBodyModes) return 0.0;
  // The input's shift, of either sign, moves the eigenvalues up by its size.
  if (options.rigidBodyShift != 0) return -std::fabs(static_cast<double>(options.rigidBodyShift));
  const auto smallest = std::min_element(ratios.begin(), ratios.end());
  return smallest == ratios.end() ? -1.0 : -1e-3 * *smallest;
}

ModalSolution ModalAnalysis::Measure(const PartitionedMatrix& mass, const EigenPairs& pairs) const {
  const size_t n = m_model.Equations();
  const SparseMatrix m = Symmetric(static_cast<int>(n), mass.freeFree);
  std::array<Eigen::VectorXd, 6> inertia;  // M iota per direction
  ModalSolution solution;
  solution.joints = m_model.Dofs().Joints();
  solution.method = pairs.method;
  for (size_t d = 0; d < 6; ++d) {
    const std::vector<double> motion = GroundMotion(m_model, d);
    const Eigen::Map<const Eigen::VectorXd> iota(motion.data(), static_cast<Eigen::Index>(n));
    inertia[d] = m * iota;
    solution.totalMass[d] = iota.dot(inertia[d]);
  }
  const std::vector<double> atRest(m_model.Dofs().RestrainedSlots().size(), 0.0);
  for (Eigen::Index k = 0; k < pairs.vectors.cols(); ++k) {
    Mode& mode = solution.modes.emplace_back();
    mode.eigenvalue = pairs.values[static_cast<size_t>(k)];
    mode.circular = std::sqrt(std::max(mode.eigenvalue, 0.0));
    mode.frequency = mode.circular / (2.0 * std::numbers::pi);
    mode.period = mode.circular > 0.0 ? 1.0 / mode.frequency : 0.0;
    const Eigen::VectorXd phi = pairs.vectors.col(k);
    for (size_t d = 0; d < 6; ++d) {
      mode.participation[d] = phi.dot(inertia[d]);
      const double total = solution.totalMass[d];
      mode.massRatio[d] = total > 0.0 ? mode.participation[d] * mode.participation[d] / total : 0.0;
    }
    mode.slots = m_model.SlotValues(std::span<const double>(phi.data(), n), atRest);
    for (size_t joint = 0; joint < solution.joints; ++joint) {
      const Vector3 t = m_model.GlobalAt(mode.slots, joint, 0), r = m_model.GlobalAt(mode.slots, joint, 3);
      mode.shape.push_back({t.x(), t.y(), t.z(), r.x(), r.y(), r.z()});
    }
  }
  return solution;
}

}  // namespace tav::analysis
