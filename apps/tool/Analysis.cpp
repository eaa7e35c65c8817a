#include "tool/Analysis.h"

#include <regex>
#include <sstream>
#include <vector>

#include "console/ConsoleFrontEnd.h"
#include "tav/platform/Process.h"
#include "tav/results/TavImportTavResponses.h"
#include "tool/Failure.h"
#include "tool/Files.h"
#include "tool/InputChecks.h"
#include "tool/Summary.h"
#include "tool/WindowRun.h"

namespace tav::tool {
namespace fs = std::filesystem;
namespace {

// The directory of the running program.
fs::path ProgramDir() {
  const CString self = process::ProgramPath();
  return self.empty() ? fs::current_path() : fs::path(self).parent_path();
}

fs::path DefaultSolverDir() {
  const fs::path here = ProgramDir();
  for (const fs::path& candidate : {here / ".." / "solvers", here / ".." / "libexec" / "tav"}) {
    if (fs::exists(candidate / "TaV")) return fs::weakly_canonical(candidate);
  }
  Fail(kExitUsage, "cannot find the analysis program TaV beside " + here.string() + ": give --solver-dir");
}

// The solver's command line is split at blanks, so its names must have none.
void RequireNoBlank(const fs::path& path, const char* what) {
  if (path.string().find_first_of(" \t") != std::string::npos)
    Fail(kExitUsage, std::string(what) + " \"" + path.string() + "\" contains a blank, which the solver cannot take");
}

// Where the load cases of one kind lie in the result store.
struct StoreRange {
  int32_t first = 0;
  int32_t count = 0;
};

// `kind` in the words that name it in the analysis's lines, lower case.
StoreRange CasesOfKind(const CTavData& doc, const std::string& kind) {
  const int32_t statics = doc.GetCountStaticLoad(), histories = doc.GetCountHistoryLoad();
  const int32_t spectra = doc.GetCountResponseSpectrumLoad();
  if (kind == "static") return {0, statics};
  if (kind == "history") return {statics, histories};
  if (kind == "moving") return {statics + histories + spectra, doc.GetCountMovingLoad()};
  return {statics + histories, spectra};
}

// The load cases that error lines of the analysis name ("static load
// condition 2: ...", "moving load condition 1: ..."), each with its line.
FailedCases NamedCases(const CTavData& doc, const std::vector<std::string>& errors) {
  static const std::regex kCase("(static|history|response spectrum|moving) load condition ([0-9]+)", std::regex::icase);
  FailedCases named;
  for (const std::string& line : errors) {
    std::smatch match;
    if (!std::regex_search(line, match, kCase)) continue;
    const long number = std::strtol(match[2].str().c_str(), nullptr, 10);
    std::string kind = match[1].str();
    for (char& ch : kind) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const StoreRange cases = CasesOfKind(doc, kind);
    if (number >= 1 && number <= cases.count) named.emplace(cases.first + static_cast<int32_t>(number - 1), line);
  }
  return named;
}

// Reads the envelopes and time series of the history and moving cases when
// the analysis wrote them; before the output, whose combinations take them.
void ImportResponses(CTavData& doc, const fs::path& responses, Streams io) {
  if (!fs::exists(responses)) return;
  CString problem;
  if (CTavImportTavResponses(&doc).LoadData(responses.string(), &problem) != 1) Fail(kExitAnalysis, problem);
  io.out << "Responses " << responses.string() << "\n";
}

}  // namespace

std::string InputStem(const fs::path& model) {
  std::string stem = model.stem().string();
  for (char& ch : stem) {
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '-' && ch != '_') ch = '_';
  }
  return stem.empty() ? "model" : stem;
}

void ImportResults(CTavData& doc, const fs::path& directory, const std::string& stem, Streams io) {
  const fs::path output = directory / (stem + ".tvo");
  if (!fs::exists(output)) Fail(kExitUsage, output.string() + ": no results here; run the model first");
  // An envelope holds its terms' extremes, not zero with them.
  doc.SetEnvelopeStart(TaV_ENVELOPE_FROM_FIRST_TERM);
  ImportResponses(doc, directory / (stem + ".tvh"), io);
  CTavImportTavOutput reader(&doc);
  if (reader.LoadData(output.string()) != 1) Fail(kExitAnalysis, output.string() + ": cannot read the results");
  io.out << "Results " << output.string() << "\n";
  const fs::path modes = directory / (stem + ".tvm");
  if (fs::exists(modes)) {
    CString problem;
    if (CTavImportTavModes(&doc).LoadData(modes.string(), &problem) != 1) Fail(kExitAnalysis, problem);
    io.out << "Modes " << modes.string() << "\n";
  }
}

namespace {

// Imports the results of a run whose lines the dialog holds; `clean` when
// no error line appeared. When the analysis failed for some load cases only,
// it still wrote the results of the others: they are imported and the failed
// ones returned.
FailedCases ImportRun(CTavData& doc, bool clean, const CColorListBox& lines, const fs::path& workDir,
                      const std::string& stem, Streams io) {
  const fs::path output = workDir / (stem + ".tvo");
  FailedCases failed;
  if (!clean) {
    std::vector<std::string> errors;
    for (int i = 0; i < lines.GetCount(); ++i) {
      if (lines.GetText(i).find("* E R R O R *") != CString::npos) errors.push_back(lines.GetText(i));
    }
    // Results exist only when the program could solve the rest.
    failed = NamedCases(doc, errors);
    if (failed.empty() || !fs::exists(output)) Fail(kExitAnalysis, "the analysis reported errors; see the lines above");
  }
  if (!fs::exists(output)) Fail(kExitAnalysis, output.string() + ": the analysis wrote no results");
  ImportResults(doc, workDir, stem, io);
  return failed;
}

// The lines of `text`, without their ends.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The run in the Run Solver window: the results are imported as soon as the
// solver is done, and their summary shows in the window below its lines.
FailedCases AnalyseInWindow(CTavData& doc, const DialogRun& solve, const fs::path& workDir, const std::string& stem,
                            Streams io) {
  std::optional<FailedCases> failed;
  RunInWindow(solve, [&](const CTavSolverMsgDlg& dialog) {
    failed = ImportRun(doc, dialog.m_bError == 0, dialog.GetMessageList(), workDir, stem, io);
    std::ostringstream summary;
    WriteSummary(doc, summary, *failed);
    return LinesOf(summary.str());
  });
  if (!failed) Fail(kExitAnalysis, "the Run Solver window was closed before the analysis ended");
  return *failed;
}

}  // namespace

FailedCases Analyse(CTavData& doc, const fs::path& model, const RunOptions& options, Streams io) {
  // The program runs in the work directory: a relative solver directory is
  // the user's, taken from where the tool started.
  const fs::path solverDir = fs::absolute(options.solverDir.empty() ? DefaultSolverDir() : options.solverDir);
  if (!fs::exists(solverDir / "TaV")) Fail(kExitUsage, solverDir.string() + ": no analysis program TaV here");
  RequireNoBlank(solverDir, "solver directory");
  std::error_code code;
  fs::create_directories(options.workDir, code);
  if (code) Fail(kExitUsage, options.workDir.string() + ": cannot create: " + code.message());

  // The bundled program reads every digit, so it gets them all.
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  const std::vector<Finding> ambiguous = AmbiguousBeamLoads(doc, TaV_PRECISION_FULL);
  if (!ambiguous.empty()) Fail(kExitUsage, model.string() + ": " + ambiguous[0].path + ": " + ambiguous[0].message);
  const std::string stem = InputStem(model);
  const fs::path input = options.workDir / (stem + ".tAv");
  WriteSolverInput(doc, TaV_FORMAT_TAV, input);
  // No stale results from an earlier run.
  fs::remove(options.workDir / (stem + ".tvo"), code);
  fs::remove(options.workDir / (stem + ".tvm"), code);
  fs::remove(options.workDir / (stem + ".tvh"), code);
  io.out << "Solver input " << input.string() << "\n";

  const DialogRun solve = [&](CTavSolverMsgDlg& dialog) {
    return dialog.RunSolver(nullptr, options.workDir.string(), solverDir.string(), stem + ".tAv", TaV_FORMAT_TAV);
  };
  if (options.gui) return AnalyseInWindow(doc, solve, options.workDir, stem, io);
  console::ConsoleFrontEnd frontEnd(io.out, io.err, options.color);
  CTavSolverMsgDlg dialog;
  dialog.SetFrontEnd(&frontEnd);
  const int verdict = solve(dialog);
  if (frontEnd.Interrupted()) Fail(kExitAnalysis, "the analysis was interrupted");
  return ImportRun(doc, verdict == 1, dialog.GetMessageList(), options.workDir, stem, io);
}

}  // namespace tav::tool
