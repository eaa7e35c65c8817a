#include "tool/Summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tav/util/FormatC.h"

namespace tav::tool {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<const char*, 6> kForceNames = {"N", "V2", "V3", "T", "M2", "M3"};
constexpr std::array<const char*, 6> kReactionNames = {"FX", "FY", "FZ", "MX", "MY", "MZ"};
constexpr std::array<const char*, 6> kDofNames = {"UX", "UY", "UZ", "RX", "RY", "RZ"};

// What is left of round-off where a value is zero.
bool Negligible(double value) { return std::fabs(value) < 5e-13; }

// Six significant digits for reading; `digits` more for files.
std::string Number(double value, int digits = 6) {
  if (Negligible(value)) value = 0.0;  // no "-0" and no round-off noise
  return FormatC("%.*g", digits, value);
}

// Whether `value` exceeds `than` by more than round-off: values closer than
// that are one value, and the first place that has it keeps it, so that
// symmetric places are named the same way whatever the round-off.
bool Beyond(double value, double than) { return value - than > 1e-9 * std::max(std::fabs(value), std::fabs(than)); }

std::string Triple(const Vec3& v) { return Number(v[0]) + ", " + Number(v[1]) + ", " + Number(v[2]); }

Vec3 Part(const std::array<double, 12>& values, size_t first) {
  return {values[first], values[first + 1], values[first + 2]};
}
Vec3 Reaction(const CTavData& doc, const ResultCase& c, int32_t joint) { return Part(JointValues(doc, c, joint), 0); }
Vec3 Displacement(const CTavData& doc, const ResultCase& c, int32_t joint) {
  return Part(JointValues(doc, c, joint), 6);
}

void WriteDisplacement(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  int32_t largest = -1;
  double magnitude = 0.0;
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const Vec3 u = Displacement(doc, c, j);
    const double m = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    if (Beyond(m, magnitude)) {
      magnitude = m;
      largest = j;
    }
  }
  if (largest < 0) {
    out << "  largest displacement  0\n";
    return;
  }
  out << "  largest displacement  " << Number(magnitude) << " at joint " << largest + 1
      << " (UX, UY, UZ = " << Triple(Displacement(doc, c, largest)) << ")\n";
}

void WriteReactionSum(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  Vec3 sum = {0, 0, 0};
  Vec3 scale = {0, 0, 0};  // the sum of magnitudes, against which round-off is judged
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const Vec3 r = Reaction(doc, c, j);
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

// The smallest and largest of one value over some beams' stations or some
// joints, each with the first place that has it (a beam or joint number).
struct Extremes {
  double low = 0.0, high = 0.0;
  int32_t lowAt = -1, highAt = -1;

  void Add(double value, int32_t at) {
    if (Negligible(value)) value = 0.0;
    if (lowAt < 0 || Beyond(low, value)) low = value, lowAt = at;
    if (highAt < 0 || Beyond(value, high)) high = value, highAt = at;
  }
  bool Zero() const { return Negligible(low) && Negligible(high); }
  // Round-off beside the row's larger value is shown as zero.
  void Write(std::ostream& out, const char* name, const char* place) const {
    const double noise = 1e-12 * std::max(std::fabs(low), std::fabs(high));
    const auto shown = [noise](double value) { return Number(std::fabs(value) <= noise ? 0.0 : value); };
    out << FormatC("    %-3s min %12s (%s %d)   max %12s (%s %d)\n", name, shown(low).c_str(), place, lowAt + 1,
                   shown(high).c_str(), place, highAt + 1);
  }
};

// Each reaction's smallest and largest over the supports, for a case whose
// reactions do not act together and so have no sum that means anything.
void WriteReactionExtremes(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  const std::vector<int32_t> supports = SupportedJoints(doc);
  bool headed = false;
  for (size_t r = 0; r < kReactionNames.size(); ++r) {
    Extremes extremes;
    for (int32_t joint : supports) extremes.Add(JointValues(doc, c, joint)[r], joint);
    if (extremes.Zero()) continue;
    if (!headed) out << "  reactions (over the supports; they do not add up)\n";
    headed = true;
    extremes.Write(out, kReactionNames[r], "joint");
  }
}

void WriteBeamGroups(const CTavData& doc, const ResultCase& c, std::ostream& out) {
  // Groups are numbered as the model lists them, whatever their kind.
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    if (doc.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*doc.GetGroup(g));
    if (group.GetCountBeam() == 0) continue;
    out << "  group " << g + 1 << ", " << group.GetCountBeam() << " beams\n";
    int shown = 0;
    for (size_t f = 0; f < kForceNames.size(); ++f) {
      Extremes extremes;
      for (int32_t beam : group.m_arrBeam) {
        const int32_t stations = StationsOf(doc, c, beam);
        for (int32_t s = 0; s < stations; ++s) extremes.Add(StationValues(doc, c, beam, s)[f + 1], beam);
      }
      if (extremes.Zero()) continue;
      ++shown;
      extremes.Write(out, kForceNames[f], "beam");
    }
    if (shown == 0) out << "    every member force is zero\n";
  }
}

Json Values(const double* v, int count) {
  Json values = Json::array();
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

Json ModesJson(const CTavData& doc) {
  Json modes = Json::array();
  for (int32_t n = 0; n < doc.GetCountMode(); ++n) {
    const TavMode& mode = doc.GetModalResults().modes[static_cast<size_t>(n)];
    Json shape = Json::array();
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

Json CaseJson(const CTavData& doc, const ResultCase& c) {
  Json joints = Json::array();
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const std::array<double, 12> v = JointValues(doc, c, j);
    joints.push_back({{"joint", j + 1}, {"reaction", Values(v.data(), 6)}, {"displacement", Values(v.data() + 6, 6)}});
  }
  Json beams = Json::array();
  for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
    Json points = Json::array();
    const int32_t stations = StationsOf(doc, c, b);
    for (int32_t s = 0; s < stations; ++s) {
      const std::array<double, 7> v = StationValues(doc, c, b, s);
      points.push_back({{"distance", v[0]}, {"forces", Values(v.data() + 1, 6)}});
    }
    beams.push_back({{"beam", b + 1}, {"stations", points}});
  }
  Json written = {{"name", c.name}, {"kind", c.kind}};
  if (!c.values.empty()) written["values"] = c.values;
  written["joints"] = joints;
  written["beams"] = beams;
  return written;
}

// History case `number`'s time series; null when it failed or none was read.
const TavCaseResponse* SolvedHistory(const CTavData& doc, int32_t number, const FailedCases& failed) {
  const TavCaseResponse* response = doc.GetResponseResults().Find(TaV_LOAD_HISTORY, number);
  const bool named = failed.count(doc.GetCountStaticLoad() + number) != 0;
  return response == nullptr || response->failed || named ? nullptr : response;
}

// Per step, per joint, the six values of `series` ((step * joints + joint) * 6 + dof).
Json StepsJson(const std::vector<double>& series, int32_t steps, int32_t joints) {
  Json all = Json::array();
  for (int32_t k = 0; k < steps; ++k) {
    Json step = Json::array();
    for (int32_t j = 0; j < joints; ++j) step.push_back(Values(&series[(static_cast<size_t>(k) * joints + j) * 6], 6));
    all.push_back(std::move(step));
  }
  return all;
}

Json HistoriesJson(const CTavData& doc, const FailedCases& failed) {
  Json histories = Json::array();
  for (int32_t i = 0; i < doc.GetCountHistoryLoad(); ++i) {
    const std::string name = doc.GetHistoryLoad(i)->GetStringName();
    const TavCaseResponse* series = SolvedHistory(doc, i, failed);
    if (series == nullptr) {
      const auto found = failed.find(doc.GetCountStaticLoad() + i);
      histories.push_back({{"case", name}, {"error", found != failed.end() ? found->second : "not solved"}});
      continue;
    }
    const int32_t steps = series->StepCount(), joints = series->maximum.JointCount();
    histories.push_back({{"case", name},
                         {"dt", series->dt},
                         {"times", series->times},
                         {"displacements", StepsJson(series->stepDisplacements, steps, joints)},
                         {"reactions", StepsJson(series->stepReactions, steps, joints)}});
  }
  return histories;
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
    if (!c.note.empty()) out << "  " << c.note << "\n";
    WriteDisplacement(doc, c, out);
    if (c.apart) {
      WriteReactionExtremes(doc, c, out);
    } else {
      WriteReactionSum(doc, c, out);
    }
    WriteBeamGroups(doc, c, out);
  }
}

void WriteResultsJson(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  Json cases = Json::array();
  for (const ResultCase& c : ResultCases(doc, failed)) {
    if (c.failure.empty()) {
      cases.push_back(CaseJson(doc, c));
    } else {
      cases.push_back({{"name", c.name}, {"kind", c.kind}, {"error", c.failure}});
    }
  }
  Json results = {{"cases", cases}};
  if (doc.GetCountMode() > 0) results["modes"] = ModesJson(doc);
  if (doc.GetCountHistoryLoad() > 0) results["histories"] = HistoriesJson(doc, failed);
  out << results.dump(1) << "\n";
}

void WriteResultsCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  out << "case,result,number,station,distance,value1,value2,value3,value4,value5,value6\n";
  const auto row = [&out](const std::string& name, const std::string& result, int32_t number,
                          const std::string& station, const std::string& distance, const double* v) {
    out << CsvField(name) << ',' << result << ',' << number << ',' << station << ',' << distance;
    for (int i = 0; i < 6; ++i) out << ',' << Number(v[i], 15);
    out << '\n';
  };
  for (const ResultCase& c : ResultCases(doc, failed)) {
    if (!c.failure.empty()) continue;
    const std::string peak = c.values == "peak" ? "peak " : "";
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
      const std::array<double, 12> v = JointValues(doc, c, j);
      row(c.name, peak + "reaction", j + 1, "", "", v.data());
      row(c.name, peak + "displacement", j + 1, "", "", v.data() + 6);
    }
    for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
      const int32_t stations = StationsOf(doc, c, b);
      for (int32_t s = 0; s < stations; ++s) {
        const std::array<double, 7> v = StationValues(doc, c, b, s);
        row(c.name, peak + "member force", b + 1, std::to_string(s + 1), Number(v[0], 15), v.data() + 1);
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

void WriteHistoriesCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed) {
  const std::vector<int32_t> supports = SupportedJoints(doc);
  out << "case,time";
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    for (const char* dof : kDofNames) out << ",joint " << j + 1 << ' ' << dof;
  }
  for (int32_t j : supports) {
    for (const char* force : kReactionNames) out << ",joint " << j + 1 << " reaction " << force;
  }
  out << '\n';
  for (int32_t i = 0; i < doc.GetCountHistoryLoad(); ++i) {
    const TavCaseResponse* series = SolvedHistory(doc, i, failed);
    if (series == nullptr) continue;
    const std::string name = CsvField(doc.GetHistoryLoad(i)->GetStringName());
    for (int32_t k = 0; k < series->StepCount(); ++k) {
      out << name << ',' << Number(series->times[static_cast<size_t>(k)], 15);
      for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
        for (int dof = 0; dof < 6; ++dof) out << ',' << Number(series->Displacement(k, j, dof), 15);
      }
      for (int32_t j : supports) {
        for (int dof = 0; dof < 6; ++dof) out << ',' << Number(series->Reaction(k, j, dof), 15);
      }
      out << '\n';
    }
  }
}

}  // namespace tav::tool
