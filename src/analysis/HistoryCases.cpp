#include "analysis/HistoryCases.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/Envelope.h"
#include "analysis/EquationsOfMotion.h"
#include "analysis/ModalIntegration.h"
#include "analysis/Reactions.h"
#include "analysis/ResultRecovery.h"
#include "analysis/Stability.h"
#include "analysis/StaticLoads.h"
#include "analysis/TimeFunctions.h"
#include "analysis/TimeIntegration.h"
#include "tav/util/FormatC.h"

namespace tav::analysis {
namespace {

// The most values the series of one condition may hold (steps x joints x
// 12: displacements and reactions), 1.6 GB.
constexpr double kMostSeriesValues = 200e6;
constexpr double kWilsonDefault = 1.4;
// Wilson theta is unconditionally stable from here on.
constexpr double kWilsonUnconditional = 1.37;
// Dampers that couple two modes by more than this share of their own
// damping make mode superposition's uncoupled equations a poor reading.
constexpr double kCouplingWarning = 0.01;
// A load up to this share of the largest in its vector is round-off.
constexpr double kRoundOffLoad = 1e-12;

// What the solution of one condition works with.
struct Condition {
  const DiscreteModel& model;
  const PartitionedMatrix& stiffness;
  const LoadCase& loadCase;
  const Messages& messages;
  std::string name;  // "history load condition 2"
  Timings& timings;

  void Warn(const std::string& text) const { messages.Warn(Where(loadCase.line) + name + " " + text); }
};

// One function's share of the condition's loads, as the static solution
// takes them, and the function's value at every step.
struct TimedLoads {
  CaseLoads loads;
  std::vector<double> factors;
};

void CheckSolution(const HistorySettings& settings) {
  if (settings.type == HistoryType::kUnknown) throw AnalysisError("its TYPE is neither NST nor DYNAMIC ANALYSYS");
  if (settings.type == HistoryType::kNst) return;
  if (settings.solution == HistorySolution::kSpectrum) {
    throw AnalysisError(
        "a history condition cannot be solved by response spectrum; "
        "use a RESPONSE SPECTRUM LOAD CONDITION");
  }
  if (settings.solution == HistorySolution::kUnknown) {
    throw AnalysisError("it is solved BY neither DIRECT INTRGRATION nor MODE SUPERPOSITION");
  }
  if (settings.solution == HistorySolution::kDirect && settings.method == Integration::kUnknown) {
    throw AnalysisError("its METHOD is none of WILSON THETA, NEWMARK BETA and CENTRAL DIFFERENCE");
  }
}

// N, the last step: a whole number, with a step greater than 0 when there
// are steps, and a series that fits.
size_t StepCount(const HistorySettings& settings, size_t joints) {
  const double steps = settings.steps;
  if (!std::isfinite(steps) || steps < 0.0 || steps != std::floor(steps)) {
    throw AnalysisError("NSTE=" + NumberText(steps) + " is not a whole number of steps (0 or more)");
  }
  if (steps > 0.0 && !(std::isfinite(settings.dt) && settings.dt > 0.0)) {
    throw AnalysisError("DT=" + NumberText(settings.dt) + " is not a time step greater than 0");
  }
  const double values = (steps + 1.0) * static_cast<double>(std::max<size_t>(joints, 1)) * 12.0;
  if (values > kMostSeriesValues) {
    throw AnalysisError("its series would hold " + NumberText(steps + 1.0) + " steps x " + std::to_string(joints) +
                        " joints x 12 values, more than the " + NumberText(kMostSeriesValues) +
                        " the program keeps: take fewer steps (NSTE)");
  }
  return static_cast<size_t>(steps);
}

std::vector<double> Sampled(const TimeFunction& function, size_t steps, double dt) {
  std::vector<double> values(steps + 1);
  for (size_t k = 0; k <= steps; ++k) values[k] = function.At(static_cast<double>(k) * dt);
  return values;
}

// The joint loads, beam loads and prescribed displacements of the
// condition by their function: each group's loads built once.
std::vector<TimedLoads> LoadsByFunction(const Condition& condition, size_t steps, double dt) {
  struct Group {
    LoadCase loads;
    std::string user;  // "line 12: its joint load", the first load naming the function
  };
  std::map<int, Group> groups;
  const auto groupOf = [&](int function, int line, const char* what) -> LoadCase& {
    const auto [at, added] = groups.try_emplace(function);
    Group& group = at->second;
    if (added) {
      group.loads.kind = condition.loadCase.kind;
      group.loads.number = condition.loadCase.number;
      group.user = Where(line) + "its " + what;
    }
    return group.loads;
  };
  const LoadCase& loadCase = condition.loadCase;
  for (const JointLoad& load : loadCase.jointLoads) {
    groupOf(load.function, load.line, "joint load").jointLoads.push_back(load);
  }
  for (const BeamLoad& load : loadCase.beamLoads) {
    groupOf(load.function, load.line, "beam load").beamLoads.push_back(load);
  }
  for (const JointLoad& load : loadCase.displacements) {
    groupOf(load.function, load.line, "prescribed displacement").displacements.push_back(load);
  }
  const StaticLoads statics(condition.model, condition.messages);
  std::vector<TimedLoads> timed;
  for (const auto& [function, group] : groups) {
    const TimeFunction values = TimeFunctionOf(condition.model.Deck(), function, group.user);
    timed.push_back({statics.Of(group.loads, condition.name), Sampled(values, steps, dt)});
  }
  return timed;
}

// A group's load on the free equations: the loads there, less what its
// prescribed displacements pull through the stiffness.
Eigen::VectorXd FreeLoad(const JointDofs& dofs, const PartitionedMatrix& stiffness, const CaseLoads& loads) {
  Eigen::VectorXd free(static_cast<Eigen::Index>(dofs.Equations()));
  for (size_t eq = 0; eq < dofs.Equations(); ++eq) {
    free(static_cast<Eigen::Index>(eq)) = loads.slots[dofs.FreeSlots()[eq]];
  }
  for (const MatrixEntry& e : stiffness.freeRestrained) free(e.row) -= e.value * loads.imposed[e.column];
  return free;
}

// The ground acceleration a_g(t) = factor x ACC x f(t) as the load
// -M iota a_g(t).
ScaledLoad GroundLoad(const Condition& condition, const EquationsOfMotion& system, size_t steps, double dt) {
  const SelfWeight& ground = condition.loadCase.selfWeight;
  if (ground.direction < 0 || ground.direction > 2) {
    throw AnalysisError(Where(ground.line) + "its ground acceleration names no direction (FX, FY or FZ)");
  }
  const std::string user = Where(ground.line) + "its ground acceleration";
  const TimeFunction function = TimeFunctionOf(condition.model.Deck(), ground.function, user);
  const std::vector<double> iota = GroundMotion(condition.model, static_cast<size_t>(ground.direction));
  const Eigen::Map<const Eigen::VectorXd> motion(iota.data(), system.Equations());
  ScaledLoad load{-(system.Mass() * motion), Sampled(function, steps, dt)};
  for (double& factor : load.factors) factor *= ground.factor * ground.acceleration;
  return load;
}

// Each step's results, recovered as the static solution recovers its own,
// into the envelopes and the series.
class StepRecorder {
 public:
  StepRecorder(const Condition& condition, const std::vector<TimedLoads>& loads, double dt)
      : m_condition(condition), m_loads(loads), m_step(ZeroResult(condition.model)), m_envelope(m_step) {
    m_series.dt = dt;
  }

  void Record(size_t step, const Eigen::VectorXd& free) {
    const auto start = Clock::now();
    const DiscreteModel& model = m_condition.model;
    const CaseLoads now = LoadsAt(step);
    const std::vector<double> slots =
        model.SlotValues(std::span<const double>(free.data(), static_cast<size_t>(free.size())), now.imposed);
    const std::vector<double> restraint =
        RestraintForces(model.Dofs(), m_condition.stiffness, slots, now.imposed, now.slots);
    RecoverResult(model, slots, restraint, now.spans, m_step);
    m_envelope.Add(m_step);
    m_series.times.push_back(static_cast<double>(step) * m_series.dt);
    m_series.displacements.push_back(m_step.displacements);
    m_series.reactions.push_back(m_step.reactions);
    m_condition.timings.recover += SecondsSince(start);
  }

  void Finish(CaseResult& result, CaseResponse& response) {
    result = m_envelope.Peak();
    response.maximum = m_envelope.Maximum();
    response.minimum = m_envelope.Minimum();
    response.series = std::move(m_series);
  }

 private:
  // Every group's loads scaled by its function at `step`.
  CaseLoads LoadsAt(size_t step) const {
    CaseLoads now;
    now.slots.assign(m_condition.model.Dofs().Slots(), 0.0);
    now.imposed.assign(m_condition.model.Dofs().RestrainedSlots().size(), 0.0);
    now.spans.resize(m_condition.model.Elements().Beams().size());
    for (const TimedLoads& part : m_loads) {
      const double f = part.factors[step];
      if (f == 0.0) continue;
      for (size_t s = 0; s < now.slots.size(); ++s) now.slots[s] += f * part.loads.slots[s];
      for (size_t r = 0; r < now.imposed.size(); ++r) now.imposed[r] += f * part.loads.imposed[r];
      for (size_t b = 0; b < now.spans.size(); ++b) {
        for (SpanLoad piece : part.loads.spans[b]) {
          piece.value1 *= f;
          piece.value2 *= f;
          now.spans[b].push_back(piece);
        }
      }
    }
    return now;
  }

  const Condition& m_condition;
  const std::vector<TimedLoads>& m_loads;
  CaseResult m_step;  // the step at hand; also the envelopes' shape
  Envelope m_envelope;
  ResponseSeries m_series;
};

// TYPE=NST: each function's loads solved once, scaled at every step.
void SolveStatically(const Condition& condition, const EquationsOfMotion& system, SparseCholesky* stiffnessFactor,
                     const StepSink& sink) {
  SparseCholesky own;
  if (stiffnessFactor == nullptr) {
    const JointDofs& dofs = condition.model.Dofs();
    if (const auto weakness = FactoriseStiffness(condition.stiffness, dofs, own, condition.timings)) {
      throw AnalysisError("the structure is unstable" +
                          (weakness->slot ? ": " + dofs.SlotName(*weakness->slot) + " " + weakness->how : ""));
    }
    stiffnessFactor = &own;
  }
  const std::vector<ScaledLoad>& loads = system.Loads();
  const Eigen::Index n = system.Equations();
  std::vector<double> solved;
  for (const ScaledLoad& load : loads) solved.insert(solved.end(), load.vector.data(), load.vector.data() + n);
  const auto start = Clock::now();
  stiffnessFactor->Solve(solved, static_cast<int32_t>(loads.size()));
  condition.timings.solve += SecondsSince(start);
  for (size_t k = 0; k <= system.Steps(); ++k) {
    Eigen::VectorXd u = Eigen::VectorXd::Zero(n);
    for (size_t g = 0; g < loads.size(); ++g) {
      u += loads[g].factors[k] * Eigen::Map<const Eigen::VectorXd>(solved.data() + g * static_cast<size_t>(n), n);
    }
    sink(k, u);
  }
}

struct NewmarkParameters {
  double gamma, beta;
};

// gamma then beta, as INTEGRATION PARAMETERS give them; 0.5 and 0.25
// (average acceleration) for those they leave out.
NewmarkParameters NewmarkGammaBeta(const Condition& condition) {
  const std::vector<double>& p = condition.loadCase.history.parameters;
  const double gamma = p.size() > 0 ? p[0] : 0.5, beta = p.size() > 1 ? p[1] : 0.25;
  const std::string order = "NEWMARK BETA takes γ then β: 0.5 0.25 is average acceleration";
  if (!std::isfinite(gamma) || !std::isfinite(beta) || gamma < 0.5 || beta < 0.0) {
    throw AnalysisError("INTEGRATION PARAMETERS give γ = " + NumberText(gamma) + " and β = " + NumberText(beta) +
                        ", under which the response grows without bound; " + order);
  }
  if (beta == 0.0) {
    throw AnalysisError(
        "β = 0 makes NEWMARK BETA explicit, which the program integrates as METHOD=CENTRAL "
        "DIFFERENCE; " +
        order);
  }
  const double unconditional = 0.25 * (gamma + 0.5) * (gamma + 0.5);
  if (beta < unconditional) {
    condition.Warn("integrates by NEWMARK BETA with β = " + NumberText(beta) +
                   " below (γ + 1/2)²/4 = " + NumberText(unconditional) + ": only conditionally stable");
  }
  return {gamma, beta};
}

double WilsonTheta(const Condition& condition) {
  const std::vector<double>& p = condition.loadCase.history.parameters;
  const double theta = p.empty() ? kWilsonDefault : p[0];
  if (!std::isfinite(theta) || theta < 1.0) {
    throw AnalysisError("INTEGRATION PARAMETERS give θ = " + NumberText(theta) +
                        ", and WILSON THETA takes θ of 1 or more (1.4 when none is given)");
  }
  if (theta < kWilsonUnconditional) {
    condition.Warn("integrates by WILSON THETA with θ = " + NumberText(theta) +
                   " below 1.37: only conditionally stable");
  }
  return theta;
}

void IntegrateDirectly(const Condition& condition, const EquationsOfMotion& system, const StepSink& sink) {
  const Integration method = condition.loadCase.history.method;
  if (method == Integration::kCentral) {
    IntegrateCentralDifference(system, condition.timings, sink);
    return;
  }
  if (system.Mass().nonZeros() == 0) {
    condition.Warn("has no mass on any free degree of freedom: its response is static");
  }
  if (method == Integration::kWilson) {
    IntegrateWilson(system, WilsonTheta(condition), condition.timings, sink);
  } else {
    const NewmarkParameters newmark = NewmarkGammaBeta(condition);
    IntegrateNewmark(system, newmark.gamma, newmark.beta, condition.timings, sink);
  }
}

// An equation without mass that a load acts on directly, if any: the
// modes carry none of the static response to that part of the load.
std::optional<Eigen::Index> LoadedWithoutMass(const EquationsOfMotion& system) {
  const std::vector<Inertia> inertia = InertiaOf(system);
  for (const ScaledLoad& load : system.Loads()) {
    const double roundOff = kRoundOffLoad * load.vector.cwiseAbs().maxCoeff();
    for (Eigen::Index eq = 0; eq < load.vector.size(); ++eq) {
      if (inertia[static_cast<size_t>(eq)] != Inertia::kMass && std::fabs(load.vector(eq)) > roundOff) return eq;
    }
  }
  return std::nullopt;
}

void SuperposeModes(const Condition& condition, const EquationsOfMotion& system, const ModalSolution& modal,
                    const StepSink& sink) {
  const int asked = condition.loadCase.history.modes;
  if (asked < 0) throw AnalysisError("NUMBER OF MODES=" + std::to_string(asked) + " is not a number of modes");
  if (modal.modes.empty()) {
    throw AnalysisError("mode superposition needs modes, and the analysis found none");
  }
  size_t count = asked == 0 ? modal.modes.size() : static_cast<size_t>(asked);
  if (count > modal.modes.size()) {
    condition.Warn("asks for " + std::to_string(count) + " modes; the " + std::to_string(modal.modes.size()) +
                   " found are superposed");
    count = modal.modes.size();
  }
  const ModalIntegration integration(system, std::span<const Mode>(modal.modes).first(count));
  const ModalIntegration::Coupling coupling = integration.StrongestCoupling();
  if (coupling.share > kCouplingWarning) {
    condition.Warn("superposes modes that its dampers couple (modes " + std::to_string(coupling.first + 1) + " and " +
                   std::to_string(coupling.second + 1) + " by " + FormatC("%.3g", 100.0 * coupling.share) +
                   " % of their own damping); the coupling is left out");
  }
  if (const std::optional<Eigen::Index> massless = LoadedWithoutMass(system)) {
    condition.Warn("loads " + system.Name(*massless) +
                   ", which has no mass: the modes carry none of its static response there, and the displacements "
                   "and forces near it lack that part (a direct integration includes it)");
  }
  const auto start = Clock::now();
  integration.Integrate(sink);
  condition.timings.solve += SecondsSince(start);
}

void Respond(const Condition& condition, const EquationsOfMotion& system, SparseCholesky* stiffnessFactor,
             const ModalSolution& modes, const StepSink& sink) {
  const HistorySettings& settings = condition.loadCase.history;
  if (system.Equations() == 0) {
    for (size_t k = 0; k <= system.Steps(); ++k) sink(k, Eigen::VectorXd());
  } else if (settings.type == HistoryType::kNst) {
    SolveStatically(condition, system, stiffnessFactor, sink);
  } else if (settings.solution == HistorySolution::kModal) {
    SuperposeModes(condition, system, modes, sink);
  } else {
    IntegrateDirectly(condition, system, sink);
  }
}

void Solve(const Condition& condition, SparseCholesky* stiffnessFactor, const ModalSolution& modes, CaseResult& result,
           CaseResponse& response) {
  const HistorySettings& settings = condition.loadCase.history;
  CheckSolution(settings);
  const DiscreteModel& model = condition.model;
  const size_t steps = StepCount(settings, model.Dofs().Joints());
  const auto start = Clock::now();
  const std::vector<TimedLoads> timed = LoadsByFunction(condition, steps, settings.dt);
  EquationsOfMotion system(model.Dofs(), condition.stiffness, model.Mass(), model.Damping(), settings.dt, steps);
  for (const TimedLoads& part : timed) {
    system.AddLoad({FreeLoad(model.Dofs(), condition.stiffness, part.loads), part.factors});
  }
  if (condition.loadCase.selfWeight.present) system.AddLoad(GroundLoad(condition, system, steps, settings.dt));
  condition.timings.assemble += SecondsSince(start);
  StepRecorder recorder(condition, timed, settings.dt);
  Respond(condition, system, stiffnessFactor, modes,
          [&recorder](size_t step, const Eigen::VectorXd& u) { recorder.Record(step, u); });
  recorder.Finish(result, response);
}

}  // namespace

void SolveHistoryCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
                      const ModalSolution& modes, const LoadCase& loadCase, const Messages& messages, Timings& timings,
                      CaseResult& result, CaseResponse& response) {
  const Condition condition{
      model, stiffness, loadCase, messages, "history load condition " + std::to_string(loadCase.number + 1), timings};
  try {
    Solve(condition, stiffnessFactor, modes, result, response);
  } catch (const AnalysisError& error) {
    throw AnalysisError(condition.name + ": " + error.what());
  }
}

}  // namespace tav::analysis
