// Whole runs of the bundled program, each beside the part of it that does
// the work, in the same run.
//   ToolRun:        `tav run` of a two-beam model (write the input, run TaV
//                   through the solver dialog, read the results back) in
//                   seconds (tool_s), beside TaV alone on the same input
//                   (solver_s): pause_s = tool_s - solver_s is what the run
//                   around the program costs; ratio = tool_s / solver_s.
//   WholeRun/n:     TaV on the n^3 frame of frame_bench (read, analyse,
//                   write; run_s), beside CHOLMOD's own analyse, factorise
//                   and solve of the frame's stiffness matrix, assembled
//                   beforehand (cholmod_s, as CholmodOnly measures it);
//                   ratio = run_s / cholmod_s.
// Both programs run through std::system, as a user starts them, with their
// output thrown away; each figure is the fastest of the iterations.
// Sizes: quick by default (WholeRun on the 10^3 frame); `--full` or
// TAV_BENCH_FULL=1 runs the 20^3 frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FullSize.h"
#include "GridFrame.h"
#include "analysis/DiscreteModel.h"
#include "analysis/InputReader.h"
#include "analysis/SparseCholesky.h"
#include "tav/Tav.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The fastest of the times of `work`.
struct Fastest {
  double seconds = 1e300;
  void Time(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    seconds = std::min(seconds, std::chrono::duration<double>(Clock::now() - start).count());
  }
};

fs::path TempPath(const std::string& name) { return fs::temp_directory_path() / ("tav_runs_" + name); }

std::string Quoted(const fs::path& path) {
  std::string text(1, '\'');
  text += path.string();
  text += '\'';
  return text;
}

// The command's exit status is 0.
bool Succeeds(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string SolverCommand(const fs::path& input, const fs::path& output) {
  return Quoted(TAV_SOLVER_PROGRAM) + " " + Quoted(input) + " " + Quoted(output);
}

// A cantilever of two beams in the XZ plane loaded at its tip: the least a
// run can be.
constexpr std::string_view kTinyModel = R"({
  "title": "TINY CANTILEVER",
  "options": {"dof": ["UX", "UZ", "RY"]},
  "joints": [
    {"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
    {"x": 2, "y": 0, "z": 0},
    {"x": 4, "y": 0, "z": 0}
  ],
  "groups": [
    {
      "kind": "beam",
      "sections": [{"shape": "rectangle", "E": 3e7, "width": 0.4, "height": 0.3}],
      "beams": [{"section": 1, "joints": [1, 2]}, {"section": 1, "joints": [2, 3]}]
    }
  ],
  "loadCases": {"static": [{"name": "TIP", "jointLoads": [{"joint": 3, "values": [0, 0, -10, 0, 0, 0]}]}]}
})";

void ToolRun(benchmark::State& state) {
  const fs::path model = TempPath("tiny.json"), work = TempPath("tiny-run");
  std::ofstream(model) << kTinyModel;
  const std::string tool = Quoted(TAV_TOOL_PROGRAM) + " run " + Quoted(model) + " --solver-dir " +
                           Quoted(fs::path(TAV_SOLVER_PROGRAM).parent_path()) + " --work-dir " + Quoted(work);
  // The tool leaves its input for TaV in the work directory, named as the model.
  const std::string solver = SolverCommand(work / "tav_runs_tiny.tAv", work / "alone.tvo");
  Fastest withTool, alone;
  for (auto _ : state) {
    bool ran = true;
    withTool.Time([&] { ran = Succeeds(tool); });
    if (ran) alone.Time([&] { ran = Succeeds(solver); });
    if (!ran) {
      state.SkipWithError("a run failed");
      break;
    }
  }
  state.counters["tool_s"] = withTool.seconds;
  state.counters["solver_s"] = alone.seconds;
  state.counters["pause_s"] = withTool.seconds - alone.seconds;
  state.counters["ratio"] = alone.seconds > 0 ? withTool.seconds / alone.seconds : 0.0;
  fs::remove_all(work);
  fs::remove(model);
}

// frame_bench's frame: n^3 joints, pushed sideways and loaded downwards.
void BuildFrame(tav::CTavData& doc, int n) {
  tav::bench::AddGridFrame(doc, n, n, n);
  tav::bench::AddSwayAndGravity(doc, n * n);
}

// The free equations' stiffness with every gap closed, as the analysis
// assembles it.
std::vector<tav::analysis::MatrixEntry> FreeStiffness(const tav::analysis::DiscreteModel& model) {
  tav::analysis::PartitionedMatrix stiffness = model.BaseStiffness();
  model.AddLinkStiffness(stiffness, std::vector<char>(model.Elements().Links().size(), 1));
  return stiffness.freeFree;
}

// CHOLMOD's analyse, factorise and solve, for as many right-hand sides as
// load conditions.
void FactorAndSolve(int equations, const std::vector<tav::analysis::MatrixEntry>& matrix, int conditions) {
  tav::analysis::SparseCholesky cholesky;
  int failed = -1;
  cholesky.Factor(equations, matrix, failed);
  std::vector<double> rhs(static_cast<size_t>(equations) * static_cast<size_t>(conditions), 1.0);
  cholesky.Solve(rhs, conditions);
}

void WholeRun(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const fs::path input = TempPath("frame" + std::to_string(n) + ".tAv"), output = TempPath("frame.tvo");
  {
    tav::CTavData doc;
    BuildFrame(doc, n);
    doc.Save(input.string(), tav::TaV_FORMAT_TAV);
  }
  const tav::analysis::InputDeck deck = tav::analysis::ReadInputFile(input.string());
  const tav::analysis::DiscreteModel model(deck, {});
  const std::vector<tav::analysis::MatrixEntry> matrix = FreeStiffness(model);
  const int equations = static_cast<int>(model.Equations());
  const int conditions = static_cast<int>(deck.cases.size());
  Fastest run, cholmod;
  for (auto _ : state) {
    bool ran = true;
    run.Time([&] { ran = Succeeds(SolverCommand(input, output)); });
    if (!ran) {
      state.SkipWithError("TaV failed on the frame");
      break;
    }
    cholmod.Time([&] { FactorAndSolve(equations, matrix, conditions); });
  }
  state.counters["equations"] = equations;
  state.counters["run_s"] = run.seconds;
  state.counters["cholmod_s"] = cholmod.seconds;
  state.counters["ratio"] = cholmod.seconds > 0 ? run.seconds / cholmod.seconds : 0.0;
  fs::remove(input);
  fs::remove(output);
}

}  // namespace

int main(int argc, char** argv) {
  const int side = tav::bench::TakeFullFlag(argc, argv) ? 20 : 10;
  benchmark::RegisterBenchmark("ToolRun", ToolRun)->Iterations(5)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("WholeRun", WholeRun)->Arg(side)->Iterations(3)->Unit(benchmark::kSecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
