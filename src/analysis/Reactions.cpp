#include "analysis/Reactions.h"

namespace tav::analysis {

std::vector<double> RestraintForces(const JointDofs& dofs, const PartitionedMatrix& stiffness,
                                    std::span<const double> displacements, std::span<const double> imposed,
                                    std::span<const double> loads) {
  const std::vector<size_t>& restrainedSlots = dofs.RestrainedSlots();
  std::vector<double> forces(restrainedSlots.size(), 0.0);
  for (const MatrixEntry& e : stiffness.freeRestrained) {
    forces[e.column] += e.value * displacements[dofs.FreeSlots()[e.row]];
  }
  for (const MatrixEntry& e : stiffness.restrainedRestrained) forces[e.row] += e.value * imposed[e.column];
  for (size_t r = 0; r < restrainedSlots.size(); ++r) forces[r] -= loads[restrainedSlots[r]];
  return forces;
}

std::vector<Six> SupportReactions(const DiscreteModel& model, std::span<const double> restraintForces,
                                  std::span<const double> displacements) {
  const JointDofs& dofs = model.Dofs();
  std::vector<double> support(dofs.Slots(), 0.0);
  for (size_t r = 0; r < restraintForces.size(); ++r) support[dofs.RestrainedSlots()[r]] = restraintForces[r];
  for (const SupportSpring& spring : model.Elements().Springs()) {
    if (dofs.Kind(spring.slot) != SlotKind::kRestrained) {
      support[spring.slot] -= spring.stiffness * displacements[spring.slot];
    }
  }
  std::vector<Six> reactions(dofs.Joints());
  for (size_t j = 0; j < reactions.size(); ++j) {
    const Vector3 force = model.GlobalAt(support, j, 0), moment = model.GlobalAt(support, j, 3);
    reactions[j] = {force.x(), force.y(), force.z(), moment.x(), moment.y(), moment.z()};
  }
  return reactions;
}

}  // namespace tav::analysis
