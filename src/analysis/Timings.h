// How long the analysis spent in each of its phases, for the program's
// closing line and the benchmark.
#pragma once

#include <chrono>
#include <cstddef>

namespace tav::analysis {

struct Timings {
  double assemble = 0.0;  // seconds
  double factor = 0.0;
  double solve = 0.0;
  double recover = 0.0;
  double modes = 0.0;  // the eigen solution
  double flops = 0.0;  // of the factorisations
  size_t equations = 0;
  size_t factorisations = 0;
};

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace tav::analysis
