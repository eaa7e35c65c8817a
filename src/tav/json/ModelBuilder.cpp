// BuildModel: a model file read into its records (every value checked
// there), then the document built from them by the library's own calls, in
// the order the file lists its parts.
#include <variant>

#include "tav/json/ModelFields.h"

namespace tav::json {
namespace {

CLongArray JointList(const std::vector<int32_t>& joints) {
  CLongArray list;
  for (int32_t joint : joints) list.Add(joint);
  return list;
}

void BuildOptions(const file::Options& options, CTavGlobalOption& o) {
  // The two flags above the six degrees of freedom are always set.
  if (options.dof) o.m_Dof.byFlags = static_cast<uint8_t>(0xC0 | *options.dof);
  if (options.forceSegments) o.m_nForceSegments = *options.forceSegments;
  if (options.checks) o.m_Check.byFlags = static_cast<uint8_t>(0xC0 | *options.checks);
  o.m_bInitTemperature = options.initialTemperature ? 1 : 0;
  o.m_bInitTemperatureGradient = options.initialTemperatureGradient ? 1 : 0;
  const file::Eigen& eigen = options.eigen;
  if (eigen.method) o.m_nEigenMethod = *eigen.method;
  o.m_nEigenRange = eigen.interval ? 1 : 0;
  if (eigen.modes) o.m_nModes = *eigen.modes;
  if (eigen.subspaceVectors) o.m_nSubspaceVectors = *eigen.subspaceVectors;
  if (eigen.iterations) o.m_nIterations = *eigen.iterations;
  o.m_bRigidBodyMode = eigen.rigidBodyModes ? 1 : 0;
  if (eigen.rigidBodyShift) o.m_nRigidBodyShift = *eigen.rigidBodyShift;
  o.m_dCutOffFrequency = eigen.cutOffFrequency;
  o.m_dTolerance = eigen.tolerance;
  o.m_bLanczosVectors = eigen.lanczosVectors ? 1 : 0;
  if (eigen.startingVectors) o.m_nStartingVectors = *eigen.startingVectors;
}

void BuildFunction(const file::Function& function, CTavFunction& table) {
  const int32_t f =
      table.AddFunction(static_cast<TaV_FUNCTION_TYPE>(function.type), function.parameters[0], function.parameters[1]);
  for (const file::Reals2& point : function.points) table.AddFunctionValue(f, point[0], point[1]);
}

void BuildJoint(const file::Joint& joint, CTavData& doc) {
  const int32_t j = doc.AddJoint(joint.x, joint.y, joint.z, joint.localSystem.value_or(-1));
  if (joint.restraints) doc.GetJoint(j)->m_Restraint.byFlags = *joint.restraints;
}

void BuildSection(const file::Section& section, CTavGroupElement& group) {
  if (const auto* r = std::get_if<file::RectangleSection>(&section)) {
    CTavSection* s = group.AddSection_Rect(r->E, r->width, r->height);
    s->m_dPoisson = r->poisson;
    s->m_dW = r->W;
    return;
  }
  const auto& g = std::get<file::GeneralSection>(section);
  group.AddSection(g.E, g.poisson, g.IS, g.IT, g.area, g.W, g.materialAux, g.J, g.ASHS, g.ASHT);
}

void BuildBeam(const file::Beam& beam, CTavGroupElement* group, CTavData& doc) {
  // An end is released when its list names something; an empty list is no release.
  const uint8_t releaseI = beam.releaseI.value_or(0);
  const uint8_t releaseJ = beam.releaseJ.value_or(0);
  const file::Reals2 offsets = beam.offsets.value_or(file::Reals2{0.0, 0.0});
  CTavBeam* b =
      doc.AddBeam(group, beam.section, beam.joints[0], beam.joints[1], beam.angle, releaseI != 0 ? 1 : 0,
                  releaseJ != 0 ? 1 : 0, offsets[0], offsets[1], beam.rigid.value_or(0.0), beam.segments.value_or(0.0));
  if (releaseI != 0) b->m_ReleaseI.byFlags = static_cast<uint8_t>(0xC0 | releaseI);
  if (releaseJ != 0) b->m_ReleaseJ.byFlags = static_cast<uint8_t>(0xC0 | releaseJ);
}

void BuildGroup(const file::BeamGroup& beams, CTavData& doc) {
  CTavGroupElement* group = doc.AddGroupElement();
  for (const file::Section& section : beams.sections) BuildSection(section, *group);
  for (const file::Beam& beam : beams.beams) BuildBeam(beam, group, doc);
}

void BuildGroup(const file::SpringGroup& springs, CTavData& doc) {
  CTavGroupSpring* group = doc.AddGroupSpringConstants();
  for (const file::SpringConstant& c : springs.constants) {
    const std::vector<double>& k = c.stiffness;
    CTavSpringConstant* constant = group->AddSpringConstants(k[0], k[1], k[2]);
    for (size_t d = 3; d < k.size(); ++d) constant->m_dStiffness[d] = k[d];
    constant->m_bMultiDof = c.multi ? 1 : 0;
  }
  for (const file::Spring& s : springs.springs) group->AddSpring(s.constant, s.joint);
}

void BuildGroup(const file::LinkGroup& links, CTavData& doc) {
  CTavGroupNllink* group = doc.AddGroupNllink();
  for (const file::LinkProperty& p : links.properties) {
    group->AddNllinkConstants(p.k0, p.values[0], p.values[1], p.values[2]);
  }
  for (const file::Link& l : links.links) doc.AddNllink(group, l.joints[0], l.joints[1], l.property, l.angle);
}

void BuildSelfWeight(const file::SelfWeight& weight, CTavSelfWeight& into) {
  into.m_eDir = static_cast<TaV_DIR>(weight.direction);
  into.m_dFactor = weight.factor;
  into.m_dAcceleration = weight.acceleration;
  into.m_nFunction = weight.function.value_or(0);
}

// Joint loads and prescribed displacements alike: a joint, six values and a function.
using AddJointValues = int32_t (CTavLoadStatic::*)(int32_t, double, double, double, double, double, double, int32_t);

void BuildJointLoads(const std::optional<std::vector<file::JointLoad>>& loads, CTavLoadStatic& loadCase,
                     AddJointValues add) {
  if (!loads) return;
  for (const file::JointLoad& l : *loads) {
    const file::Reals6& v = l.values;
    (loadCase.*add)(l.joint, v[0], v[1], v[2], v[3], v[4], v[5], l.function.value_or(0));
  }
}

void BuildBeamLoad(const file::BeamLoad& load, CTavLoadStatic& loadCase) {
  TaV_TYPED_LOAD blocks[3];
  for (const file::Component& c : load.components) {
    TaV_TYPED_LOAD& block = blocks[c.direction];
    for (size_t k = 0; k < c.values.size(); ++k) {
      block.dValue[k] = c.values[k];
      block.dDist[k] = c.distances[k];
    }
    block.nValue = block.nDist = static_cast<int32_t>(c.values.size());
  }
  loadCase.AddLoadStatic_Beam(load.beam, static_cast<TaV_BEMALOAD_TYPE>(load.type), blocks[0], blocks[1], blocks[2],
                              load.function.value_or(0), load.absolute ? 1 : 0);
}

void BuildLoads(const file::Loads& loads, CTavLoadStatic& loadCase) {
  if (loads.selfWeightFlag) loadCase.m_bSelfWeight = *loads.selfWeightFlag ? 1 : 0;
  if (loads.selfWeight) {
    loadCase.AddSelfWeight(TaV_DIR_Z, 0, 0, 0);
    BuildSelfWeight(*loads.selfWeight, *loadCase.GetSelfWeight());
  }
  BuildJointLoads(loads.jointLoads, loadCase, &CTavLoadStatic::AddLoadStatic_Joint);
  if (loads.beamLoads) {
    for (const file::BeamLoad& load : *loads.beamLoads) BuildBeamLoad(load, loadCase);
  }
  BuildJointLoads(loads.displacements, loadCase, &CTavLoadStatic::AddLoadStatic_Displacement);
}

void BuildHistory(const file::HistoryCase& history, CTavData& doc) {
  CTavLoadHistory& h = *doc.AddLoadHistory(history.name);
  h.m_nHistoryType = history.analysis;
  if (history.mode) h.m_eMode = static_cast<TaV_DYNAMIC_ANALYSYS_MODE>(*history.mode);
  if (history.method) h.m_eMethod = static_cast<TaV_INTEGRATION_METHOD>(*history.method);
  if (history.modes) h.m_nModes = *history.modes;
  h.m_dNste = history.steps;
  h.m_dDt = history.dt;
  for (double p : history.parameters) h.m_arrParameter.Add(p);
  BuildLoads(history, h);
}

void BuildSpectrum(const file::SpectrumCase& spectrum, CTavData& doc) {
  CTavLoadResponseSpectrum& r = *doc.AddLoadResponseSpectrum(spectrum.name);
  if (spectrum.modes) r.m_nModes = *spectrum.modes;
  if (spectrum.combination) r.m_eCombination = static_cast<TaV_MODE_COMBINATION>(*spectrum.combination);
  for (double d : spectrum.damping) r.m_arrDamping.Add(d);
  if (spectrum.excitation) BuildSelfWeight(*spectrum.excitation, *r.GetSelfWeight());
}

void BuildLoadCases(const file::LoadCases& cases, CTavData& doc) {
  for (const file::StaticCase& s : cases.statics) BuildLoads(s, *doc.AddLoadStatic(s.name, 0));
  for (const file::HistoryCase& h : cases.histories) BuildHistory(h, doc);
  for (const file::SpectrumCase& r : cases.spectra) BuildSpectrum(r, doc);
  for (const file::MovingCase& m : cases.moving) {
    CTavLoadMoving& moving = *doc.AddMovingLoad(m.name);
    for (const file::Lane& lane : m.lanes) {
      moving.AddMovingLoad_Lane(lane.beams[0], lane.beams[1], lane.eccentricities[0], lane.eccentricities[1]);
    }
  }
}

void BuildCombination(const file::Combination& combination, CTavData& doc) {
  CTavCombo* combo = doc.AddCombo(combination.name, static_cast<TaV_COMBO_TYPE>(combination.type));
  for (const file::Term& t : combination.terms) {
    combo->AddLoad(static_cast<TaV_LOAD_TYPE>(t.kind), t.loadCase, t.factor, t.factor2);
  }
}

void BuildSettings(const file::Midas& midas, const file::DocumentSettings& settings, CTavData& doc) {
  if (midas.version) doc.SetMidasVersion(*midas.version);
  if (midas.structType) doc.SetMidasStructType(*midas.structType);
  if (midas.massOption) doc.SetMidasMassOption(*midas.massOption);
  if (settings.jointType) doc.SetJointType(*settings.jointType);
  if (settings.viewOptionMode) doc.SetViewOptionMode(*settings.viewOptionMode);
  if (settings.settings) {
    for (int s = 0; s < 4; ++s) doc.SetSetting(s + 1, (*settings.settings)[static_cast<size_t>(s)]);
  }
}

void Build(const file::Model& model, CTavData& doc) {
  if (model.title) doc.SetTitle(*model.title);
  BuildOptions(model.options, *doc.GetGlobalOption());
  for (const file::Function& f : model.functions) BuildFunction(f, *doc.GetFunction());
  for (const file::LocalSystem& s : model.localSystems)
    doc.AddLocalCoordSystem(s.angles[0], s.angles[1], s.angles[2], 1);
  for (const file::Joint& j : model.joints) BuildJoint(j, doc);
  for (const file::Diaphragm& d : model.diaphragms) doc.AddJointConstraintDiap(d.master, JointList(d.slaves));
  for (const file::RigidLink& r : model.rigidLinks) {
    doc.GetConstraint()->AddRigidLink(r.type, r.master, JointList(r.slaves));
  }
  for (const file::JointValues& m : model.masses) {
    doc.AddJointMass(m.joint, m.values[0], m.values[1], m.values[2], m.values[3], m.values[4], m.values[5]);
  }
  for (const file::JointValues& d : model.dampers) {
    doc.AddJointDamping(d.joint, d.values[0], d.values[1], d.values[2], d.values[3], d.values[4], d.values[5]);
  }
  for (const file::Group& g : model.groups) std::visit([&doc](const auto& group) { BuildGroup(group, doc); }, g);
  BuildLoadCases(model.loadCases, doc);
  for (const file::Combination& c : model.combinations) BuildCombination(c, doc);
  BuildSettings(model.midas, model.document, doc);
}

}  // namespace

void BuildModel(const Json& model, CTavData& doc) { Build(ReadModelFile(model), doc); }

}  // namespace tav::json
