// The loads of a static load condition on the equations' slots: joint
// loads, the weight of the joints' masses and the joint loads equivalent to
// beam loads, turned into the
// joints' axes and shared out to the slots constrained slots move with;
// the prescribed displacements of restrained slots; and the loads along
// each beam's span, which the member forces need again.
#pragma once

#include <string>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/BeamLoadPlacement.h"
#include "analysis/Diagnostics.h"
#include "analysis/DiscreteModel.h"
#include "analysis/InputDeck.h"

namespace tav::analysis {

struct CaseLoads {
  std::vector<double> slots;                 // per slot, in the joints' axes
  std::vector<double> imposed;               // per restrained slot: its prescribed displacement
  std::vector<std::vector<SpanLoad>> spans;  // per beam: the loads along it
};

class StaticLoads {
 public:
  StaticLoads(const DiscreteModel& model, const Messages& messages);

  // The loads of `loadCase`, named `name` in messages ("static load
  // condition 2"). Throws AnalysisError for a beam load that no beam takes
  // or that lies outside its beam.
  CaseLoads Of(const LoadCase& loadCase, const std::string& name) const;

 private:
  void AddJointLoad(CaseLoads& loads, const JointLoad& load) const;
  void AddBeamLoad(CaseLoads& loads, const BeamLoad& load, const std::string& caseName) const;
  void AddImposed(CaseLoads& loads, const JointLoad& displacement) const;
  void AddSelfWeight(CaseLoads& loads, const SelfWeight& weight, const std::string& caseName) const;

  const DiscreteModel& m_model;
  const Messages& m_messages;
  BeamLoadPlacement m_placement;
};

}  // namespace tav::analysis
