#include "analysis/Envelope.h"

#include <algorithm>
#include <cmath>

namespace tav::analysis {

Envelope::Envelope(const CaseResult& shape) : m_shape(shape) {
  size_t count = 0;
  ForEachValue(m_shape, [&count](double& value) {
    value = 0.0;
    ++count;
  });
  m_maximum.assign(count, 0.0);
  m_minimum.assign(count, 0.0);
}

void Envelope::Add(const CaseResult& result) {
  size_t i = 0;
  if (m_empty) {
    ForEachValue(result, [&](double value) {
      m_maximum[i] = m_minimum[i] = value;
      ++i;
    });
    m_empty = false;
    return;
  }
  ForEachValue(result, [&](double value) {
    m_maximum[i] = std::max(m_maximum[i], value);
    m_minimum[i] = std::min(m_minimum[i], value);
    ++i;
  });
}

CaseResult Envelope::Peak() const {
  std::vector<double> peak(m_maximum.size());
  for (size_t i = 0; i < peak.size(); ++i) {
    peak[i] = std::fabs(m_minimum[i]) > std::fabs(m_maximum[i]) ? m_minimum[i] : m_maximum[i];
  }
  return Filled(peak);
}

CaseResult Envelope::Filled(const std::vector<double>& values) const {
  CaseResult result = m_shape;
  size_t i = 0;
  ForEachValue(result, [&](double& value) { value = values[i++]; });
  return result;
}

}  // namespace tav::analysis
