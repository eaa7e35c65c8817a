// ModelToJson: the document turned into the records of a model file, then
// written through the file's tables. A value the document holds but the
// file has no name for is refused there, at its place in the model.
#include <memory>

#include "tav/json/ModelFields.h"

namespace tav::json {
namespace {

// Beams are numbered in the order the groups list them, which need not be
// the document's own order.
class BeamNumbers {
 public:
  explicit BeamNumbers(const CTavData& doc) : m_position(static_cast<size_t>(doc.GetCountBeam()), -1) {
    int32_t next = 0;
    for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
      const CTavGroup& group = *doc.GetGroup(g);
      if (group.GetType() != CTavGroup::kBeam) continue;
      for (int32_t beam : static_cast<const CTavGroupElement&>(group).m_arrBeam) {
        m_position[static_cast<size_t>(beam)] = next++;
      }
    }
  }
  // A number outside the document stays as it is, for the check to refuse.
  int32_t operator()(int32_t beam) const {
    return beam >= 0 && static_cast<size_t>(beam) < m_position.size() ? m_position[static_cast<size_t>(beam)] : beam;
  }

 private:
  std::vector<int32_t> m_position;
};

std::vector<int32_t> Joints(const CLongArray& joints) { return {joints.begin(), joints.end()}; }

file::Reals6 Six(const double* v) { return {v[0], v[1], v[2], v[3], v[4], v[5]}; }

// A load's function, given only when it is not the default (the first).
std::optional<int32_t> FunctionOf(int32_t function) {
  return function != 0 ? std::optional<int32_t>(function) : std::nullopt;
}

file::Options OptionsOf(const CTavGlobalOption& o) {
  file::Options options;
  options.dof = o.m_Dof.byFlags;
  options.forceSegments = o.m_nForceSegments;
  options.checks = o.m_Check.byFlags;
  options.initialTemperature = o.m_bInitTemperature != 0;
  options.initialTemperatureGradient = o.m_bInitTemperatureGradient != 0;
  file::Eigen& eigen = options.eigen;
  eigen.method = o.m_nEigenMethod;
  eigen.interval = o.m_nEigenRange != 0;
  eigen.modes = o.m_nModes;
  eigen.subspaceVectors = o.m_nSubspaceVectors;
  eigen.iterations = o.m_nIterations;
  eigen.rigidBodyModes = o.m_bRigidBodyMode != 0;
  eigen.rigidBodyShift = o.m_nRigidBodyShift;
  eigen.cutOffFrequency = o.m_dCutOffFrequency;
  eigen.tolerance = o.m_dTolerance;
  eigen.lanczosVectors = o.m_bLanczosVectors != 0;
  eigen.startingVectors = o.m_nStartingVectors;
  return options;
}

void AddFunctions(const CTavFunction& table, file::Model& model) {
  for (int32_t f = 0; f < table.GetCount(); ++f) {
    const TaV_FUNCTION& fn = *table.GetFunction(f);
    file::Function& function = model.functions.emplace_back();
    function.type = fn.eType;
    function.parameters = {fn.dParam1, fn.dParam2};
    for (int32_t p = 0; p < fn.arrX.GetSize(); ++p) function.points.push_back({fn.arrX[p], fn.arrY[p]});
  }
}

void AddJoints(const CTavData& doc, file::Model& model) {
  for (int32_t s = 0; s < doc.GetCountLocalCoord(); ++s) {
    const CTavLocalCoord& c = *doc.GetLocalCoord(s);
    model.localSystems.push_back({{c.m_dAngle[0], c.m_dAngle[1], c.m_dAngle[2]}});
  }
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const CTavJoint& joint = *doc.GetJoint(j);
    file::Joint& item = model.joints.emplace_back();
    item.x = joint.m_vPos.x;
    item.y = joint.m_vPos.y;
    item.z = joint.m_vPos.z;
    if (joint.m_Restraint.Any()) item.restraints = joint.m_Restraint.byFlags;
    if (joint.m_nLocalCoord >= 0) item.localSystem = joint.m_nLocalCoord;
  }
}

void AddConstraints(const CTavData& doc, file::Model& model) {
  const CTavJointConstraints& constraints = *doc.GetConstraint();
  for (int32_t d = 0; d < constraints.GetCountDiaphragm(); ++d) {
    const TaV_DIAPHRAGM& dia = *constraints.GetDiaphragm(d);
    model.diaphragms.push_back({dia.nMaster, Joints(dia.arrSlave)});
  }
  for (int32_t r = 0; r < constraints.GetCountRigidLink(); ++r) {
    const TaV_RIGIDLINK& link = *constraints.GetRigidLink(r);
    file::RigidLink& item = model.rigidLinks.emplace_back();
    item.type = link.nType != 0 ? 1 : 0;  // any other value than 0 is nonlinear
    item.master = link.nMaster;
    item.slaves = Joints(link.arrSlave);
  }
  const auto values = [](const CTavJointValueList& records, std::vector<file::JointValues>& into) {
    for (int32_t i = 0; i < records.GetCount(); ++i)
      into.push_back({records.GetData(i)->nJoint, Six(records.GetData(i)->dValue)});
  };
  values(*doc.GetJointMass(), model.masses);
  values(*doc.GetJointDamping(), model.dampers);
}

file::Section SectionOf(const CTavSection& s) {
  if (s.m_eType == TaV_SECTION_RECT) {
    file::RectangleSection r;
    r.E = s.m_dE;
    r.width = s.m_dDim[0];
    r.height = s.m_dDim[1];
    r.poisson = s.m_dPoisson;
    r.W = s.m_dW;
    return r;
  }
  file::GeneralSection g;
  g.E = s.m_dE;
  g.area = s.m_dArea;
  g.poisson = s.m_dPoisson;
  g.IS = s.m_dIS;
  g.IT = s.m_dIT;
  g.J = s.m_dJ;
  g.ASHS = s.m_dASHS;
  g.ASHT = s.m_dASHT;
  g.W = s.m_dW;
  g.materialAux = s.m_dMaterialAux;
  return g;
}

file::Beam BeamOf(const CTavBeam& b) {
  file::Beam beam;
  beam.section = b.m_nSection;
  beam.joints = {b.m_nJointI, b.m_nJointJ};
  beam.angle = b.m_dAngle;
  if (b.m_bReleaseI != 0) beam.releaseI = b.m_ReleaseI.byFlags;
  if (b.m_bReleaseJ != 0) beam.releaseJ = b.m_ReleaseJ.byFlags;
  if (b.m_dOffsetI != 0 || b.m_dOffsetJ != 0) beam.offsets = file::Reals2{b.m_dOffsetI, b.m_dOffsetJ};
  if (b.m_dRigid != 0) beam.rigid = b.m_dRigid;
  if (b.m_dNReg != 0) beam.segments = b.m_dNReg;
  return beam;
}

file::BeamGroup BeamGroupOf(const CTavGroupElement& group, const CTavData& doc) {
  file::BeamGroup beams;
  for (const auto& s : group.m_arrSection) beams.sections.push_back(SectionOf(*s));
  for (int32_t number : group.m_arrBeam) beams.beams.push_back(BeamOf(*doc.GetBeam(number)));
  return beams;
}

file::SpringGroup SpringGroupOf(const CTavGroupSpring& group) {
  file::SpringGroup springs;
  for (const auto& c : group.m_arrSpringConstant) {
    // Three stiffnesses unless a rotational one is given.
    const bool six = c->m_dStiffness[3] != 0 || c->m_dStiffness[4] != 0 || c->m_dStiffness[5] != 0;
    springs.constants.push_back({{c->m_dStiffness, c->m_dStiffness + (six ? 6 : 3)}, c->m_bMultiDof != 0});
  }
  for (const TaV_SPRING& s : group.m_arrSpring) springs.springs.push_back({s.nConstant, s.nJoint});
  return springs;
}

file::LinkGroup LinkGroupOf(const CTavGroupNllink& group, const CTavData& doc) {
  file::LinkGroup links;
  for (const auto& p : group.m_arrNllinkConstant) {
    links.properties.push_back({p->m_dK0, {p->m_dLinkValue2, p->m_dLinkValue3, p->m_dLinkValue4}});
  }
  for (int32_t number : group.m_arrNllink) {
    const CTavNLLink& l = *doc.GetNLLink(number);
    file::Link& link = links.links.emplace_back();
    link.property = l.m_nProperty;
    link.joints = {l.m_nJointI, l.m_nJointJ};
    link.angle = l.m_dAngle;
  }
  return links;
}

void AddGroups(const CTavData& doc, file::Model& model) {
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    const CTavGroup& group = *doc.GetGroup(g);
    if (group.GetType() == CTavGroup::kBeam) {
      model.groups.emplace_back(BeamGroupOf(static_cast<const CTavGroupElement&>(group), doc));
    } else if (group.GetType() == CTavGroup::kSpring) {
      model.groups.emplace_back(SpringGroupOf(static_cast<const CTavGroupSpring&>(group)));
    } else {
      model.groups.emplace_back(LinkGroupOf(static_cast<const CTavGroupNllink&>(group), doc));
    }
  }
}

file::SelfWeight SelfWeightOf(const CTavSelfWeight& weight) {
  file::SelfWeight w;
  w.direction = weight.m_eDir;
  w.factor = weight.m_dFactor;
  w.acceleration = weight.m_dAcceleration;
  w.function = FunctionOf(weight.m_nFunction);
  return w;
}

template <typename Load>
std::optional<std::vector<file::JointLoad>> JointLoadsOf(const std::vector<std::unique_ptr<Load>>& loads) {
  if (loads.empty()) return std::nullopt;
  std::vector<file::JointLoad> list;
  for (const auto& l : loads) {
    file::JointLoad& load = list.emplace_back();
    load.joint = l->m_nJoint;
    load.values = Six(l->m_dValue);
    load.function = FunctionOf(l->m_nFunction);
  }
  return list;
}

file::BeamLoad BeamLoadOf(const CTavLoadBeam& l, const BeamNumbers& beams) {
  file::BeamLoad load;
  load.beam = beams(l.m_nBeam);
  load.type = l.m_eType;
  load.absolute = l.m_bAbsoluteDist != 0;
  load.function = FunctionOf(l.m_nFunction);
  const int points = l.m_eType == TaV_BEAMLOAD_DISTRIBUTED ? 2 : 1;
  for (int32_t d = 0; d < 3; ++d) {
    const TaV_TYPED_LOAD& b = l.m_Load[d];
    if (b.nValue <= 0) continue;
    load.components.push_back({d, {b.dValue, b.dValue + points}, {b.dDist, b.dDist + points}});
  }
  return load;
}

void FillLoads(const CTavLoadStatic& l, const BeamNumbers& beams, file::Loads& loads) {
  loads.name = l.m_strName;
  if (l.m_bSelfWeight != 0) loads.selfWeightFlag = true;
  if (l.GetSelfWeight() != nullptr) loads.selfWeight = SelfWeightOf(*l.GetSelfWeight());
  loads.jointLoads = JointLoadsOf(l.m_arrLoadJoint);
  if (!l.m_arrLoadBeam.empty()) {
    loads.beamLoads.emplace();
    for (const auto& b : l.m_arrLoadBeam) loads.beamLoads->push_back(BeamLoadOf(*b, beams));
  }
  loads.displacements = JointLoadsOf(l.m_arrLoadDisplacement);
}

void AddHistories(const CTavData& doc, const BeamNumbers& beams, file::LoadCases& cases) {
  for (int32_t h = 0; h < doc.GetCountHistoryLoad(); ++h) {
    const CTavLoadHistory& l = *doc.GetHistoryLoad(h);
    file::HistoryCase& history = cases.histories.emplace_back();
    FillLoads(l, beams, history);
    history.analysis = l.m_nHistoryType;
    history.mode = l.m_eMode;
    history.method = l.m_eMethod;
    history.modes = l.m_nModes;
    history.steps = l.m_dNste;
    history.dt = l.m_dDt;
    history.parameters.assign(l.m_arrParameter.begin(), l.m_arrParameter.end());
  }
}

void AddOtherCases(const CTavData& doc, const BeamNumbers& beams, file::LoadCases& cases) {
  for (int32_t r = 0; r < doc.GetCountResponseSpectrumLoad(); ++r) {
    const CTavLoadResponseSpectrum& l = *doc.GetResponseSpectrum(r);
    file::SpectrumCase& spectrum = cases.spectra.emplace_back();
    spectrum.name = l.m_strName;
    spectrum.modes = l.m_nModes;
    spectrum.combination = l.m_eCombination;
    spectrum.damping.assign(l.m_arrDamping.begin(), l.m_arrDamping.end());
    if (l.GetSelfWeight() != nullptr) spectrum.excitation = SelfWeightOf(*l.GetSelfWeight());
  }
  for (int32_t m = 0; m < doc.GetCountMovingLoad(); ++m) {
    const CTavLoadMoving& l = *doc.GetMovingLoad(m);
    file::MovingCase& moving = cases.moving.emplace_back();
    moving.name = l.m_strName;
    for (const auto& lane : l.m_arrLane) {
      moving.lanes.push_back({{beams(lane->m_nElement1), beams(lane->m_nElement2)}, {lane->m_dEcc1, lane->m_dEcc2}});
    }
  }
}

void AddLoadCases(const CTavData& doc, file::Model& model) {
  const BeamNumbers beams(doc);
  for (int32_t s = 0; s < doc.GetCountStaticLoad(); ++s) {
    FillLoads(*doc.GetStaticLoad(s), beams, model.loadCases.statics.emplace_back());
  }
  AddHistories(doc, beams, model.loadCases);
  AddOtherCases(doc, beams, model.loadCases);
  for (int32_t c = 0; c < doc.GetCountComboLoad(); ++c) {
    const CTavCombo& combo = *doc.GetCombo(c);
    file::Combination& combination = model.combinations.emplace_back();
    combination.name = combo.m_strName;
    combination.type = combo.m_eType;
    for (const TaV_COMBO_DATA& t : combo.m_arrLoad)
      combination.terms.push_back({t.eType, t.nCase, t.dFactor, t.dFactor2});
  }
}

void AddSettings(const CTavData& doc, file::Model& model) {
  model.midas = {doc.GetMidasVersion(), doc.GetMidasStructType(), doc.GetMidasMassOption()};
  model.document = {doc.GetJointType(), doc.GetViewOptionMode(),
                    std::array<int32_t, 4>{doc.GetSetting(1), doc.GetSetting(2), doc.GetSetting(3), doc.GetSetting(4)}};
}

}  // namespace

Json ModelToJson(const CTavData& doc) {
  file::Model model;
  model.title = doc.GetTitle();
  model.options = OptionsOf(*doc.GetGlobalOption());
  AddFunctions(*doc.GetFunction(), model);
  AddJoints(doc, model);
  AddConstraints(doc, model);
  AddGroups(doc, model);
  AddLoadCases(doc, model);
  AddSettings(doc, model);
  return WriteModelFile(model);
}

}  // namespace tav::json
