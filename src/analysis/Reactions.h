// What the supports exert on the structure: the restraints' forces, from
// the stiffness of the restrained slots, and the support springs' forces,
// from their stretch.
#pragma once

#include <span>
#include <vector>

#include "analysis/DiscreteModel.h"
#include "analysis/InputDeck.h"
#include "analysis/JointDofs.h"

namespace tav::analysis {

// Per restrained slot, in the joint's axes: the stiffness of the slot times
// every slot's displacement (`displacements`; `imposed` for the restrained
// ones), less the load applied on the slot itself (`loads`, per slot).
std::vector<double> RestraintForces(const JointDofs& dofs, const PartitionedMatrix& stiffness,
                                    std::span<const double> displacements, std::span<const double> imposed,
                                    std::span<const double> loads);
// Per joint, in global axes: the restraints' forces and those of the
// springs on free slots (a restraint takes a spring on its own slot).
std::vector<Six> SupportReactions(const DiscreteModel& model, std::span<const double> restraintForces,
                                  std::span<const double> displacements);

}  // namespace tav::analysis
