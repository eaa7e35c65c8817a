#include "tool/ResultCases.h"

#include <cmath>

#include "tav/util/FormatC.h"

namespace tav::tool {
namespace {

// The columns of a joint's axes in global ones: turned about Z, then the
// new Y, then the new X by the local system's angles (degrees).
std::array<Vec3, 3> JointAxes(const CTavData& doc, int32_t joint) {
  const int32_t system = doc.GetJoint(joint)->m_nLocalCoord;
  if (system < 0 || system >= doc.GetCountLocalCoord()) return {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
  const double* angle = doc.GetLocalCoord(system)->m_dAngle;
  const double toRadians = std::acos(-1.0) / 180.0;
  const double c1 = std::cos(angle[0] * toRadians), s1 = std::sin(angle[0] * toRadians);
  const double c2 = std::cos(angle[1] * toRadians), s2 = std::sin(angle[1] * toRadians);
  const double c3 = std::cos(angle[2] * toRadians), s3 = std::sin(angle[2] * toRadians);
  return {Vec3{c1 * c2, s1 * c2, -s2}, Vec3{c1 * s2 * s3 - s1 * c3, s1 * s2 * s3 + c1 * c3, c2 * s3},
          Vec3{c1 * s2 * c3 + s1 * s3, s1 * s2 * c3 - c1 * s3, c2 * c3}};
}

// The weight of the joints' masses under a self weight: each mass (given
// in its joint's axes) loaded with mass x acceleration along global axis
// `direction`.
Vec3 SelfWeightForce(const CTavData& doc, int direction, double acceleration) {
  Vec3 total = {0, 0, 0};
  const CTavJointMass& masses = *doc.GetJointMass();
  for (int32_t r = 0; r < masses.GetCount(); ++r) {
    const TaV_JOINT_VALUES& record = *masses.GetData(r);
    if (record.nJoint < 0 || record.nJoint >= doc.GetCountJoint()) continue;
    const std::array<Vec3, 3> axes = JointAxes(doc, record.nJoint);
    for (int a = 0; a < 3; ++a) {
      const double share = acceleration * record.dValue[a] * axes[a][direction];
      for (int d = 0; d < 3; ++d) total[d] += share * axes[a][d];
    }
  }
  return total;
}

// The total force of a static case's joint and beam loads and its self
// weight, in global axes.
Vec3 AppliedForce(const CTavData& doc, const CTavLoadStatic& loads) {
  Vec3 total = {0, 0, 0};
  if (const CTavSelfWeight* weight = loads.GetSelfWeight();
      weight != nullptr && weight->m_eDir >= 0 && weight->m_eDir < 3) {
    total = SelfWeightForce(doc, weight->m_eDir, weight->m_dFactor * weight->m_dAcceleration);
  }
  for (int32_t i = 0; i < loads.GetSizeLoadJoint(); ++i) {
    const CTavLoadJoint& load = *loads.GetLoadJoint(i);
    for (int d = 0; d < 3; ++d) total[d] += load.m_dValue[d];
  }
  for (int32_t i = 0; i < loads.GetSizeLoadBeam(); ++i) {
    const CTavLoadBeam& load = *loads.GetLoadBeam(i);
    const double length = doc.GetLengthBeam(load.m_nBeam);
    const double scale = load.m_bAbsoluteDist != 0 ? 1.0 : length;
    for (int d = 0; d < 3; ++d) {
      const TaV_TYPED_LOAD& block = load.m_Load[d];
      if (block.nValue <= 0) continue;
      if (load.m_eType == TaV_BEAMLOAD_FORCE) {
        total[d] += block.dValue[0];
      } else if (load.m_eType == TaV_BEAMLOAD_DISTRIBUTED) {
        total[d] += 0.5 * (block.dValue[0] + block.dValue[1]) * (block.dDist[1] - block.dDist[0]) * scale;
      }
    }
  }
  return total;
}

ResultCase& AddCase(std::vector<ResultCase>& cases, int32_t store, const std::string& name, std::string kind,
                    const FailedCases& failed) {
  ResultCase& added = cases.emplace_back();
  added.store = store;
  added.name = name;
  added.kind = std::move(kind);
  added.heading = name;
  if (const auto found = failed.find(store); found != failed.end()) added.failure = found->second;
  return added;
}

std::string HistoryNote(const CTavData& doc, int32_t number) {
  const TavCaseResponse* response = doc.GetResponseResults().Find(TaV_LOAD_HISTORY, number);
  const CTavLoadHistory& history = *doc.GetHistoryLoad(number);
  const int32_t steps = response != nullptr ? response->StepCount() - 1 : static_cast<int32_t>(history.m_dNste);
  const double dt = response != nullptr ? response->dt : history.m_dDt;
  return FormatC(
      "(peaks over %d time steps of %.6g s, to %.6g s: each value's largest magnitude, with its sign; "
      "they do not act together)",
      steps, dt, steps * dt);
}

void AddHistoryCases(const CTavData& doc, const FailedCases& failed, std::vector<ResultCase>& cases) {
  const int32_t first = doc.GetCountStaticLoad();
  for (int32_t i = 0; i < doc.GetCountHistoryLoad(); ++i) {
    ResultCase& added = AddCase(cases, first + i, doc.GetHistoryLoad(i)->GetStringName(), "history", failed);
    added.note = HistoryNote(doc, i);
    added.apart = true;
    added.values = "peak";
  }
}

void AddSpectrumCases(const CTavData& doc, const FailedCases& failed, std::vector<ResultCase>& cases) {
  const int32_t first = doc.GetCountStaticLoad() + doc.GetCountHistoryLoad();
  for (int32_t i = 0; i < doc.GetCountResponseSpectrumLoad(); ++i) {
    ResultCase& added =
        AddCase(cases, first + i, doc.GetResponseSpectrum(i)->GetStringName(), "response spectrum", failed);
    added.note = "(peak magnitudes, each combined over the modes: they do not act together)";
    added.apart = true;
  }
}

// A moving case as its two envelopes; as its block of peaks when the
// document holds no envelopes of it.
void AddMovingCase(const CTavData& doc, int32_t number, const FailedCases& failed, std::vector<ResultCase>& cases) {
  const int32_t store = doc.GetCountLoadCase(0) - doc.GetCountMovingLoad() + number;
  const std::string name = doc.GetMovingLoad(number)->GetStringName();
  const TavCaseResponse* response = doc.GetResponseResults().Find(TaV_LOAD_MOVING, number);
  if (response == nullptr || response->failed || failed.count(store) != 0) {
    ResultCase& added = AddCase(cases, store, name, "moving", failed);
    if (added.failure.empty() && response != nullptr) added.failure = "the analysis could not solve it";
    added.note = "(peaks over the positions of the load: each value's largest magnitude, with its sign)";
    added.apart = true;
    added.values = "peak";
    return;
  }
  for (const bool largest : {true, false}) {
    ResultCase& added = AddCase(cases, store, name + (largest ? " MAX" : " MIN"), "moving", failed);
    added.note = std::string("(each value's ") + (largest ? "largest" : "smallest") +
                 " over the positions of the unit load along the lane: they do not act together)";
    added.apart = true;
    added.values = largest ? "max" : "min";
    added.envelope = largest ? &response->maximum : &response->minimum;
  }
}

// The result store's case a term of combination `combination` reads; -1
// when it names none.
int32_t TermStore(const CTavData& doc, const TaV_COMBO_DATA& term, int32_t combination) {
  const auto within = [&term](int32_t count) { return term.nCase >= 0 && term.nCase < count; };
  const int32_t statics = doc.GetCountStaticLoad(), histories = doc.GetCountHistoryLoad();
  const int32_t spectra = doc.GetCountResponseSpectrumLoad();
  switch (term.eType) {
    case TaV_LOAD_STATIC:
      return within(statics) ? term.nCase : -1;
    case TaV_LOAD_HISTORY:
      return within(histories) ? statics + term.nCase : -1;
    case TaV_LOAD_RESPONSE_SPECTRUM:
      return within(spectra) ? statics + histories + term.nCase : -1;
    case TaV_LOAD_MOVING:
      return within(doc.GetCountMovingLoad()) ? statics + histories + spectra + term.nCase : -1;
    case TaV_LOAD_COMBO:
      return within(combination) ? doc.GetCountLoadCase(0) + 2 * term.nCase : -1;
    default:
      return -1;
  }
}

const ResultCase* CaseOfStore(const std::vector<ResultCase>& cases, int32_t store) {
  for (const ResultCase& c : cases) {
    if (c.store == store) return &c;
  }
  return nullptr;
}

// Combination `j`'s maximum and minimum, from what its terms' cases hold.
void AddCombination(const CTavData& doc, int32_t j, std::vector<ResultCase>& cases) {
  const CTavCombo& combo = *doc.GetCombo(j);
  // An added combination of single load sets is itself one load set.
  std::optional<Vec3> applied = Vec3{0, 0, 0};
  bool apart = false;
  std::string failure;
  for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
    const ResultCase* read = CaseOfStore(cases, TermStore(doc, term, j));
    if (read == nullptr) {
      applied.reset();
      continue;
    }
    apart = apart || read->apart;
    if (failure.empty() && !read->failure.empty()) failure = "it takes in " + read->heading + ", which was not solved";
    if (combo.m_eType != TaV_COMBO_ADD || !read->applied) {
      applied.reset();
    } else if (applied) {
      for (int d = 0; d < 3; ++d) (*applied)[d] += term.dFactor * (*read->applied)[d];
    }
  }
  const std::string kind = "combination " + combo.GetStringType();
  const int32_t store = doc.GetCountLoadCase(0) + 2 * j;
  for (const char* end : {" MAX", " MIN"}) {
    ResultCase& added = AddCase(cases, store + (end[2] == 'I' ? 1 : 0), combo.GetStringName() + end, kind, {});
    added.applied = applied;
    added.failure = failure;
    added.apart = apart;
  }
  // An added combination's two ends differ only by the terms whose values
  // do not act together.
  if (combo.m_eType == TaV_COMBO_ADD && !apart) {
    cases[cases.size() - 2].heading = combo.GetStringName();
    cases.back().heading.clear();
  }
}

}  // namespace

std::vector<ResultCase> ResultCases(const CTavData& doc, const FailedCases& failed) {
  std::vector<ResultCase> cases;
  for (int32_t i = 0; i < doc.GetCountStaticLoad(); ++i) {
    const CTavLoadStatic& loads = *doc.GetStaticLoad(i);
    AddCase(cases, i, loads.GetStringName(), "static", failed).applied = AppliedForce(doc, loads);
  }
  AddHistoryCases(doc, failed, cases);
  AddSpectrumCases(doc, failed, cases);
  for (int32_t i = 0; i < doc.GetCountMovingLoad(); ++i) AddMovingCase(doc, i, failed, cases);
  for (int32_t j = 0; j < doc.GetCountComboLoad(); ++j) AddCombination(doc, j, cases);
  return cases;
}

std::array<double, 12> JointValues(const CTavData& doc, const ResultCase& c, int32_t joint) {
  std::array<double, 12> values{};
  if (c.envelope == nullptr) {
    doc.GetResultValue_Joint(joint, c.store, values.data(), 12);
    return values;
  }
  for (int dof = 0; dof < 6; ++dof) {
    values[static_cast<size_t>(dof)] = c.envelope->Reaction(joint, dof);
    values[static_cast<size_t>(dof) + 6] = c.envelope->Displacement(joint, dof);
  }
  return values;
}

// A beam divided into fewer segments than the model's leaves the last
// places of the result store unused (zero, at distance 0), and a used
// station beyond the first is never at 0.
int32_t StationsOf(const CTavData& doc, const ResultCase& c, int32_t beam) {
  if (c.envelope != nullptr) return c.envelope->StationCount(beam);
  const int32_t stations = doc.GetCountResultStation();
  for (int32_t s = 1; s < stations; ++s) {
    double v[7];
    doc.GetResultValue_Beam(beam, c.store, s, v, 7);
    if (v[0] <= 0.0) return s;
  }
  return stations;
}

// An envelope's station s is the result store's station s of the beam,
// whose distance the case's block holds.
std::array<double, 7> StationValues(const CTavData& doc, const ResultCase& c, int32_t beam, int32_t station) {
  std::array<double, 7> values{};
  doc.GetResultValue_Beam(beam, c.store, station, values.data(), 7);
  if (c.envelope == nullptr) return values;
  for (int f = 0; f < 6; ++f) values[static_cast<size_t>(f) + 1] = c.envelope->Force(beam, station, f);
  return values;
}

std::vector<int32_t> SupportedJoints(const CTavData& doc) {
  std::vector<char> supported(static_cast<size_t>(doc.GetCountJoint()), 0);
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j)
    supported[static_cast<size_t>(j)] = doc.GetJoint(j)->m_Restraint.Any();
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    if (doc.GetGroup(g)->GetType() != CTavGroup::kSpring) continue;
    for (const TaV_SPRING& spring : static_cast<const CTavGroupSpring&>(*doc.GetGroup(g)).m_arrSpring) {
      if (spring.nJoint >= 0 && spring.nJoint < doc.GetCountJoint()) supported[static_cast<size_t>(spring.nJoint)] = 1;
    }
  }
  std::vector<int32_t> joints;
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    if (supported[static_cast<size_t>(j)] != 0) joints.push_back(j);
  }
  return joints;
}

}  // namespace tav::tool
