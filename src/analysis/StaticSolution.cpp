#include "analysis/StaticSolution.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>

#include "analysis/Reactions.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Stability.h"

namespace tav::analysis {
namespace {

constexpr int kMaxGapTrials = 50;

bool AllClosed(const std::vector<char>& closed) {
  return std::all_of(closed.begin(), closed.end(), [](char state) { return state != 0; });
}

// The trials of the static cases, each against the base stiffness and the
// gaps its cases hold closed.
class GapTrials {
 public:
  GapTrials(const DiscreteModel& model, const PartitionedMatrix& baseStiffness, Timings& timings,
            std::unique_ptr<SparseCholesky>* allClosed)
      : m_model(model), m_base(baseStiffness), m_timings(timings), m_allClosed(allClosed) {}

  void Solve(std::vector<StaticCase>& cases) const {
    for (int trial = 0; trial < kMaxGapTrials; ++trial) {
      std::map<std::vector<char>, std::vector<StaticCase*>> byGapStates;
      for (StaticCase& loadCase : cases) {
        if (loadCase.Pending()) byGapStates[loadCase.closed].push_back(&loadCase);
      }
      if (byGapStates.empty()) return;
      for (const auto& [closed, members] : byGapStates) Trial(closed, members);
    }
    for (StaticCase& loadCase : cases) {
      if (loadCase.Pending()) {
        loadCase.error = loadCase.name + ": its gaps did not settle after " + std::to_string(kMaxGapTrials) + " trials";
      }
    }
  }

 private:
  // One trial for the cases whose gaps are in the states `closed`: one
  // factorisation, all of them solved against it.
  void Trial(const std::vector<char>& closed, const std::vector<StaticCase*>& members) const {
    // With no gap closed the structure's own stiffness serves as it is; a
    // copy is made only to add gaps to.
    const auto start = Clock::now();
    std::optional<PartitionedMatrix> withGaps;
    if (std::any_of(closed.begin(), closed.end(), [](char state) { return state != 0; })) {
      withGaps = m_base;
      m_model.AddLinkStiffness(*withGaps, closed);
    }
    const PartitionedMatrix& stiffness = withGaps ? *withGaps : m_base;
    m_timings.assemble += SecondsSince(start);

    auto cholesky = std::make_unique<SparseCholesky>();
    if (const std::optional<Weakness> weakness = FactoriseStiffness(stiffness, m_model.Dofs(), *cholesky, m_timings)) {
      GiveWay(*weakness, closed, members);
      return;
    }
    const std::vector<double> solved = SolveMembers(stiffness, *cholesky, members);
    if (m_allClosed != nullptr && AllClosed(closed)) *m_allClosed = std::move(cholesky);
    const size_t equations = m_model.Equations();
    for (size_t k = 0; k < members.size(); ++k) {
      const std::span<const double> column(solved.data() + k * equations, equations);
      members[k]->displacements = m_model.SlotValues(column, members[k]->loads.imposed);
      Settle(*members[k], closed, stiffness);
    }
  }

  // With every gap closed it is the structure itself that gives way;
  // otherwise the cases whose gaps opened into a mechanism fail.
  void GiveWay(const Weakness& weakness, const std::vector<char>& closed,
               const std::vector<StaticCase*>& members) const {
    const JointDofs& dofs = m_model.Dofs();
    if (AllClosed(closed)) {
      throw AnalysisError("the structure is unstable" +
                          (weakness.slot ? ": " + dofs.SlotName(*weakness.slot) + " " + weakness.how : ""));
    }
    const std::string where = weakness.slot ? dofs.SlotName(*weakness.slot) : "the structure";
    for (StaticCase* member : members) member->error = member->name + ": " + where + " moves freely with its gaps open";
  }

  // The free equations' solutions of every member, one column after another.
  std::vector<double> SolveMembers(const PartitionedMatrix& stiffness, SparseCholesky& cholesky,
                                   const std::vector<StaticCase*>& members) const {
    const auto start = Clock::now();
    const std::vector<size_t>& freeSlots = m_model.Dofs().FreeSlots();
    const size_t equations = freeSlots.size();
    std::vector<double> rhs(equations * members.size(), 0.0);
    for (size_t k = 0; k < members.size(); ++k) {
      const CaseLoads& loads = members[k]->loads;
      double* column = rhs.data() + k * equations;
      for (size_t eq = 0; eq < equations; ++eq) column[eq] = loads.slots[freeSlots[eq]];
      // Prescribed displacements load the free equations through their stiffness.
      for (const MatrixEntry& e : stiffness.freeRestrained) column[e.row] -= e.value * loads.imposed[e.column];
    }
    cholesky.Solve(rhs, static_cast<int32_t>(members.size()));
    m_timings.solve += SecondsSince(start);
    return rhs;
  }

  // After a trial: a case whose displacements are not finite numbers fails;
  // a case whose gaps keep their states is settled, with the restraints'
  // forces from the stiffness of those states; the others go on with the
  // new states.
  void Settle(StaticCase& loadCase, const std::vector<char>& closed, const PartitionedMatrix& stiffness) const {
    const std::vector<double>& u = loadCase.displacements;
    if (!std::all_of(u.begin(), u.end(), [](double value) { return std::isfinite(value); })) {
      loadCase.error = loadCase.name + ": its results overflow (not finite numbers)";
      return;
    }
    std::vector<char> next = GapStates(u);
    if (next == closed) {
      loadCase.settled = true;
      loadCase.restraintForces =
          RestraintForces(m_model.Dofs(), stiffness, u, loadCase.loads.imposed, loadCase.loads.slots);
    } else {
      loadCase.closed = std::move(next);
    }
  }

  // A gap carries compression only: it opens when its joints part.
  std::vector<char> GapStates(const std::vector<double>& displacements) const {
    const auto translation = [&](size_t joint) {
      const size_t at = kJointDofs * joint;
      return Vector3(m_model.Dofs().Axes(joint).transpose() *
                     Vector3(displacements[at], displacements[at + 1], displacements[at + 2]));
    };
    const std::vector<GapLink>& links = m_model.Elements().Links();
    std::vector<char> closed(links.size(), 1);
    for (size_t l = 0; l < links.size(); ++l) {
      const double stretch = links[l].axis.dot(translation(links[l].jointJ) - translation(links[l].jointI));
      closed[l] = stretch > 0.0 ? 0 : 1;
    }
    return closed;
  }

  const DiscreteModel& m_model;
  const PartitionedMatrix& m_base;
  Timings& m_timings;
  std::unique_ptr<SparseCholesky>* m_allClosed;
};

}  // namespace

StaticCase::StaticCase(size_t positionInDeck, int userNumber, size_t links)
    : position(positionInDeck),
      number(userNumber),
      name("static load condition " + std::to_string(userNumber)),
      closed(links, 1) {}

void SolveStaticCases(const DiscreteModel& model, const PartitionedMatrix& baseStiffness,
                      std::vector<StaticCase>& cases, Timings& timings, std::unique_ptr<SparseCholesky>* allClosed) {
  GapTrials(model, baseStiffness, timings, allClosed).Solve(cases);
}

}  // namespace tav::analysis
