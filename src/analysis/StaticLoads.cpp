#include "analysis/StaticLoads.h"

#include <array>

#include "tav/model/OwnFormatWords.h"

namespace tav::analysis {

StaticLoads::StaticLoads(const DiscreteModel& model, const Messages& messages)
    : m_model(model), m_messages(messages), m_placement(model.Deck(), model.Elements(), messages) {}

CaseLoads StaticLoads::Of(const LoadCase& loadCase, const std::string& name) const {
  CaseLoads loads;
  loads.slots.assign(m_model.Dofs().Slots(), 0.0);
  loads.imposed.assign(m_model.Dofs().RestrainedSlots().size(), 0.0);
  loads.spans.resize(m_model.Elements().Beams().size());
  for (const JointLoad& load : loadCase.jointLoads) AddJointLoad(loads, load);
  for (const BeamLoad& load : loadCase.beamLoads) AddBeamLoad(loads, load, name);
  for (const JointLoad& displacement : loadCase.displacements) AddImposed(loads, displacement);
  if (loadCase.selfWeight.present) AddSelfWeight(loads, loadCase.selfWeight, name);
  return loads;
}

// The weight of the masses: each mass loaded with mass x factor x
// ACCELERATION along the named global axis (FZ=-1. ACCELERATION=9.81 is
// gravity on a model whose Z axis points up).
void StaticLoads::AddSelfWeight(CaseLoads& loads, const SelfWeight& weight, const std::string& caseName) const {
  if (weight.direction < 0) {
    m_messages.Warn(Where(weight.line) + "the self weight of " + caseName + " names no direction and is not applied");
    return;
  }
  const double acceleration = weight.factor * weight.acceleration;
  bool loaded = false;
  for (size_t joint = 0; joint < m_model.Dofs().Joints(); ++joint) {
    const Eigen::Matrix<double, 6, 6> mass = m_model.GlobalMass(joint);
    const Eigen::VectorXd global = acceleration * mass.col(weight.direction);
    if (global.isZero(0.0)) continue;
    m_model.AddJointVector(loads.slots, std::array<size_t, 1>{joint}, global);
    loaded = true;
  }
  if (!loaded) {
    m_messages.Warn(Where(weight.line) + "the self weight of " + caseName + " loads nothing: no joint carries mass " +
                    "along " + words::kSelfWeightDirection[static_cast<size_t>(weight.direction)] +
                    " (or its factor or acceleration is 0)");
  }
}

void StaticLoads::AddJointLoad(CaseLoads& loads, const JointLoad& load) const {
  Eigen::VectorXd global(6);
  for (size_t d = 0; d < kJointDofs; ++d) global(d) = load.values[d];
  m_model.AddJointVector(loads.slots, std::array<size_t, 1>{static_cast<size_t>(load.joint)}, global);
}

void StaticLoads::AddBeamLoad(CaseLoads& loads, const BeamLoad& load, const std::string& caseName) const {
  const std::string name = Where(load.line) + "beam load " + std::to_string(load.number + 1) + " of " + caseName;
  const size_t beam = m_placement.BeamOf(load, name);
  if (load.pieces.empty() && load.type == 2) {
    m_messages.Warn(Where(load.line) + "a concentrated moment carries no value in the input and is not applied");
  }
  const std::vector<SpanLoad> pieces = m_placement.PiecesOn(beam, load, name);
  const FrameBeam& target = m_model.Elements().Beams()[beam];
  m_model.AddJointVector(loads.slots, target.joints, target.element.EquivalentLoads(pieces));
  loads.spans[beam].insert(loads.spans[beam].end(), pieces.begin(), pieces.end());
}

// A prescribed displacement is given in global axes and imposed, turned
// into the joint's axes, on the slots its restraints hold.
void StaticLoads::AddImposed(CaseLoads& loads, const JointLoad& displacement) const {
  const JointDofs& dofs = m_model.Dofs();
  const auto joint = static_cast<size_t>(displacement.joint);
  const Six& v = displacement.values;
  const Matrix3& r = dofs.Axes(joint);
  const Vector3 translation = r * Vector3(v[0], v[1], v[2]);
  const Vector3 rotation = r * Vector3(v[3], v[4], v[5]);
  for (size_t d = 0; d < kJointDofs; ++d) {
    const double value = d < 3 ? translation(d) : rotation(d - 3);
    if (value == 0.0) continue;
    const size_t slot = kJointDofs * joint + d;
    if (dofs.Kind(slot) != SlotKind::kRestrained) {
      m_messages.Warn(Where(displacement.line) + "a prescribed displacement of joint " + std::to_string(joint + 1) +
                      " in " + words::kJointDof[d] + " is ignored: that degree of freedom is not restrained");
      continue;
    }
    loads.imposed[dofs.Index(slot)] = value;
  }
}

}  // namespace tav::analysis
