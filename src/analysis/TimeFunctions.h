// The functions of the FUNTION block as functions of time, for history
// load conditions.
//
// CONSTANT: the table of (time, value) points, linear between them; before
// the first point the first value holds, after the last point the last
// value holds (a record ends with a point of value 0 to stop).
// SINUSOIDAL: sin(2 pi t / T + phase), T the first parameter (the period,
// seconds, greater than 0) and the phase the second (degrees), scaled by
// the table when the function has points (an envelope, read as above).
#pragma once

#include <vector>

#include "analysis/InputDeck.h"

namespace tav::analysis {

class TimeFunction {
 public:
  // Throws AnalysisError naming the function and its line when it cannot
  // be used as a function of time: a table without points, times that go
  // back, a sinusoid without a period.
  explicit TimeFunction(const Function& function);

  double At(double time) const;

 private:
  double Table(double time) const;

  std::vector<std::array<double, 2>> m_points;
  bool m_sinusoidal = false;
  double m_period = 0.0;
  double m_phase = 0.0;  // radians
};

// The function numbered `number` (0-based) of the deck as a function of
// time; throws AnalysisError naming `user` ("joint load of history load
// condition 2") when the deck has no such function.
TimeFunction TimeFunctionOf(const InputDeck& deck, int number, const std::string& user);

}  // namespace tav::analysis
