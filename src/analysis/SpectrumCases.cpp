#include "analysis/SpectrumCases.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/Reactions.h"
#include "analysis/ResultRecovery.h"

namespace tav::analysis {
namespace {

// What makes a condition impossible to analyse: the condition fails alone.
struct CaseFailure {
  std::string reason;
};

const Function& SpectrumFunction(const InputDeck& deck, const SelfWeight& excitation) {
  if (!excitation.present) throw CaseFailure{"it gives no excitation (FUNCTION=f FX=r ACC=a)"};
  if (excitation.direction < 0) throw CaseFailure{"its excitation names no direction"};
  const auto f = static_cast<size_t>(excitation.function);
  if (f >= deck.functions.size()) {
    throw CaseFailure{"its spectrum, function " + std::to_string(f + 1) + ", does not exist"};
  }
  const Function& function = deck.functions[f];
  if (function.sinusoidal || function.points.empty()) {
    throw CaseFailure{"its spectrum, function " + std::to_string(f + 1) + ", is not a table of points (CONSTANT)"};
  }
  for (size_t p = 1; p < function.points.size(); ++p) {
    if (!(function.points[p][0] > function.points[p - 1][0])) {
      throw CaseFailure{"the periods of its spectrum, function " + std::to_string(f + 1) + ", do not increase"};
    }
  }
  return function;
}

// The table's ordinate at `period`: linear between points, the end
// ordinates beyond them.
double Ordinate(const Function& table, double period) {
  const auto& points = table.points;
  if (period <= points.front()[0]) return points.front()[1];
  if (period >= points.back()[0]) return points.back()[1];
  const auto above = std::upper_bound(points.begin(), points.end(), period,
                                      [](double t, const std::array<double, 2>& point) { return t < point[0]; });
  const auto& [t1, s1] = *(above - 1);
  const auto& [t2, s2] = *above;
  return s1 + (s2 - s1) * (period - t1) / (t2 - t1);
}

double DampingOf(const LoadCase& loadCase, size_t mode) {
  if (loadCase.damping.empty()) return kDefaultModalDamping;
  return loadCase.damping[std::min(mode, loadCase.damping.size() - 1)];
}

// Every value of the response of one mode at its peak.
std::vector<double> PeakValues(const DiscreteModel& model, const PartitionedMatrix& stiffness, const Mode& mode,
                               double amplitude) {
  std::vector<double> slots(mode.slots.size());
  for (size_t s = 0; s < slots.size(); ++s) slots[s] = amplitude * mode.slots[s];
  const std::vector<double> imposed(model.Dofs().RestrainedSlots().size(), 0.0);
  const std::vector<double> loads(model.Dofs().Slots(), 0.0);
  const std::vector<double> restraint = RestraintForces(model.Dofs(), stiffness, slots, imposed, loads);
  CaseResult result = ZeroResult(model);
  RecoverResult(model, slots, restraint, std::vector<std::vector<SpanLoad>>(model.Elements().Beams().size()), result);
  std::vector<double> values;
  ForEachValue(result, [&values](double value) { values.push_back(value); });
  return values;
}

double Combined(ModeCombination rule, const std::vector<const std::vector<double>*>& modal, size_t k,
                const std::vector<std::vector<double>>& correlation) {
  double sum = 0.0;
  for (size_t i = 0; i < modal.size(); ++i) {
    const double r = (*modal[i])[k];
    if (rule == ModeCombination::kAbs) {
      sum += std::fabs(r);
    } else if (rule == ModeCombination::kSrss) {
      sum += r * r;
    } else {
      for (size_t j = 0; j < modal.size(); ++j) sum += r * correlation[i][j] * (*modal[j])[k];
    }
  }
  return rule == ModeCombination::kAbs ? sum : std::sqrt(std::max(sum, 0.0));
}

void Solve(const DiscreteModel& model, const PartitionedMatrix& stiffness, const ModalSolution& modal,
           const LoadCase& loadCase, const Messages& messages, const std::string& name, CaseResult& result) {
  const SelfWeight& excitation = loadCase.selfWeight;
  const Function& spectrum = SpectrumFunction(model.Deck(), excitation);
  if (loadCase.combination == ModeCombination::kNone) throw CaseFailure{"it names no MODE COMBINATION"};
  if (loadCase.modes <= 0) throw CaseFailure{"it combines NUMBER OF MODES=" + std::to_string(loadCase.modes)};
  size_t count = static_cast<size_t>(loadCase.modes);
  if (count > modal.modes.size()) {
    messages.Warn(Where(loadCase.line) + name + " asks for " + std::to_string(count) + " modes; the " +
                  std::to_string(modal.modes.size()) + " found are combined");
    count = modal.modes.size();
  }
  std::vector<std::vector<double>> peaks;
  std::vector<size_t> used;
  for (size_t n = 0; n < count; ++n) {
    const Mode& mode = modal.modes[n];
    if (mode.circular <= 0.0) {
      messages.Warn(Where(loadCase.line) + name + " leaves out mode " + std::to_string(n + 1) + ", a rigid-body mode");
      continue;
    }
    const double acceleration = Ordinate(spectrum, mode.period) * excitation.factor * excitation.acceleration;
    const double amplitude = mode.participation[excitation.direction] * acceleration / mode.eigenvalue;
    peaks.push_back(PeakValues(model, stiffness, mode, amplitude));
    used.push_back(n);
  }
  std::vector<std::vector<double>> correlation(used.size(), std::vector<double>(used.size()));
  for (size_t i = 0; i < used.size(); ++i) {
    for (size_t j = 0; j < used.size(); ++j) {
      correlation[i][j] = ModalCorrelation(modal.modes[used[i]].circular, modal.modes[used[j]].circular,
                                           DampingOf(loadCase, used[i]), DampingOf(loadCase, used[j]));
    }
  }
  std::vector<const std::vector<double>*> modalValues;
  for (const std::vector<double>& values : peaks) modalValues.push_back(&values);
  size_t k = 0;
  ForEachValue(result, [&](double& value) {
    value = modalValues.empty() ? 0.0 : Combined(loadCase.combination, modalValues, k, correlation);
    ++k;
  });
}

}  // namespace

double ModalCorrelation(double omegaI, double omegaJ, double dampingI, double dampingJ) {
  const double r = omegaJ / omegaI;
  const double numerator = 8.0 * std::sqrt(dampingI * dampingJ) * (dampingI + r * dampingJ) * std::pow(r, 1.5);
  const double denominator = (1.0 - r * r) * (1.0 - r * r) + 4.0 * dampingI * dampingJ * r * (1.0 + r * r) +
                             4.0 * (dampingI * dampingI + dampingJ * dampingJ) * r * r;
  return denominator > 0.0 ? numerator / denominator : 1.0;
}

void SolveSpectrumCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, const ModalSolution& modal,
                       const LoadCase& loadCase, const Messages& messages, CaseResult& result) {
  const std::string name = "response spectrum load condition " + std::to_string(loadCase.number + 1);
  try {
    Solve(model, stiffness, modal, loadCase, messages, name, result);
    if (!AllFinite(result)) throw CaseFailure{"its results overflow (not finite numbers)"};
  } catch (const CaseFailure& failure) {
    result = ZeroResult(model);
    result.error = name + ": " + failure.reason;
  }
}

}  // namespace tav::analysis
