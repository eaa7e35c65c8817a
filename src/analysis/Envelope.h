// The largest and smallest of each result value over many results of one
// load condition (the steps of a history, the positions of a moving load),
// and the peak: the one of the two with the larger magnitude, with its sign.
#pragma once

#include <vector>

#include "analysis/Results.h"

namespace tav::analysis {

class Envelope {
 public:
  // `shape` gives the joints, beams and stations (its values are not taken).
  explicit Envelope(const CaseResult& shape);

  void Add(const CaseResult& result);
  // Before the first Add, all three are zero.
  CaseResult Maximum() const { return Filled(m_maximum); }
  CaseResult Minimum() const { return Filled(m_minimum); }
  CaseResult Peak() const;

 private:
  CaseResult Filled(const std::vector<double>& values) const;

  CaseResult m_shape;
  std::vector<double> m_maximum, m_minimum;
  bool m_empty = true;
};

}  // namespace tav::analysis
