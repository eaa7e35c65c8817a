#include "tav/json/ReadContext.h"

#include <cmath>

#include "tav/model/Vector.h"

namespace tav::json {

int32_t ReadContext::Beams() const {
  int32_t beams = 0;
  for (const file::Group& group : m_model.groups) {
    if (const auto* beamGroup = std::get_if<file::BeamGroup>(&group)) beams += Count(beamGroup->beams);
  }
  return beams;
}

int32_t ReadContext::Cases(int32_t kind) const {
  const file::LoadCases& cases = m_model.loadCases;
  const int32_t counts[] = {Count(cases.statics), Count(cases.histories), Count(cases.spectra), Count(cases.moving),
                            m_combinations};
  return counts[kind];
}

double ReadContext::BeamLength(int32_t beam) const {
  for (const file::Group& group : m_model.groups) {
    const auto* beamGroup = std::get_if<file::BeamGroup>(&group);
    if (beamGroup == nullptr) continue;
    if (beam < Count(beamGroup->beams)) {
      const file::Beam& b = beamGroup->beams[static_cast<size_t>(beam)];
      const file::Joint& i = m_model.joints[static_cast<size_t>(b.joints[0])];
      const file::Joint& j = m_model.joints[static_cast<size_t>(b.joints[1])];
      const CVector d = CVector(j.x, j.y, j.z) - CVector(i.x, i.y, i.z);
      return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    }
    beam -= Count(beamGroup->beams);
  }
  return 0.0;
}

bool ReadContext::TakeName(NameScope scope, const std::string& name) {
  switch (scope) {
    case NameScope::kStatic:
      return m_staticNames.insert(name).second;
    case NameScope::kCombination:
      return m_staticNames.count(name) == 0 && m_combinationNames.insert(name).second;
    default:
      return true;
  }
}

}  // namespace tav::json
