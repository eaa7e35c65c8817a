#include "tool/SectionMasses.h"

#include <map>

namespace tav::tool {

double AddSectionMasses(CTavData& doc) {
  std::map<int32_t, double> atJoint;
  double total = 0.0;
  for (int32_t g = 0; g < doc.GetCountGroup(); ++g) {
    if (doc.GetGroup(g)->GetType() != CTavGroup::kBeam) continue;
    const auto& group = static_cast<const CTavGroupElement&>(*doc.GetGroup(g));
    for (int32_t number : group.m_arrBeam) {
      const CTavBeam& beam = *doc.GetBeam(number);
      const CTavSection& section = *group.GetSection(beam.m_nSection);
      const double mass = section.m_dW * section.m_dArea * doc.GetLengthBeam(number);
      atJoint[beam.m_nJointI] += 0.5 * mass;
      atJoint[beam.m_nJointJ] += 0.5 * mass;
      total += mass;
    }
  }
  for (const auto& [joint, mass] : atJoint) {
    if (mass != 0.0) doc.AddJointMass(joint, mass, mass, mass, 0, 0, 0);
  }
  return total;
}

}  // namespace tav::tool
