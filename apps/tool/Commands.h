// The commands of the `tav` tool, apart from parsing the command line. Each
// returns the tool's exit status: 0 done, 1 the analysis reported errors, 2
// bad input or usage. Errors are printed to `err` as "FILE: PATH: message";
// no file is left behind by a command that fails.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tav::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitAnalysis = 1;
inline constexpr int kExitUsage = 2;

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

struct RunOptions {
  std::filesystem::path solverDir;  // empty: beside the tool (../solvers, then ../libexec/tav)
  std::filesystem::path workDir;    // empty: <model dir>/<model stem>-run
  std::filesystem::path results;    // empty: none; otherwise .json or .csv
  std::filesystem::path histories;  // empty: none; otherwise a .csv of the history cases' time series
  bool color = false;               // paint the solver's lines green
  bool sectionMasses = false;       // add the joint masses of the beams' sections (SectionMasses.h)
  std::filesystem::path report;     // empty: none; otherwise the HTML report (ReportCommand)
  bool gui = false;                 // run in the Run Solver window and show the summary there
};

struct PlotOptions {
  std::filesystem::path output;   // empty: MODEL with the extension .svg
  std::string view = "iso";       // iso, xz, yz or xy
  std::optional<double> azimuth;  // degrees; with elevation, instead of the named view
  std::optional<double> elevation;
  std::string loadCase;           // the case drawn: its loads, or its results; empty: the first
  std::filesystem::path results;  // a run's directory: draw its results instead of the model
  std::string component = "M3";   // the member-force diagram of a result
  int mode = 0;                   // draw this mode (from 1) of the run's results instead of a case
  bool jointNumbers = false;
  bool beamNumbers = false;
  bool localAxes = false;
  int width = 800;
  int height = 600;
};

// The solver inputs `write` offers, by the names it takes ("tav", "sap",
// "midas"), and the precisions of the tav format ("six", "full").
std::vector<std::string> SolverInputNames();
std::vector<std::string> PrecisionNames();
// Names as a list in words: "tav, sap or midas".
std::string ListInWords(const std::vector<std::string>& names);

int CheckCommand(const std::filesystem::path& model, Streams io);
// `format` is tav, sap or midas; `precision` six (as "%g") or full (tav
// only); an empty `output` puts the file beside the model with the format's
// extension. `check` and `write` warn on standard error where the own solver
// input would lose something of the model.
// `sectionMasses` adds the joint masses of the beams' sections first.
int WriteCommand(const std::filesystem::path& model, const std::string& format, const std::string& precision,
                 std::filesystem::path output, bool sectionMasses, Streams io);
int RunCommand(const std::filesystem::path& model, RunOptions options, Streams io);
int SaveCommand(const std::filesystem::path& model, const std::filesystem::path& output, Streams io);
int LoadCommand(const std::filesystem::path& archive, const std::filesystem::path& output, Streams io);
// Draws the model, or a result of an earlier `run` (options.results), as SVG.
int PlotCommand(const std::filesystem::path& model, const PlotOptions& options, Streams io);
// Analyses the model as `run` does and writes `output`, one HTML file with
// the summary, pictures and a 3D view of the frame and its deformed shapes.
int ReportCommand(const std::filesystem::path& model, RunOptions options, const std::filesystem::path& output,
                  Streams io);
// Writes the bundled example and everything made from it under `directory`.
int DemoCommand(const std::filesystem::path& directory, const RunOptions& options, Streams io);

// The bundled example model (a JSON text).
extern const char* const kDemoModel;

}  // namespace tav::tool
