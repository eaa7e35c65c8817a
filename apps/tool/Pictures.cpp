#include "tool/Pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "analysis/BeamElement.h"
#include "tav/plot/SvgPlot.h"
#include "tav/util/FormatC.h"

namespace tav::tool {
namespace {

constexpr std::array<const char*, 6> kComponents = {"N", "V2", "V3", "T", "M2", "M3"};

plot::Point PointOf(const CVector& v) { return {v.x, v.y, v.z}; }

plot::Point Along(const plot::Point& a, const plot::Point& b, double fraction) {
  return {a[0] + fraction * (b[0] - a[0]), a[1] + fraction * (b[1] - a[1]), a[2] + fraction * (b[2] - a[2])};
}

// The beam's local axes 2 and 3 as the analysis takes them.
plot::PlotBeam BeamOf(const CTavData& doc, const CTavBeam& beam) {
  plot::PlotBeam drawn;
  drawn.number = beam.m_nIndex + 1;
  drawn.jointI = beam.m_nJointI;
  drawn.jointJ = beam.m_nJointJ;
  const CVector& i = doc.GetJoint(beam.m_nJointI)->m_vPos;
  const CVector& j = doc.GetJoint(beam.m_nJointJ)->m_vPos;
  if (i.x == j.x && i.y == j.y && i.z == j.z) return drawn;  // no length: no axes
  const analysis::Matrix3 axes =
      analysis::MemberAxes(analysis::Vector3(i.x, i.y, i.z), analysis::Vector3(j.x, j.y, j.z), beam.m_dAngle);
  drawn.axis2 = {axes(1, 0), axes(1, 1), axes(1, 2)};
  drawn.axis3 = {axes(2, 0), axes(2, 1), axes(2, 2)};
  return drawn;
}

void AddJoints(const CTavData& doc, plot::PlotFrame& frame) {
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const CTavJoint& joint = *doc.GetJoint(j);
    plot::PlotJoint drawn;
    drawn.number = joint.m_nIndex + 1;
    drawn.at = PointOf(joint.m_vPos);
    for (int dof = 0; dof < 6; ++dof) drawn.restrained[static_cast<size_t>(dof)] = joint.m_Restraint.Get(dof);
    frame.joints.push_back(drawn);
  }
}

void AddGroups(const CTavData& doc, plot::PlotFrame& frame) {
  for (int32_t g = 0; g < doc.GetCountGroup(); ++g) {
    const CTavGroup& group = *doc.GetGroup(g);
    if (group.GetType() == CTavGroup::kSpring) {
      for (const TaV_SPRING& spring : static_cast<const CTavGroupSpring&>(group).m_arrSpring) {
        if (spring.nJoint >= 0 && spring.nJoint < doc.GetCountJoint())
          frame.joints[static_cast<size_t>(spring.nJoint)].spring = true;
      }
    }
  }
  for (int32_t b = 0; b < doc.GetCountBeam(); ++b) frame.beams.push_back(BeamOf(doc, *doc.GetBeam(b)));
  for (int32_t l = 0; l < doc.GetCountNLLink(); ++l) {
    const CTavNLLink& link = *doc.GetNLLink(l);
    frame.links.push_back({link.m_nJointI, link.m_nJointJ});
  }
}

void AddDiaphragms(const CTavData& doc, plot::PlotFrame& frame) {
  const CTavJointConstraints& constraints = *doc.GetConstraint();
  for (int32_t d = 0; d < constraints.GetCountDiaphragm(); ++d) {
    const TaV_DIAPHRAGM& diaphragm = *constraints.GetDiaphragm(d);
    std::vector<int> joints{diaphragm.nMaster};
    for (const int32_t slave : diaphragm.arrSlave) joints.push_back(slave);
    frame.diaphragms.push_back(std::move(joints));
  }
}

// A beam load's arrows: one per given value of each direction, where its
// distance puts it along the beam.
void AddBeamLoad(const CTavData& doc, const CTavLoadBeam& load, plot::PlotFrame& frame) {
  const CTavBeam& beam = *doc.GetBeam(load.m_nBeam);
  const plot::Point i = PointOf(doc.GetJoint(beam.m_nJointI)->m_vPos);
  const plot::Point j = PointOf(doc.GetJoint(beam.m_nJointJ)->m_vPos);
  const double length = doc.GetLengthBeam(load.m_nBeam);
  for (size_t axis = 0; axis < 3; ++axis) {
    const TaV_TYPED_LOAD& typed = load.m_Load[axis];
    for (int32_t k = 0; k < typed.nValue && k < 6; ++k) {
      const double distance = k < typed.nDist ? typed.dDist[k] : 0.5;
      const double fraction = load.m_bAbsoluteDist != 0 && length > 0 ? distance / length : distance;
      plot::PlotArrow arrow;
      arrow.at = Along(i, j, std::clamp(fraction, 0.0, 1.0));
      arrow.vector[axis] = typed.dValue[k];
      arrow.moment = load.m_eType == TaV_BEAMLOAD_MOMENT;
      frame.loads.push_back(arrow);
    }
  }
}

void AddLoads(const CTavData& doc, const CTavLoadStatic& loadCase, plot::PlotFrame& frame) {
  frame.loadCase = loadCase.m_strName;
  for (const auto& load : loadCase.m_arrLoadJoint) {
    const plot::Point at = PointOf(doc.GetJoint(load->m_nJoint)->m_vPos);
    const double* v = load->m_dValue;
    if (v[0] != 0.0 || v[1] != 0.0 || v[2] != 0.0) frame.loads.push_back({at, {v[0], v[1], v[2]}, false});
    if (v[3] != 0.0 || v[4] != 0.0 || v[5] != 0.0) frame.loads.push_back({at, {v[3], v[4], v[5]}, true});
  }
  for (const auto& load : loadCase.m_arrLoadBeam) AddBeamLoad(doc, *load, frame);
}

// The value a diagram draws at its full height: where the store's range
// of the component over the case (CalcMaxMin_Beam) puts GetValueRatio at 1;
// 0 (the diagram's own largest) for an empty range.
double DiagramReference(CTavData& doc, int32_t store, plot::ForceComponent component) {
  const int32_t loadCases = doc.GetCountLoadCase(0);
  const int32_t caseNumber = store < loadCases ? store : (store + loadCases) / 2;  // a combination's two blocks
  doc.CalcMaxMin_Beam(caseNumber, static_cast<TaV_BEAM_FORCE_TYPE>(component));
  const double ratio = doc.GetValueRatio(1.0);
  return ratio > 0.0 && std::isfinite(ratio) ? 1.0 / ratio : 0.0;
}

}  // namespace

plot::PlotFrame FrameOf(const CTavData& doc, int32_t loadCase) {
  plot::PlotFrame frame;
  frame.title = doc.GetTitle();
  AddJoints(doc, frame);
  AddGroups(doc, frame);
  AddDiaphragms(doc, frame);
  if (loadCase >= 0 && loadCase < doc.GetCountStaticLoad()) {
    AddLoads(doc, *doc.GetStaticLoad(loadCase), frame);
    double head = 0.0;
    doc.CalcJointLoad_Arrow(loadCase, frame.loadScale.value, head, frame.loadScale.length);
  }
  return frame;
}

plot::PlotResult ResultOf(CTavData& doc, const ResultCase& c, plot::ForceComponent component) {
  plot::PlotResult result;
  double head = 0.0;
  doc.CalcJointReaction_Arrow(c.store, result.reactionScale.value, head, result.reactionScale.length);
  if (c.envelope == nullptr) result.reference = DiagramReference(doc, c.store, component);
  result.name = c.name + (c.values.empty() ? "" : " (" + c.values + ")");
  result.component = component;
  const std::vector<int32_t> supported = SupportedJoints(doc);
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const std::array<double, 12> values = JointValues(doc, c, j);
    result.displacements.push_back({values[6], values[7], values[8]});
  }
  for (const int32_t j : supported) {
    const std::array<double, 12> values = JointValues(doc, c, j);
    const plot::Point at = PointOf(doc.GetJoint(j)->m_vPos);
    result.reactions.push_back({at, {values[0], values[1], values[2]}, false});
  }
  const auto column = static_cast<size_t>(component) + 1;
  for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
    std::vector<double>& values = result.stations.emplace_back();
    for (int32_t s = 0; s < StationsOf(doc, c, b); ++s) values.push_back(StationValues(doc, c, b, s)[column]);
  }
  return result;
}

plot::PlotResult ModeOf(const CTavData& doc, int32_t mode) {
  const TavMode& found = doc.GetModalResults().modes[static_cast<size_t>(mode)];
  plot::PlotResult result;
  result.name = "MODE " + std::to_string(mode + 1) + " (T = " + FormatC("%.4g", found.period) + " s)";
  result.mode = true;
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const TavSix& shape = doc.GetModeShape(j, mode);
    result.displacements.push_back({shape[0], shape[1], shape[2]});
  }
  return result;
}

std::optional<plot::ForceComponent> ComponentNamed(const std::string& name) {
  for (size_t k = 0; k < kComponents.size(); ++k) {
    if (name == kComponents[k]) return static_cast<plot::ForceComponent>(k);
  }
  return std::nullopt;
}

std::vector<std::string> ComponentNames() { return {kComponents.begin(), kComponents.end()}; }

plot::PlotView ViewOf(const PlotOptions& options) {
  if (options.azimuth || options.elevation) return {options.azimuth.value_or(0.0), options.elevation.value_or(0.0)};
  const std::optional<plot::PlotView> named = plot::NamedView(options.view);
  if (!named) throw std::invalid_argument(options.view + ": the views are iso, xz, yz and xy");
  return *named;
}

int32_t StaticCaseNamed(const CTavData& doc, const std::string& name) {
  if (name.empty()) return doc.GetCountStaticLoad() > 0 ? 0 : -1;
  for (int32_t c = 0; c < doc.GetCountStaticLoad(); ++c) {
    if (doc.GetStaticLoad(c)->m_strName == name) return c;
  }
  throw std::invalid_argument(name + ": the model has no static load case of this name");
}

ResultCase ResultCaseNamed(const CTavData& doc, const std::string& name) {
  for (const ResultCase& c : ResultCases(doc)) {
    if (name.empty() || c.name == name) return c;
  }
  throw std::invalid_argument((name.empty() ? "the model" : name) + ": no results of this name");
}

plot::PlotResult ResultToDraw(CTavData& doc, const PlotOptions& options, plot::ForceComponent component) {
  if (options.mode > 0) {
    if (options.mode > static_cast<int>(doc.GetModalResults().modes.size()))
      throw std::invalid_argument("mode " + std::to_string(options.mode) + ": the results hold no such mode");
    return ModeOf(doc, options.mode - 1);
  }
  return ResultOf(doc, ResultCaseNamed(doc, options.loadCase), component);
}

}  // namespace tav::tool
