#include "tool/Commands.h"

#include <functional>
#include <sstream>

#include "tav/Tav.h"
#include "tav/json/ModelJson.h"
#include "tav/plot/HtmlReport.h"
#include "tav/plot/SvgPlot.h"
#include "tav/util/FormatC.h"
#include "tool/Analysis.h"
#include "tool/Failure.h"
#include "tool/Files.h"
#include "tool/InputChecks.h"
#include "tool/Pictures.h"
#include "tool/ReportContent.h"
#include "tool/SectionMasses.h"
#include "tool/Summary.h"
#include "tool/WindowRun.h"

namespace tav::tool {
namespace fs = std::filesystem;
using json::Json;
using json::ModelError;
namespace {

// "/path: message", or the message alone when it is about the whole document.
std::string Where(const ModelError& error) { return (error.Path().empty() ? "" : error.Path() + ": ") + error.what(); }

// Reads and checks a model file completely before building `doc` from it.
void ReadModel(const fs::path& path, CTavData& doc) {
  try {
    json::BuildModel(json::ParseModelText(ReadText(path)), doc);
  } catch (const ModelError& error) {
    Fail(kExitUsage, path.string() + ": " + Where(error));
  }
  // The model file's checks leave nothing for this to find; it stands guard
  // for what the library itself relies on, as it does for archives.
  CString problem;
  if (doc.Validate(&problem) != 1) Fail(kExitUsage, path.string() + ": " + problem);
}

// At most this many findings are listed one by one; the rest are counted.
constexpr size_t kListedFindings = 20;

void PrintWarnings(const fs::path& model, const std::vector<Finding>& findings, Streams io) {
  for (size_t i = 0; i < findings.size() && i < kListedFindings; ++i) {
    io.err << model.string() << ": " << findings[i].path << ": warning: " << findings[i].message << "\n";
  }
  if (findings.size() > kListedFindings) {
    io.err << model.string() << ": warning: " << findings.size() - kListedFindings << " more places like these\n";
  }
}

// What the own solver input in `precision` would lose of the model, as
// warnings: with six digits, every place they change materially.
void WarnOwnInput(CTavData& doc, TaV_REAL_PRECISION precision, const fs::path& model, Streams io) {
  std::vector<Finding> findings = AmbiguousBeamLoads(doc, precision);
  if (precision == TaV_PRECISION_SIX_DIGITS) {
    const std::vector<Finding> rounded = SixDigitFindings(doc);
    findings.insert(findings.begin(), rounded.begin(), rounded.end());
    if (!rounded.empty()) {
      PrintWarnings(model, findings, io);
      io.err << model.string() << ": warning: the own solver input keeps every digit with --precision full, "
             << "which tav run uses\n";
      return;
    }
  }
  PrintWarnings(model, findings, io);
}

// A solver input the tool writes: its name on the command line, the
// library's format and the file's extension.
struct SolverInput {
  const char* name;
  TaV_INPUT_FORMAT format;
  const char* extension;
};
constexpr SolverInput kSolverInputs[] = {
    {"tav", TaV_FORMAT_TAV, ".tAv"}, {"sap", TaV_FORMAT_SAP, ".s2k"}, {"midas", TaV_FORMAT_MIDAS, ".mgt"}};

const SolverInput& FindSolverInput(const std::string& name) {
  for (const SolverInput& input : kSolverInputs) {
    if (name == input.name) return input;
  }
  Fail(kExitUsage, "unknown format \"" + name + "\": use " + ListInWords(SolverInputNames()));
}

struct PrecisionName {
  const char* name;
  TaV_REAL_PRECISION precision;
};
constexpr PrecisionName kPrecisions[] = {{"six", TaV_PRECISION_SIX_DIGITS}, {"full", TaV_PRECISION_FULL}};

TaV_REAL_PRECISION FindPrecision(const std::string& name) {
  for (const PrecisionName& entry : kPrecisions) {
    if (name == entry.name) return entry.precision;
  }
  Fail(kExitUsage, "unknown precision \"" + name + "\": use " + ListInWords(PrecisionNames()));
}

void CountLine(std::ostream& out, const char* what, long count) { out << FormatC("  %-26s %ld\n", what, count); }

void PrintCounts(const CTavData& doc, std::ostream& out) {
  long beamGroups = 0, springGroups = 0, linkGroups = 0, sections = 0, springs = 0, restrained = 0;
  for (int32_t g = 0; g < doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup(); ++g) {
    const CTavGroup& group = *doc.GetGroup(g);
    if (group.GetType() == CTavGroup::kBeam) {
      ++beamGroups;
      sections += static_cast<const CTavGroupElement&>(group).GetCountSection();
    } else if (group.GetType() == CTavGroup::kSpring) {
      ++springGroups;
      springs += static_cast<long>(static_cast<const CTavGroupSpring&>(group).m_arrSpring.size());
    } else {
      ++linkGroups;
    }
  }
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) restrained += doc.GetJoint(j)->m_Restraint.Any() ? 1 : 0;
  const CTavJointConstraints& constraints = *doc.GetConstraint();
  out << "Model \"" << doc.GetTitle() << "\"\n";
  CountLine(out, "joints", doc.GetCountJoint());
  CountLine(out, "restrained joints", restrained);
  CountLine(out, "local systems", doc.GetCountLocalCoord());
  CountLine(out, "diaphragms", constraints.GetCountDiaphragm());
  CountLine(out, "rigid links", constraints.GetCountRigidLink());
  CountLine(out, "functions", doc.GetFunction()->GetCount());
  CountLine(out, "beam groups", beamGroups);
  CountLine(out, "sections", sections);
  CountLine(out, "beams", doc.GetCountBeam());
  CountLine(out, "spring groups", springGroups);
  CountLine(out, "springs", springs);
  CountLine(out, "link groups", linkGroups);
  CountLine(out, "links", doc.GetCountNLLink());
  CountLine(out, "static load cases", doc.GetCountStaticLoad());
  CountLine(out, "history load cases", doc.GetCountHistoryLoad());
  CountLine(out, "response spectrum cases", doc.GetCountResponseSpectrumLoad());
  CountLine(out, "moving load cases", doc.GetCountMovingLoad());
  CountLine(out, "combinations", doc.GetCountComboLoad());
}

void StoreArchive(CTavData& doc, const fs::path& target) {
  CString error;
  if (doc.StoreArchive(target.string(), &error) != 1) Fail(kExitUsage, target.string() + ": " + error);
}

void WriteResults(const CTavData& doc, const fs::path& target, const FailedCases& failed) {
  const bool json = target.extension() == ".json";
  WriteStream(target, [&](std::ostream& out) {
    json ? WriteResultsJson(doc, out, failed) : WriteResultsCsv(doc, out, failed);
  });
}

void CheckResultsName(const fs::path& results) {
  if (!results.empty() && results.extension() != ".json" && results.extension() != ".csv")
    Fail(kExitUsage, results.string() + ": results go to a .json or .csv file");
}

void CheckHistoriesName(const CTavData& doc, const fs::path& histories) {
  if (histories.empty()) return;
  if (histories.extension() != ".csv") Fail(kExitUsage, histories.string() + ": time series go to a .csv file");
  if (doc.GetCountHistoryLoad() == 0)
    Fail(kExitUsage, histories.string() + ": the model has no history load cases, so there are no time series");
}

int Report(const Failure& failure, Streams io) {
  io.err << failure.message << "\n";
  return failure.status;
}

int Guarded(Streams io, const std::function<void()>& command) {
  try {
    command();
    return kExitOk;
  } catch (const Failure& failure) {
    return Report(failure, io);
  } catch (const std::exception& error) {
    return Report({kExitUsage, error.what()}, io);
  }
}

void AddMasses(CTavData& doc, Streams io) {
  io.out << "Joint masses from the beams' sections: " << FormatC("%.6g", AddSectionMasses(doc)) << " in all\n";
}

// The 3D library the report inlines: Debian's libjs-three.
const fs::path kThreeDirectory = "/usr/share/javascript/three";

std::vector<std::string> ThreeScripts() {
  std::vector<std::string> scripts;
  for (const char* file : {"three.min.js", "examples/js/controls/OrbitControls.js"}) {
    const fs::path path = kThreeDirectory / file;
    if (!fs::exists(path)) Fail(kExitUsage, path.string() + ": the report's 3D view needs libjs-three");
    scripts.push_back(ReadText(path));
  }
  return scripts;
}

void WriteReport(CTavData& doc, const FailedCases& failed, const fs::path& target) {
  std::ostringstream model, results;
  PrintCounts(doc, model);
  WriteSummary(doc, results, failed);
  const plot::ReportContent content = ReportOf(doc, model.str(), results.str(), failed, ThreeScripts());
  WriteStream(target, [&](std::ostream& out) { out << plot::BuildHtmlReport(content); });
}

void CheckReportName(const fs::path& report) {
  if (!report.empty() && report.extension() != ".html")
    Fail(kExitUsage, report.string() + ": the report goes to a .html file");
}

void RunModel(CTavData& doc, const fs::path& model, RunOptions options, Streams io) {
  CheckResultsName(options.results);
  CheckReportName(options.report);
  CheckHistoriesName(doc, options.histories);
  if (options.gui && !CanShowWindows()) Fail(kExitUsage, "--gui: this tav was built without Qt 6 and shows no windows");
  if (options.sectionMasses) AddMasses(doc, io);
  if (options.workDir.empty()) options.workDir = model.parent_path() / (model.stem().string() + "-run");
  const FailedCases failed = Analyse(doc, model, options, io);
  WriteSummary(doc, io.out, failed);
  if (!options.results.empty()) {
    WriteResults(doc, options.results, failed);
    io.out << "\nEvery result value: " << options.results.string() << "\n";
  }
  if (!options.histories.empty()) {
    WriteStream(options.histories, [&](std::ostream& out) { WriteHistoriesCsv(doc, out, failed); });
    io.out << "\nTime series of the history cases: " << options.histories.string() << "\n";
  }
  if (!options.report.empty()) {
    WriteReport(doc, failed, options.report);
    io.out << "\nReport: " << options.report.string() << "\n";
  }
  if (!failed.empty()) {
    Fail(kExitAnalysis, "the analysis could not solve " + std::to_string(failed.size()) +
                            (failed.size() == 1 ? " load case" : " load cases") +
                            " (see the lines above); the results of the others are shown");
  }
}

std::string DrawPicture(CTavData& doc, const fs::path& model, const PlotOptions& options, Streams io) {
  plot::PlotStyle style;
  style.width = options.width;
  style.height = options.height;
  style.jointNumbers = options.jointNumbers;
  style.beamNumbers = options.beamNumbers;
  style.localAxes = options.localAxes;
  const plot::PlotView view = ViewOf(options);
  if (options.results.empty())
    return plot::DrawFrame(FrameOf(doc, StaticCaseNamed(doc, options.loadCase)), view, style);
  ImportResults(doc, options.results, InputStem(model), io);
  const std::optional<plot::ForceComponent> component = ComponentNamed(options.component);
  if (!component && options.mode == 0)
    Fail(kExitUsage, options.component + ": the diagrams are " + ListInWords(ComponentNames()));
  return plot::DrawResult(FrameOf(doc, -1), ResultToDraw(doc, options, component.value_or(plot::ForceComponent::kM3)),
                          view, style);
}

}  // namespace

std::vector<std::string> SolverInputNames() {
  std::vector<std::string> names;
  for (const SolverInput& input : kSolverInputs) names.emplace_back(input.name);
  return names;
}

std::vector<std::string> PrecisionNames() {
  std::vector<std::string> names;
  for (const PrecisionName& entry : kPrecisions) names.emplace_back(entry.name);
  return names;
}

std::string ListInWords(const std::vector<std::string>& names) {
  std::string list;
  for (size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  }
  return list;
}

int CheckCommand(const fs::path& model, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    ReadModel(model, doc);
    PrintCounts(doc, io.out);
    WarnOwnInput(doc, TaV_PRECISION_SIX_DIGITS, model, io);
  });
}

int WriteCommand(const fs::path& model, const std::string& formatName, const std::string& precisionName,
                 fs::path output, bool sectionMasses, Streams io) {
  return Guarded(io, [&] {
    const SolverInput& format = FindSolverInput(formatName);
    const TaV_REAL_PRECISION precision = FindPrecision(precisionName);
    if (precision == TaV_PRECISION_FULL && format.format != TaV_FORMAT_TAV)
      Fail(kExitUsage, "--precision full is for the tav format only");
    CTavData doc;
    ReadModel(model, doc);
    doc.SetRealPrecision(precision);
    if (sectionMasses) AddMasses(doc, io);
    if (format.format == TaV_FORMAT_TAV) WarnOwnInput(doc, precision, model, io);
    if (output.empty()) output = fs::path(model).replace_extension(format.extension);
    WriteSolverInput(doc, format.format, output);
    io.out << "Wrote " << output.string() << "\n";
  });
}

int RunCommand(const fs::path& model, RunOptions options, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    ReadModel(model, doc);
    RunModel(doc, model, std::move(options), io);
  });
}

int PlotCommand(const fs::path& model, const PlotOptions& options, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    ReadModel(model, doc);
    const std::string svg = DrawPicture(doc, model, options, io);
    const fs::path output =
        options.output.empty() ? model.parent_path() / (model.stem().string() + ".svg") : options.output;
    WriteStream(output, [&](std::ostream& out) { out << svg; });
    io.out << "Picture " << output.string() << "\n";
  });
}

int ReportCommand(const fs::path& model, RunOptions options, const fs::path& output, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    ReadModel(model, doc);
    options.report = output;
    RunModel(doc, model, std::move(options), io);
  });
}

int SaveCommand(const fs::path& model, const fs::path& output, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    ReadModel(model, doc);
    StoreArchive(doc, output);
    io.out << "Wrote " << output.string() << "\n";
  });
}

int LoadCommand(const fs::path& archive, const fs::path& output, Streams io) {
  return Guarded(io, [&] {
    CTavData doc;
    CString error;
    if (doc.LoadArchive(archive.string(), &error) != 1) Fail(kExitUsage, archive.string() + ": " + error);
    Json model;
    // The archive's values and cross-references are checked as a model file's would be.
    try {
      model = json::ModelToJson(doc);
      CTavData check;
      json::BuildModel(model, check);
    } catch (const ModelError& problem) {
      Fail(kExitUsage, archive.string() + ": the archive holds a model that cannot be used: " + Where(problem));
    }
    WriteStream(output, [&](std::ostream& out) { out << model.dump(2) << "\n"; });
    io.out << "Wrote " << output.string() << "\n";
  });
}

int DemoCommand(const fs::path& directory, const RunOptions& options, Streams io) {
  return Guarded(io, [&] {
    std::error_code code;
    fs::create_directories(directory, code);
    if (code) Fail(kExitUsage, directory.string() + ": cannot create: " + code.message());
    const fs::path model = directory / "building.json";
    WriteStream(model, [](std::ostream& out) { out << kDemoModel; });
    io.out << "The bundled example, a three-storey frame with a diaphragm per floor: " << model.string() << "\n\n";

    CTavData doc;
    ReadModel(model, doc);
    PrintCounts(doc, io.out);
    io.out << "\n";
    for (const SolverInput& format : kSolverInputs) {
      const fs::path target = directory / (std::string("building") + format.extension);
      WriteSolverInput(doc, format.format, target);
      io.out << "Solver input (" << format.name << "): " << target.string() << "\n";
    }
    const fs::path archive = directory / "building.tavdoc";
    StoreArchive(doc, archive);
    io.out << "Archive: " << archive.string() << "\n\n";

    RunOptions run = options;
    run.workDir = directory / "run";
    run.results = directory / "results.csv";
    run.report = directory / "report.html";
    RunModel(doc, model, run, io);
    io.out << "\nEverything is under " << fs::absolute(directory).string() << "\n";
  });
}

}  // namespace tav::tool
