#include "tool/Summary.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tav/util/FormatC.h"

namespace tav::tool {
namespace {

using Vec3 = std::array<double, 3>;

constexpr std::array<const char*, 6> kForceNames = {"N", "V2", "V3", "T", "M2", "M3"};

// How much of a result case the bundled program computes: static and
// response spectrum cases fully, the other kinds not at all, combinations
// as their terms.
enum class Coverage { kFull, kPartial, kNone };

// One result case as the user knows it.
struct ResultCase {
  int32_t index = 0;
  std::string name;
  std::string kind;
  Coverage coverage = Coverage::kFull;
  std::optional<Vec3> applied;  // the applied force, when the case is one load set
  // The heading in the summary; empty for an added combination's minimum,
  // which is the same sum as its maximum, shown once under the bare name.
  std::string heading;
  std::string note;         // said under the heading
  std::string failure;      // why it has no results; empty when it has them
  bool magnitudes = false;  // holds peak magnitudes of a spectrum, whose reactions do not add up
};

// Six significant digits for reading; `digits` more for files.
std::string Number(double value, int digits = 6) {
  if (std::fabs(value) < 5e-13) value = 0.0;  // no "-0" and no round-off noise
  return FormatC("%.*g", digits, value);
}

std::string Triple(const Vec3& v) { return Number(v[0]) + ", " + Number(v[1]) + ", " + Number(v[2]); }

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

void AddCase(std::vector<ResultCase>& cases, const std::string& name, std::string kind, Coverage coverage,
             std::optional<Vec3> applied) {
  cases.push_back({static_cast<int32_t>(cases.size()), name, std::move(kind), coverage, applied, name, "", ""});
}

// The result case a term of combination `combination` reads; -1 when it
// names none, or a kind the bundled program does not analyse.
int32_t TermSource(const CTavData& doc, const TaV_COMBO_DATA& term, int32_t combination) {
  const auto within = [&term](int32_t count) { return term.nCase >= 0 && term.nCase < count; };
  switch (term.eType) {
    case TaV_LOAD_STATIC:
      return within(doc.GetCountStaticLoad()) ? term.nCase : -1;
    case TaV_LOAD_RESPONSE_SPECTRUM:
      return within(doc.GetCountResponseSpectrumLoad())
                 ? doc.GetCountStaticLoad() + doc.GetCountHistoryLoad() + term.nCase
                 : -1;
    case TaV_LOAD_COMBO:
      return within(combination) ? doc.GetCountLoadCase(0) + 2 * term.nCase : -1;
    default:
      return -1;
  }
}

// Combination `j`'s maximum and minimum, from what its terms' cases hold.
void AddCombination(const CTavData& doc, int32_t j, std::vector<ResultCase>& cases) {
  const CTavCombo& combo = *doc.GetCombo(j);
  // An added combination of single load sets is itself one load set.
  std::optional<Vec3> applied = Vec3{0, 0, 0};
  bool someComputed = false, someMissing = false, magnitudes = false;
  std::string failure;
  for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
    const int32_t source = TermSource(doc, term, j);
    if (source < 0) {
      someMissing = someMissing || (term.eType != TaV_LOAD_COMBO && term.eType != TaV_LOAD_STATIC);
      applied.reset();
      continue;
    }
    const ResultCase& read = cases[static_cast<size_t>(source)];
    magnitudes = magnitudes || read.magnitudes;
    if (failure.empty() && !read.failure.empty()) failure = "it takes in " + read.heading + ", which was not solved";
    someComputed = someComputed || read.coverage != Coverage::kNone;
    someMissing = someMissing || read.coverage != Coverage::kFull;
    if (combo.m_eType != TaV_COMBO_ADD || !read.applied) {
      applied.reset();
    } else if (applied) {
      for (int d = 0; d < 3; ++d) (*applied)[d] += term.dFactor * (*read.applied)[d];
    }
  }
  const std::string kind = "combination " + combo.GetStringType();
  const Coverage coverage = !someMissing ? Coverage::kFull : someComputed ? Coverage::kPartial : Coverage::kNone;
  for (const char* end : {" MAX", " MIN"}) {
    AddCase(cases, combo.GetStringName() + end, kind, coverage, applied);
    cases.back().failure = failure;
    cases.back().magnitudes = magnitudes;
  }
  // An added combination's two ends differ only by its magnitudes.
  if (combo.m_eType == TaV_COMBO_ADD && !magnitudes) {
    cases[cases.size() - 2].heading = combo.GetStringName();
    cases.back().heading.clear();
  }
}

// Load cases in result order, then each combination's maximum and minimum.
std::vector<ResultCase> ResultCases(const CTavData& doc, const FailedCases& failed) {
  std::vector<ResultCase> cases;
  for (int32_t i = 0; i < doc.GetCountStaticLoad(); ++i) {
    const CTavLoadStatic& loads = *doc.GetStaticLoad(i);
    AddCase(cases, loads.GetStringName(), "static", Coverage::kFull, AppliedForce(doc, loads));
  }
  for (int32_t i = 0; i < doc.GetCountHistoryLoad(); ++i)
    AddCase(cases, doc.GetHistoryLoad(i)->GetStringName(), "history", Coverage::kNone, std::nullopt);
  for (int32_t i = 0; i < doc.GetCountResponseSpectrumLoad(); ++i) {
    AddCase(cases, doc.GetResponseSpectrum(i)->GetStringName(), "response spectrum", Coverage::kFull, std::nullopt);
    cases.back().note = "(peak magnitudes, each combined over the modes: they do not act together)";
    cases.back().magnitudes = true;
  }
  for (const auto& [index, reason] : failed) {
    if (index >= 0 && index < static_cast<int32_t>(cases.size())) cases[static_cast<size_t>(index)].failure = reason;
  }
  for (int32_t i = 0; i < doc.GetCountMovingLoad(); ++i)
    AddCase(cases, doc.GetMovingLoad(i)->GetStringName(), "moving", Coverage::kNone, std::nullopt);
  for (int32_t j = 0; j < doc.GetCountComboLoad(); ++j) AddCombination(doc, j, cases);
  return cases;
}

// The stations a beam's results have: a beam divided into fewer segments
// than the model's leaves the last places of the result store unused (zero,
// at distance 0), and a used station beyond the first is never at 0.
int32_t StationsOf(const CTavData& doc, int32_t beam, int32_t resultCase) {
  const int32_t stations = doc.GetCountResultStation();
  for (int32_t s = 1; s < stations; ++s) {
    double v[7];
    doc.GetResultValue_Beam(beam, resultCase, s, v, 7);
    if (v[0] <= 0.0) return s;
  }
  return stations;
}

Vec3 JointVector(const CTavData& doc, int32_t joint, int32_t resultCase, TaV_JOINT_FORCE_TYPE kind) {
  const CVector v = doc.GetResultValue_Joint(joint, resultCase, kind, 0);
  return {v.x, v.y, v.z};
}

void WriteDisplacement(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  int32_t largest = -1;
  double magnitude = 0.0;
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const Vec3 u = JointVector(doc, j, c.index, TaV_JOINT_DISPLACEMENT);
    const double m = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    if (m > magnitude) {
      magnitude = m;
      largest = j;
    }
  }
  if (largest < 0) {
    out << "  largest displacement  0\n";
    return;
  }
  out << "  largest displacement  " << Number(magnitude) << " at joint " << largest + 1
      << " (UX, UY, UZ = " << Triple(JointVector(doc, largest, c.index, TaV_JOINT_DISPLACEMENT)) << ")\n";
}

void WriteReactions(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  Vec3 sum = {0, 0, 0};
  Vec3 scale = {0, 0, 0};  // the sum of magnitudes, against which round-off is judged
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const Vec3 r = JointVector(doc, j, c.index, TaV_JOINT_REACTION);
    for (int d = 0; d < 3; ++d) {
      sum[d] += r[d];
      scale[d] += std::fabs(r[d]);
    }
  }
  if (c.applied) {
    for (int d = 0; d < 3; ++d) scale[d] += std::fabs((*c.applied)[d]);
  }
  // What is left of the solver's round-off is shown as zero.
  const auto clean = [&scale](Vec3 v) {
    for (int d = 0; d < 3; ++d) {
      if (std::fabs(v[d]) <= 1e-9 * scale[d]) v[d] = 0.0;
    }
    return v;
  };
  out << "  sum of reactions      FX, FY, FZ = " << Triple(clean(sum)) << "\n";
  if (!c.applied) {
    out << "  applied loads         (not one set of static loads: no sum to compare)\n";
    return;
  }
  const Vec3& applied = *c.applied;
  const Vec3 balance = {sum[0] + applied[0], sum[1] + applied[1], sum[2] + applied[2]};
  out << "  sum of applied loads  FX, FY, FZ = " << Triple(applied) << "\n";
  out << "  out of balance        FX, FY, FZ = " << Triple(clean(balance)) << "\n";
}

void WriteBeamGroups(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  // Groups are numbered as the model lists them, whatever their kind.
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    if (doc.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*doc.GetGroup(g));
    if (group.GetCountBeam() == 0) continue;
    out << "  group " << g + 1 << ", " << group.GetCountBeam() << " beams\n";
    int shown = 0;
    for (int f = 0; f < 6; ++f) {
      double low = 0.0, high = 0.0;
      int32_t lowBeam = -1, highBeam = -1;
      for (int32_t beam : group.m_arrBeam) {
        const int32_t stations = StationsOf(doc, beam, c.index);
        for (int32_t s = 0; s < stations; ++s) {
          const double value = doc.GetResultValue_Beam_Force(beam, c.index, s, static_cast<TaV_BEAM_FORCE_TYPE>(f));
          if (lowBeam < 0 || value < low) low = value, lowBeam = beam;
          if (highBeam < 0 || value > high) high = value, highBeam = beam;
        }
      }
      if (low == 0.0 && high == 0.0) continue;
      ++shown;
      out << FormatC("    %-3s min %12s (beam %d)   max %12s (beam %d)\n", kForceNames[f], Number(low).c_str(),
                     lowBeam + 1, Number(high).c_str(), highBeam + 1);
    }
    if (shown == 0) out << "    every member force is zero\n";
  }
}

nlohmann::ordered_json Values(const double* v, int count) {
  nlohmann::ordered_json values = nlohmann::ordered_json::array();
  for (int i = 0; i < count; ++i) values.push_back(v[i]);
  return values;
}

// CSV fields are names and numbers; a name with a comma or quote is quoted.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char ch : text) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  return quoted + "\"";
}

// The table of modes: periods, frequencies and the mass ratios of the
// translations, each with the sum up to it.
void WriteModes(const CTavData& doc, std::ostream& out) {
  if (doc.GetCountMode() == 0) return;
  out << "\nModes (mass ratios along X, Y, Z; in brackets the sums up to the mode)\n";
  out << "  mode    period (s)  frequency (Hz)  omega (rad/s)  UX      UY      UZ\n";
  for (int32_t n = 0; n < doc.GetCountMode(); ++n) {
    out << FormatC("  %4d  %12s  %14s  %13s", n + 1, Number(doc.GetModePeriod(n)).c_str(),
                   Number(doc.GetModeFrequency(n)).c_str(), Number(doc.GetModeCircularFrequency(n)).c_str());
    for (int d = 0; d < 3; ++d) {
      out << FormatC("  %.4f (%.4f)", doc.GetModeMassRatio(n, d), doc.GetModeCumulativeMassRatio(n, d));
    }
    out << "\n";
  }
}

nlohmann::ordered_json ModesJson(const CTavData& doc) {
  nlohmann::ordered_json modes = nlohmann::ordered_json::array();
  for (int32_t n = 0; n < doc.GetCountMode(); ++n) {
    const TavMode& mode = doc.GetModalResults().modes[static_cast<size_t>(n)];
    nlohmann::ordered_json shape = nlohmann::ordered_json::array();
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
      shape.push_back({{"joint", j + 1}, {"displacement", Values(doc.GetModeShape(j, n).data(), 6)}});
    }
    modes.push_back({{"mode", n + 1},
                     {"period", mode.period},
                     {"frequency", mode.frequency},
                     {"circularFrequency", mode.circular},
                     {"participation", Values(mode.participation.data(), 6)},
                     {"massRatio", Values(mode.massRatio.data(), 6)},
                     {"shape", shape}});
  }
  return modes;
}

}  // namespace

void WriteSummary(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  WriteModes(doc, out);
  const std::vector<ResultCase> cases = ResultCases(doc, failed);
  if (cases.empty()) out << "\nThe model has no load cases, so there are no results to show.\n";
  for (const ResultCase& c : cases) {
    if (c.heading.empty()) continue;
    out << "\n" << c.heading << "  (" << c.kind << ")\n";
    if (!c.failure.empty()) {
      out << "  no results: " << c.failure << "\n";
      continue;
    }
    if (c.coverage == Coverage::kNone) {
      out << "  not analysed by the bundled program: its results are zero\n";
      continue;
    }
    if (!c.note.empty()) out << "  " << c.note << "\n";
    if (c.coverage == Coverage::kPartial) {
      out << "  (its history and moving parts count as zero: the bundled program does not analyse them)\n";
    }
    WriteDisplacement(doc, c, out);
    if (!c.magnitudes) WriteReactions(doc, c, out);
    WriteBeamGroups(doc, c, out);
  }
}

void WriteResultsJson(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  using Json = nlohmann::ordered_json;
  Json cases = Json::array();
  for (const ResultCase& c : ResultCases(doc, failed)) {
    if (!c.failure.empty()) {
      cases.push_back({{"name", c.name}, {"kind", c.kind}, {"error", c.failure}});
      continue;
    }
    Json joints = Json::array();
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
      double v[12];
      doc.GetResultValue_Joint(j, c.index, v, 12);
      joints.push_back({{"joint", j + 1}, {"reaction", Values(v, 6)}, {"displacement", Values(v + 6, 6)}});
    }
    Json beams = Json::array();
    for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
      Json points = Json::array();
      const int32_t stations = StationsOf(doc, b, c.index);
      for (int32_t s = 0; s < stations; ++s) {
        double v[7];
        doc.GetResultValue_Beam(b, c.index, s, v, 7);
        points.push_back({{"distance", v[0]}, {"forces", Values(v + 1, 6)}});
      }
      beams.push_back({{"beam", b + 1}, {"stations", points}});
    }
    cases.push_back({{"name", c.name}, {"kind", c.kind}, {"joints", joints}, {"beams", beams}});
  }
  Json results = {{"cases", cases}};
  if (doc.GetCountMode() > 0) results["modes"] = ModesJson(doc);
  out << results.dump(1) << "\n";
}

void WriteResultsCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  out << "case,result,number,station,distance,value1,value2,value3,value4,value5,value6\n";
  const auto row = [&out](const std::string& name, const char* result, int32_t number, const std::string& station,
                          const std::string& distance, const double* v) {
    out << CsvField(name) << ',' << result << ',' << number << ',' << station << ',' << distance;
    for (int i = 0; i < 6; ++i) out << ',' << Number(v[i], 15);
    out << '\n';
  };
  for (const ResultCase& c : ResultCases(doc, failed)) {
    if (!c.failure.empty()) continue;
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
      double v[12];
      doc.GetResultValue_Joint(j, c.index, v, 12);
      row(c.name, "reaction", j + 1, "", "", v);
      row(c.name, "displacement", j + 1, "", "", v + 6);
    }
    for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
      const int32_t stations = StationsOf(doc, b, c.index);
      for (int32_t s = 0; s < stations; ++s) {
        double v[7];
        doc.GetResultValue_Beam(b, c.index, s, v, 7);
        row(c.name, "member force", b + 1, std::to_string(s + 1), Number(v[0], 15), v + 1);
      }
    }
  }
  for (int32_t n = 0; n < doc.GetCountMode(); ++n) {
    const TavMode& mode = doc.GetModalResults().modes[static_cast<size_t>(n)];
    const std::string name = "mode " + std::to_string(n + 1);
    out << name << ",period," << n + 1 << ",,," << Number(mode.period, 15) << ',' << Number(mode.frequency, 15) << ','
        << Number(mode.circular, 15) << ",,,\n";
    row(name, "participation", n + 1, "", "", mode.participation.data());
    row(name, "mass ratio", n + 1, "", "", mode.massRatio.data());
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) row(name, "shape", j + 1, "", "", doc.GetModeShape(j, n).data());
  }
}

}  // namespace tav::tool
