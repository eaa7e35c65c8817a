// The commands of the `tav` tool, apart from parsing the command line. Each
// returns the tool's exit status: 0 done, 1 the analysis reported errors, 2
// bad input or usage. Errors are printed to `err` as "FILE: PATH: message";
// no file is left behind by a command that fails.
#pragma once

#include <filesystem>
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
// Writes the bundled example and everything made from it under `directory`.
int DemoCommand(const std::filesystem::path& directory, const RunOptions& options, Streams io);

// The bundled example model (a JSON text).
extern const char* const kDemoModel;

}  // namespace tav::tool
