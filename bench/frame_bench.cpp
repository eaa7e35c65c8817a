// Regular 3D frames analysed by the bundled program's engine, phase by
// phase, beside CHOLMOD's own analyse-factorise-solve of the same matrix.
//   FullAnalysis/nx/ny/nz: read, assemble, factorise, solve, recover, write
//   CholmodOnly/nx/ny/nz:  the stiffness matrix alone through CHOLMOD
//   SaveOwnInput/p:        writing the 20^3 frame at site coordinates as own
//                          input, reals in six digits (p = 0, the baseline)
//                          or in full (p = 1)
//   ModalAnalysis/nx/ny/nz: the same frame with a mass at every joint, its
//                          12 lowest modes beside its static analysis in
//                          the same run (modes_over_static), and alone,
//                          without load cases (alone_over_static)
//   HistoryAnalysis/nx/ny/nz: the same frame with masses and dampers shaken
//                          at its base for 1000 steps by direct integration
//                          (Newmark), and its cost per step against one
//                          static solution of the frame in the same run
//                          (step_over_static)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "GridFrame.h"
#include "analysis/DiscreteModel.h"
#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "analysis/OutputFile.h"
#include "analysis/SparseCholesky.h"
#include "tav/Tav.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The grid frame from `origin` on, pushed sideways and loaded downwards at
// every joint (unless `loaded` is false).
void BuildFrame(tav::CTavData& doc, int nx, int ny, int nz, double origin = 0.0, bool loaded = true) {
  tav::bench::AddGridFrame(doc, nx, ny, nz, {}, origin);
  if (loaded) tav::bench::AddSwayAndGravity(doc, nx * ny);
}

// The frame's own input in the temporary directory, written once; with
// `modes`, a mass of 2 at every joint and 12 modes asked for.
std::string WriteFrame(int nx, int ny, int nz, bool modes = false) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tav_frame_" + std::to_string(nx) + "_" + std::to_string(ny) + "_" +
                                                 std::to_string(nz) + (modes ? "_modes" : "") + ".tAv"))
          .string();
  if (std::filesystem::exists(path)) return path;
  tav::CTavData doc;
  BuildFrame(doc, nx, ny, nz);
  if (modes) {
    for (int joint = nx * ny; joint < doc.GetCountJoint(); ++joint) doc.AddJointMass(joint, 2, 2, 2, 0, 0, 0);
    doc.GetGlobalOption()->m_nEigenMethod = 2;
    doc.GetGlobalOption()->SetNumberOfModes(12);
  }
  doc.Save(path, tav::TaV_FORMAT_TAV);
  return path;
}

// The frame with a mass and a damper at every joint and one history
// condition: a sinusoidal ground acceleration along X over `steps` steps
// of 0.01 s, by Newmark's average acceleration; no static condition.
std::string WriteShakenFrame(int nx, int ny, int nz, int steps) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tav_frame_" + std::to_string(nx) + "_" + std::to_string(ny) + "_" +
                                                 std::to_string(nz) + "_history" + std::to_string(steps) + ".tAv"))
          .string();
  if (std::filesystem::exists(path)) return path;
  tav::CTavData doc;
  BuildFrame(doc, nx, ny, nz, 0.0, false);
  for (int joint = nx * ny; joint < doc.GetCountJoint(); ++joint) {
    doc.AddJointMass(joint, 2, 2, 2, 0, 0, 0);
    doc.AddJointDamping(joint, 0.5, 0.5, 0.5, 0, 0, 0);
  }
  const int32_t shake = doc.GetFunction()->AddFunction(tav::TaV_FUNCTION_SINUSOIDAL, 0.5, 0);
  tav::CTavLoadHistory* history = doc.AddLoadHistory("SHAKE");
  history->AddLoadHistory_DYNAMIC_ANALYSYS(tav::TaV_MODE_DIRECT_INTEGRATION, tav::TaV_METHOD_NEWMARK_BETA, 0, steps,
                                           0.01);
  history->AddSelfWeight(tav::TaV_DIR_X, 1.0, 2.0, shake);
  doc.Save(path, tav::TaV_FORMAT_TAV);
  return path;
}

void SaveOwnInput(benchmark::State& state) {
  tav::CTavData doc;
  BuildFrame(doc, 20, 20, 20, 123456.789);
  doc.SetRealPrecision(state.range(0) == 0 ? tav::TaV_PRECISION_SIX_DIGITS : tav::TaV_PRECISION_FULL);
  const std::string path = (std::filesystem::temp_directory_path() / "tav_frame_save.tAv").string();
  for (auto _ : state) doc.Save(path, tav::TaV_FORMAT_TAV);
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) * 1e-6;
  std::filesystem::remove(path);
}

void FullAnalysis(benchmark::State& state) {
  const std::string input =
      WriteFrame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  const std::string output = input + ".tvo";
  double read = 0, write = 0;
  tav::analysis::Timings timings;
  for (auto _ : state) {
    auto start = Clock::now();
    const tav::analysis::InputDeck deck = tav::analysis::ReadInputFile(input);
    read = Since(start);
    tav::analysis::FrameAnalysis analysis(deck, {});
    const auto results = analysis.Run();
    timings = analysis.GetTimings();
    start = Clock::now();
    tav::analysis::WriteOutputFile(output, deck, results);
    write = Since(start);
  }
  state.counters["equations"] = timings.equations;
  state.counters["read_s"] = read;
  state.counters["assemble_s"] = timings.assemble;
  state.counters["factor_s"] = timings.factor;
  state.counters["solve_s"] = timings.solve;
  state.counters["recover_s"] = timings.recover;
  state.counters["write_s"] = write;
  state.counters["GFLOPs"] = timings.factor > 0 ? timings.flops / timings.factor * 1e-9 : 0.0;
}

void CholmodOnly(benchmark::State& state) {
  const std::string input =
      WriteFrame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  const tav::analysis::InputDeck deck = tav::analysis::ReadInputFile(input);
  // The free equations' stiffness with every gap closed, as the analysis
  // assembles it.
  const tav::analysis::DiscreteModel model(deck, {});
  tav::analysis::PartitionedMatrix stiffness = model.BaseStiffness();
  model.AddLinkStiffness(stiffness, std::vector<char>(model.Elements().Links().size(), 1));
  const int equations = static_cast<int>(model.Equations());
  const std::vector<tav::analysis::MatrixEntry>& matrix = stiffness.freeFree;
  double factor = 0, flops = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    tav::analysis::SparseCholesky cholesky;
    int failed = -1;
    cholesky.Factor(equations, matrix, failed);
    factor = Since(start);
    flops = cholesky.Flops();
    std::vector<double> rhs(static_cast<size_t>(equations) * 2, 1.0);
    cholesky.Solve(rhs, 2);
  }
  state.counters["equations"] = equations;
  state.counters["factor_s"] = factor;
  state.counters["GFLOPs"] = factor > 0 ? flops / factor * 1e-9 : 0.0;
}

// The frame's static analysis with its modes, which reuse its
// factorisation, and the modes of the same frame without load cases, which
// factorise on their own.
void ModalAnalysis(benchmark::State& state) {
  const std::string input = WriteFrame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                       static_cast<int>(state.range(2)), true);
  const tav::analysis::InputDeck deck = tav::analysis::ReadInputFile(input);
  tav::analysis::InputDeck modesOnly = deck;
  modesOnly.cases.clear();
  tav::analysis::Timings both, alone;
  size_t modes = 0;
  for (auto _ : state) {
    tav::analysis::FrameAnalysis analysis(deck, {});
    analysis.Run();
    both = analysis.GetTimings();
    modes = analysis.Modes().modes.size();
    tav::analysis::FrameAnalysis modal(modesOnly, {});
    modal.Run();
    alone = modal.GetTimings();
  }
  const double statics = both.assemble + both.factor + both.solve + both.recover;
  const double modesAlone = alone.assemble + alone.modes;  // the modes' time holds their factorisation
  state.counters["equations"] = both.equations;
  state.counters["modes"] = static_cast<double>(modes);
  state.counters["static_s"] = statics;
  state.counters["modes_s"] = both.modes;
  state.counters["modes_over_static"] = statics > 0 ? both.modes / statics : 0.0;
  state.counters["alone_s"] = modesAlone;
  state.counters["alone_over_static"] = statics > 0 ? modesAlone / statics : 0.0;
}

// One static solution of the frame (read, assemble, factorise, solve,
// recover), then the shaken frame's 1000 steps, each run timed whole.
void HistoryAnalysis(benchmark::State& state) {
  const int nx = static_cast<int>(state.range(0)), ny = static_cast<int>(state.range(1)),
            nz = static_cast<int>(state.range(2));
  constexpr int kSteps = 1000;
  tav::analysis::InputDeck statics = tav::analysis::ReadInputFile(WriteFrame(nx, ny, nz));
  statics.cases.resize(1);
  const tav::analysis::InputDeck shaken = tav::analysis::ReadInputFile(WriteShakenFrame(nx, ny, nz, kSteps));
  double staticSeconds = 0, historySeconds = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    tav::analysis::FrameAnalysis(statics, {}).Run();
    staticSeconds = Since(start);
    start = Clock::now();
    tav::analysis::FrameAnalysis history(shaken, {});
    const auto results = history.Run();
    historySeconds = Since(start);
    if (!results.front().error.empty()) state.SkipWithError(results.front().error.c_str());
  }
  const double perStep = historySeconds / kSteps;
  state.counters["steps"] = kSteps;
  state.counters["static_s"] = staticSeconds;
  state.counters["history_s"] = historySeconds;
  state.counters["step_ms"] = perStep * 1e3;
  state.counters["step_over_static"] = staticSeconds > 0 ? perStep / staticSeconds : 0.0;
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Args({10, 10, 10})->Args({20, 20, 20})->Args({21, 21, 61})->Unit(benchmark::kSecond)->Iterations(1);
}

BENCHMARK(FullAnalysis)->Apply(Sizes);
BENCHMARK(CholmodOnly)->Apply(Sizes);
BENCHMARK(ModalAnalysis)->Apply(Sizes);
BENCHMARK(HistoryAnalysis)->Args({10, 10, 10})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(SaveOwnInput)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
