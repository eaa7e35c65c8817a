#include "analysis/FrameAnalysis.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "analysis/DiscreteModel.h"
#include "analysis/ResultRecovery.h"
#include "analysis/SpectrumCases.h"
#include "analysis/StaticLoads.h"
#include "analysis/StaticSolution.h"

namespace tav::analysis {
namespace {

std::string SizeLine(const DiscreteModel& model) {
  return "ANALYSING " + std::to_string(model.Dofs().Joints()) + " JOINTS, " +
         std::to_string(model.Elements().Beams().size()) + " BEAMS, " +
         std::to_string(model.Elements().Links().size()) + " LINKS: " + std::to_string(model.Equations()) +
         " EQUATIONS";
}

}  // namespace

FrameAnalysis::FrameAnalysis(const InputDeck& deck, Messages messages)
    : m_deck(deck), m_messages(std::move(messages)) {}

std::vector<CaseResult> FrameAnalysis::Run() {
  auto start = Clock::now();
  const DiscreteModel model(m_deck, m_messages);
  CheckResultSize(model);
  m_timings.equations = model.Equations();
  m_messages.Progress(SizeLine(model));
  std::vector<StaticCase> statics = StaticCasesOf(model);
  const PartitionedMatrix baseStiffness = model.BaseStiffness();
  m_timings.assemble += SecondsSince(start);

  const ModalAnalysis modal(model, m_messages);
  std::unique_ptr<SparseCholesky> allClosed;  // kept for the modes
  SolveStaticCases(model, baseStiffness, statics, m_timings, modal.Wanted() ? &allClosed : nullptr);

  start = Clock::now();
  std::vector<CaseResult> results = Results(model, statics);
  m_timings.recover += SecondsSince(start);
  SolveModes(model, modal, baseStiffness, allClosed.get(), results);
  return results;
}

// The modes, with every gap closed, and the response spectrum cases.
void FrameAnalysis::SolveModes(const DiscreteModel& model, const ModalAnalysis& modal,
                               const PartitionedMatrix& baseStiffness, SparseCholesky* stiffnessFactor,
                               std::vector<CaseResult>& results) {
  const auto spectrum = [](const LoadCase& loadCase) { return loadCase.kind == CaseKind::kSpectrum; };
  if (!modal.Wanted() && std::none_of(m_deck.cases.begin(), m_deck.cases.end(), spectrum)) return;
  const size_t links = model.Elements().Links().size();
  PartitionedMatrix stiffness = baseStiffness;
  model.AddLinkStiffness(stiffness, std::vector<char>(links, 1));
  if (modal.Wanted()) {
    if (links > 0) m_messages.Warn("the eigen solution takes every gap of the nonlinear links closed");
    m_modes = modal.Solve(stiffness, m_timings, stiffnessFactor);
    m_messages.Progress("EIGEN SOLUTION: " + std::to_string(m_modes.modes.size()) + " MODES BY " + m_modes.method);
  }
  for (size_t position = 0; position < m_deck.cases.size(); ++position) {
    const LoadCase& loadCase = m_deck.cases[position];
    if (!spectrum(loadCase)) continue;
    SolveSpectrumCase(model, stiffness, m_modes, loadCase, m_messages, results[position]);
    if (results[position].error.empty()) {
      m_messages.Progress("RESPONSE SPECTRUM LOAD CONDITION " + std::to_string(loadCase.number + 1) + " SOLVED");
    }
  }
}

// The loads of the static cases; history and moving ones are not analysed.
std::vector<StaticCase> FrameAnalysis::StaticCasesOf(const DiscreteModel& model) const {
  const StaticLoads loads(model, m_messages);
  std::vector<StaticCase> statics;
  for (size_t position = 0; position < m_deck.cases.size(); ++position) {
    const LoadCase& loadCase = m_deck.cases[position];
    if (loadCase.kind == CaseKind::kSpectrum) continue;  // after the modes
    if (loadCase.kind != CaseKind::kStatic) {
      m_messages.Warn(Where(loadCase.line) + (loadCase.kind == CaseKind::kHistory ? "history" : "moving") +
                      " load condition " + std::to_string(loadCase.number + 1) +
                      " is not analysed: its results are zero");
      continue;
    }
    StaticCase& added = statics.emplace_back(position, loadCase.number + 1, model.Elements().Links().size());
    added.loads = loads.Of(loadCase, added.name);
  }
  return statics;
}

// Every case's results: zero but for the static cases that were solved and
// whose results are finite numbers.
std::vector<CaseResult> FrameAnalysis::Results(const DiscreteModel& model,
                                               const std::vector<StaticCase>& statics) const {
  std::vector<CaseResult> results(m_deck.cases.size(), ZeroResult(model));
  for (const StaticCase& solved : statics) {
    CaseResult& result = results[solved.position];
    std::string error = solved.error;
    if (error.empty()) {
      RecoverResult(model, solved.displacements, solved.restraintForces, solved.loads.spans, result);
      if (!AllFinite(result)) error = solved.name + ": its results overflow (not finite numbers)";
    }
    if (error.empty()) {
      m_messages.Progress("STATIC LOAD CONDITION " + std::to_string(solved.number) + " SOLVED");
      continue;
    }
    result = ZeroResult(model);
    result.error = std::move(error);
  }
  return results;
}

}  // namespace tav::analysis
