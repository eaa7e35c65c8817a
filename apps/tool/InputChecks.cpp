#include "tool/InputChecks.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <tuple>

#include "tav/model/TavText.h"
#include "tav/util/FormatC.h"

namespace tav::tool {
namespace {

// A real as the six-digit own input gives it back.
double SixDigits(double value) { return std::strtod(GetRealText(value).c_str(), nullptr); }

CVector SixDigits(const CVector& v) { return {SixDigits(v.x), SixDigits(v.y), SixDigits(v.z)}; }

double Distance(const CVector& a, const CVector& b) {
  const CVector d = a - b;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

std::string Short(double value) { return FormatC("%.9g", value); }

std::string Percent(double part, double whole) { return FormatC("%.2g %%", 100.0 * part / whole); }

// Where a beam stands in the model file: its group and its place there.
struct BeamPlace {
  int32_t group = 0;
  int32_t position = 0;
};

std::vector<BeamPlace> BeamPlaces(const CTavData& doc) {
  std::vector<BeamPlace> places(static_cast<size_t>(doc.GetCountBeam()));
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    if (doc.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*doc.GetGroup(g));
    for (int32_t k = 0; k < group.GetCountBeam(); ++k) places[static_cast<size_t>(group.m_arrBeam[k])] = {g, k};
  }
  return places;
}

std::string BeamPath(const BeamPlace& place) {
  return "/groups/" + std::to_string(place.group) + "/beams/" + std::to_string(place.position);
}

// Every beam load of the static and history cases, with its place.
template <typename Visit>
void EachBeamLoad(const CTavData& doc, Visit visit) {
  const auto cases = [&](const char* kind, int32_t count, auto get) {
    for (int32_t c = 0; c < count; ++c) {
      const CTavLoadStatic& loads = *get(c);
      for (int32_t k = 0; k < loads.GetSizeLoadBeam(); ++k) {
        visit(*loads.GetLoadBeam(k),
              "/loadCases/" + std::string(kind) + "/" + std::to_string(c) + "/beamLoads/" + std::to_string(k));
      }
    }
  };
  cases("static", doc.GetCountStaticLoad(), [&doc](int32_t c) { return doc.GetStaticLoad(c); });
  cases("history", doc.GetCountHistoryLoad(), [&doc](int32_t c) { return doc.GetHistoryLoad(c); });
}

class SixDigitCheck {
 public:
  explicit SixDigitCheck(CTavData& doc) : m_doc(doc), m_places(BeamPlaces(doc)) {}

  std::vector<Finding> Run() {
    Joints();
    Beams();
    Sections();
    EachBeamLoad(m_doc, [this](const CTavLoadBeam& load, const std::string& path) { BeamLoad(load, path); });
    return std::move(m_findings);
  }

 private:
  CVector Position(int32_t joint) const { return m_doc.GetJoint(joint)->m_vPos; }
  double SixDigitLength(int32_t beam) const {
    const CTavBeam& b = *m_doc.GetBeam(beam);
    return Distance(SixDigits(Position(b.m_nJointJ)), SixDigits(Position(b.m_nJointI)));
  }
  void Add(std::string path, std::string message) { m_findings.push_back({std::move(path), std::move(message)}); }

  void Joints() {
    double shortest = std::numeric_limits<double>::infinity();
    for (int32_t b = 0; b < m_doc.GetCountBeam(); ++b) shortest = std::min(shortest, m_doc.GetLengthBeam(b));
    if (!std::isfinite(shortest) || shortest <= 0.0) return;
    for (int32_t j = 0; j < m_doc.GetCountJoint(); ++j) {
      const double moved = Distance(SixDigits(Position(j)), Position(j));
      if (moved <= kMaterialChange * shortest) continue;
      Add("/joints/" + std::to_string(j), "six significant digits move this joint by " + Short(moved) + ", " +
                                              Percent(moved, shortest) + " of the shortest beam (" + Short(shortest) +
                                              " long)");
    }
  }

  void Beams() {
    for (int32_t b = 0; b < m_doc.GetCountBeam(); ++b) {
      const double length = m_doc.GetLengthBeam(b), written = SixDigitLength(b);
      if (std::fabs(written - length) <= kMaterialChange * length) continue;
      Add(BeamPath(m_places[static_cast<size_t>(b)]), "six significant digits of its joints make this beam " +
                                                          Short(written) + " long instead of " + Short(length) + " (" +
                                                          Percent(std::fabs(written - length), length) + ")");
    }
  }

  void Sections() {
    for (int32_t g = 0; g < m_doc.GetCountLinearGroup() + m_doc.GetCountNonLinearGroup(); ++g) {
      if (m_doc.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
      const auto& group = static_cast<const CTavGroupElement&>(*m_doc.GetGroup(g));
      for (int32_t s = 0; s < group.GetCountSection(); ++s) Section(*group.GetSection(s), g, s);
    }
  }

  void Section(CTavSection& section, int32_t group, int32_t position) {
    if (section.m_dIS == 0.0 && section.m_dIT == 0.0) section.AutoPropCalc();  // as writing does
    const bool rectangle = section.m_eType == TaV_SECTION_RECT;
    const std::string path = "/groups/" + std::to_string(group) + "/sections/" + std::to_string(position);
    // The written name, and the key of the model file (none where a
    // rectangle's sides give the value).
    const std::tuple<const char*, const char*, double> values[] = {{"E", "E", section.m_dE},
                                                                   {"J", "J", section.m_dJ},
                                                                   {"POISSON'S RATIO", "poisson", section.m_dPoisson},
                                                                   {"IS", "IS", section.m_dIS},
                                                                   {"IT", "IT", section.m_dIT},
                                                                   {"AREA", "area", section.m_dArea},
                                                                   {"ASHS", "ASHS", section.m_dASHS},
                                                                   {"ASHT", "ASHT", section.m_dASHT}};
    for (const auto& [name, key, value] : values) {
      const double written = SixDigits(value);
      if (std::fabs(written - value) <= kMaterialChange * std::fabs(value)) continue;
      const bool derived = rectangle && std::string(key) != "E" && std::string(key) != "poisson";
      Add(derived ? path : path + "/" + key, std::string("six significant digits write ") + name + "=" +
                                                 GetRealText(value) + " for " + Short(value) + " (" +
                                                 Percent(std::fabs(written - value), std::fabs(value)) + ")");
    }
  }

  void BeamLoad(const CTavLoadBeam& load, const std::string& path) {
    const double length = m_doc.GetLengthBeam(load.m_nBeam), written = SixDigitLength(load.m_nBeam);
    const double scale = load.m_bAbsoluteDist != 0 ? 1.0 : length;
    double worst = 0.0;
    for (const TaV_TYPED_LOAD& piece : load.m_Load) {
      if (piece.nValue <= 0) continue;
      // Measured as the input gives it: where the load starts, how long it
      // is, and so where it ends against the beam's own end.
      const double start = piece.dDist[0] * scale;
      const double extent = load.m_eType == TaV_BEAMLOAD_DISTRIBUTED ? piece.dDist[1] * scale - start : 0.0;
      const double start6 = SixDigits(start), extent6 = SixDigits(extent);
      worst = std::max(
          {worst, std::fabs(start6 - start), std::fabs((start6 + extent6 - written) - (start + extent - length))});
    }
    if (worst <= kMaterialChange * length) return;
    Add(path, "six significant digits move this load's extent by " + Short(worst) + " against its beam (" +
                  Short(length) + " long, " + Percent(worst, length) + ")");
  }

  CTavData& m_doc;
  std::vector<BeamPlace> m_places;
  std::vector<Finding> m_findings;
};

}  // namespace

std::vector<Finding> SixDigitFindings(CTavData& doc) { return SixDigitCheck(doc).Run(); }

std::vector<Finding> AmbiguousBeamLoads(const CTavData& doc, TaV_REAL_PRECISION precision) {
  // The beams by what the input names them with.
  std::map<std::tuple<int32_t, int32_t, std::string>, std::vector<int32_t>> named;
  for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
    const CTavBeam& beam = *doc.GetBeam(b);
    named[{beam.m_nJointI, beam.m_nJointJ, GetRealText(beam.m_dAngle, precision)}].push_back(b);
  }
  std::vector<Finding> findings;
  EachBeamLoad(doc, [&](const CTavLoadBeam& load, const std::string& path) {
    const CTavBeam& beam = *doc.GetBeam(load.m_nBeam);
    const std::string angle = GetRealText(beam.m_dAngle, precision);
    const std::vector<int32_t>& same = named[{beam.m_nJointI, beam.m_nJointJ, angle}];
    if (same.size() < 2) return;
    const int32_t other = same[0] != load.m_nBeam ? same[0] : same[1];
    findings.push_back(
        {path + "/beam", "beam " + std::to_string(load.m_nBeam + 1) + " and beam " + std::to_string(other + 1) +
                             " both run from joint " + std::to_string(beam.m_nJointI + 1) + " to joint " +
                             std::to_string(beam.m_nJointJ + 1) + " with the roll angle " + angle +
                             ", by which the own solver input names a loaded beam: give one of them another roll "
                             "angle or other joints"});
  });
  return findings;
}

}  // namespace tav::tool
