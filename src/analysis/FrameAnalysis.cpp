#include "analysis/FrameAnalysis.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <utility>

#include "analysis/DiscreteModel.h"
#include "analysis/HistoryCases.h"
#include "analysis/MovingCases.h"
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

std::string CaseName(const LoadCase& loadCase) {
  static constexpr const char* kKinds[] = {"static", "history", "response spectrum", "moving"};
  return std::string(kKinds[static_cast<size_t>(loadCase.kind)]) + " load condition " +
         std::to_string(loadCase.number + 1);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
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
  const bool dynamic = std::any_of(m_deck.cases.begin(), m_deck.cases.end(),
                                   [](const LoadCase& loadCase) { return loadCase.kind != CaseKind::kStatic; });
  std::unique_ptr<SparseCholesky> allClosed;  // kept for the modes and the other conditions
  SolveStaticCases(model, baseStiffness, statics, m_timings, modal.Wanted() || dynamic ? &allClosed : nullptr);

  start = Clock::now();
  std::vector<CaseResult> results = Results(model, statics);
  m_timings.recover += SecondsSince(start);
  if (!modal.Wanted() && !dynamic) return results;

  const size_t links = model.Elements().Links().size();
  PartitionedMatrix stiffness = baseStiffness;
  model.AddLinkStiffness(stiffness, std::vector<char>(links, 1));
  if (links > 0) m_messages.Warn("the modes, history and moving load conditions take every gap of the links closed");
  if (modal.Wanted()) {
    m_modes = modal.Solve(stiffness, m_timings, allClosed.get());
    m_messages.Progress("EIGEN SOLUTION: " + std::to_string(m_modes.modes.size()) + " MODES BY " + m_modes.method);
  }
  SolveOtherCases(model, stiffness, allClosed.get(), results);
  return results;
}

// The response spectrum, history and moving conditions, with every gap
// closed; each fails alone.
void FrameAnalysis::SolveOtherCases(const DiscreteModel& model, const PartitionedMatrix& stiffness,
                                    SparseCholesky* stiffnessFactor, std::vector<CaseResult>& results) {
  for (size_t position = 0; position < m_deck.cases.size(); ++position) {
    const LoadCase& loadCase = m_deck.cases[position];
    CaseResult& result = results[position];
    if (loadCase.kind == CaseKind::kStatic) continue;
    if (loadCase.kind == CaseKind::kSpectrum) {
      SolveSpectrumCase(model, stiffness, m_modes, loadCase, m_messages, result);
    } else {
      CaseResponse& response = m_responses.emplace_back();
      response.position = position;
      try {
        if (loadCase.kind == CaseKind::kHistory) {
          SolveHistoryCase(model, stiffness, stiffnessFactor, m_modes, loadCase, m_messages, m_timings, result,
                           response);
        } else {
          SolveMovingCase(model, stiffness, stiffnessFactor, loadCase, m_messages, m_timings, result, response);
        }
        if (!AllFinite(result)) throw AnalysisError(CaseName(loadCase) + ": its results overflow (not finite numbers)");
      } catch (const AnalysisError& error) {
        result = ZeroResult(model);
        result.error = error.what();
        response = CaseResponse{position, result, result, {}};
      }
    }
    if (result.error.empty()) m_messages.Progress(Upper(CaseName(loadCase)) + " SOLVED");
  }
}

// The loads of the static cases; the others are solved after them.
std::vector<StaticCase> FrameAnalysis::StaticCasesOf(const DiscreteModel& model) const {
  const StaticLoads loads(model, m_messages);
  std::vector<StaticCase> statics;
  for (size_t position = 0; position < m_deck.cases.size(); ++position) {
    const LoadCase& loadCase = m_deck.cases[position];
    if (loadCase.kind != CaseKind::kStatic) continue;
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
