#include "analysis/TimeFunctions.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "analysis/Diagnostics.h"

namespace tav::analysis {
namespace {

std::string NameOf(const Function& function) {
  return Where(function.line) + "function " + std::to_string(function.number + 1);
}

}  // namespace

TimeFunction::TimeFunction(const Function& function)
    : m_points(function.points),
      m_sinusoidal(function.sinusoidal),
      m_period(function.parameters[0]),
      m_phase(function.parameters[1] * std::numbers::pi / 180.0) {
  if (!m_sinusoidal && m_points.empty()) throw AnalysisError(NameOf(function) + " has no points");
  if (m_sinusoidal && !(m_period > 0.0)) {
    throw AnalysisError(NameOf(function) + " is sinusoidal without a period (its first parameter, seconds)");
  }
  for (size_t p = 1; p < m_points.size(); ++p) {
    if (!(m_points[p][0] >= m_points[p - 1][0])) {
      throw AnalysisError(NameOf(function) + ": its times go back at point " + std::to_string(p + 1));
    }
  }
}

double TimeFunction::At(double time) const {
  if (!m_sinusoidal) return Table(time);
  const double envelope = m_points.empty() ? 1.0 : Table(time);
  return envelope * std::sin(2.0 * std::numbers::pi * time / m_period + m_phase);
}

double TimeFunction::Table(double time) const {
  if (time <= m_points.front()[0]) return m_points.front()[1];
  if (time >= m_points.back()[0]) return m_points.back()[1];
  const auto after = std::upper_bound(m_points.begin(), m_points.end(), time,
                                      [](double t, const std::array<double, 2>& point) { return t < point[0]; });
  const auto& [t1, v1] = *(after - 1);
  const auto& [t2, v2] = *after;
  return v1 + (v2 - v1) * (time - t1) / (t2 - t1);
}

TimeFunction TimeFunctionOf(const InputDeck& deck, int number, const std::string& user) {
  for (const Function& function : deck.functions) {
    if (function.number == number) return TimeFunction(function);
  }
  throw AnalysisError(user + " names function " + std::to_string(number + 1) + ", which the input does not define");
}

}  // namespace tav::analysis
