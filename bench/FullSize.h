// The benchmarks' two sizes: quick by default, the large models of the
// figures with `--full` on the command line or TAV_BENCH_FULL=1.
#pragma once

#include <cstdlib>
#include <string_view>

namespace tav::bench {

// True when the full sizes are asked for; takes `--full` out of the
// arguments, leaving the rest to Google Benchmark.
inline bool TakeFullFlag(int& argc, char** argv) {
  const char* variable = std::getenv("TAV_BENCH_FULL");
  bool full = variable != nullptr && std::string_view(variable) == "1";
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--full") {
      full = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return full;
}

}  // namespace tav::bench
