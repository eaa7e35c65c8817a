// tav: structural frame models in JSON files, turned into solver inputs,
// analyses and results.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>
#include <vector>

#include "tool/Commands.h"

namespace {

using tav::tool::kExitOk;
using tav::tool::kExitUsage;
using tav::tool::Streams;
namespace fs = std::filesystem;

struct Arguments {
  fs::path model;
  fs::path output;
  std::string format = "tav";
  std::string precision = tav::tool::PrecisionNames().front();
  tav::tool::RunOptions run;
  tav::tool::PlotOptions plot;
  fs::path demoDir = "tav-demo";
};

void AddRunOptions(CLI::App& command, Arguments& args) {
  command.add_option("--solver-dir", args.run.solverDir, "Directory of the analysis program TaV")
      ->check(CLI::ExistingDirectory);
  command.add_option("--work-dir", args.run.workDir,
                     "Directory for the solver input and output (default: MODEL's directory / MODEL-run)");
}

void AddSectionMassesFlag(CLI::App& command, Arguments& args) {
  command.add_flag("--section-masses", args.run.sectionMasses,
                   "Add joint masses from the beams' sections: W x area x length per beam, half to each joint, "
                   "along X, Y and Z (W taken as mass per unit volume)");
}

void AddPlotOptions(CLI::App& command, tav::tool::PlotOptions& plot) {
  command.add_option("-o,--output", plot.output, "SVG file to write (default: MODEL with the extension .svg)");
  command.add_option("--view", plot.view, "iso, xz (X right, Z up), yz or xy (plan)")->capture_default_str();
  command.add_option("--azimuth", plot.azimuth, "Seen from this angle about Z, from X, in degrees (with --elevation)");
  command.add_option("--elevation", plot.elevation, "Seen from this angle above the XY plane, in degrees");
  command.add_option("--case", plot.loadCase,
                     "The load case whose loads are drawn, or with --results the case or combination whose results "
                     "are (default: the first)");
  command.add_option("--results", plot.results, "A run's directory (MODEL-run after `tav run`): draw its results")
      ->check(CLI::ExistingDirectory);
  command.add_option("--diagram", plot.component, "Member-force diagram of a result: N, V2, V3, T, M2 or M3")
      ->capture_default_str();
  command.add_option("--mode", plot.mode, "With --results: draw this mode's shape (from 1)")
      ->check(CLI::PositiveNumber);
  command.add_flag("--joint-numbers", plot.jointNumbers, "Number the joints");
  command.add_flag("--beam-numbers", plot.beamNumbers, "Number the beams");
  command.add_flag("--axes", plot.localAxes, "Draw each beam's local axes 1, 2 and 3");
  command.add_option("--width", plot.width, "Picture width in pixels")
      ->check(CLI::Range(100, 10000))
      ->capture_default_str();
  command.add_option("--height", plot.height, "Picture height in pixels")
      ->check(CLI::Range(100, 10000))
      ->capture_default_str();
}

// A command and what it does once the command line is read.
struct Command {
  CLI::App* app;
  std::function<int(const Arguments&, Streams)> handler;
};

CLI::App* AddModelCommand(CLI::App& app, Arguments& args, const std::string& name, const std::string& description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("MODEL", args.model, "JSON model file")->required();
  return command;
}

CLI::App* AddWriteCommand(CLI::App& app, Arguments& args) {
  CLI::App* write = AddModelCommand(app, args, "write", "Write a solver input file");
  write->add_option("--format", args.format, tav::tool::ListInWords(tav::tool::SolverInputNames()))
      ->check(CLI::IsMember(tav::tool::SolverInputNames()))
      ->capture_default_str();
  write
      ->add_option("--precision", args.precision,
                   "Reals of the tav format: six (significant digits, as every reader of the format expects) or "
                   "full (each the shortest text that reads back exactly; the bundled program reads it)")
      ->check(CLI::IsMember(tav::tool::PrecisionNames()))
      ->capture_default_str();
  write->add_option("-o,--output", args.output, "Output file (default: MODEL with the format's extension)");
  AddSectionMassesFlag(*write, args);
  return write;
}

CLI::App* AddRunCommand(CLI::App& app, Arguments& args) {
  CLI::App* run =
      AddModelCommand(app, args, "run", "Analyse a model with the bundled program and summarise the results");
  AddRunOptions(*run, args);
  run->add_option("--results", args.run.results, "Write every result value to FILE.json or FILE.csv");
  run->add_option("--history", args.run.histories,
                  "Write the time series of every history case to FILE.csv: one row per case and time step, each "
                  "joint's displacements and each supported joint's reactions");
  run->add_option("--report", args.run.report, "Write an HTML report with pictures and a 3D view to FILE.html");
  run->add_flag("--gui", args.run.gui, "Run the analysis in the Run Solver window and show the summary there");
  AddSectionMassesFlag(*run, args);
  return run;
}

CLI::App* AddReportCommand(CLI::App& app, Arguments& args) {
  CLI::App* report =
      AddModelCommand(app, args, "report", "Analyse a model and write one HTML file: summary, pictures and a 3D view");
  report->add_option("-o,--output", args.output, "HTML file to write")->required();
  AddRunOptions(*report, args);
  AddSectionMassesFlag(*report, args);
  return report;
}

CLI::App* AddDemoCommand(CLI::App& app, Arguments& args) {
  CLI::App* demo = app.add_subcommand("demo", "Run everything on the bundled example and show where the files went");
  demo->add_option("-d,--directory", args.demoDir, "Directory for the example's files")->capture_default_str();
  AddRunOptions(*demo, args);
  return demo;
}

CLI::App* AddPlotCommand(CLI::App& app, Arguments& args) {
  CLI::App* plot = AddModelCommand(app, args, "plot", "Draw the model, or a run's results, as an SVG picture");
  AddPlotOptions(*plot, args.plot);
  return plot;
}

CLI::App* AddSaveCommand(CLI::App& app, Arguments& args) {
  CLI::App* save = AddModelCommand(app, args, "save", "Store a model in the library's archive");
  save->add_option("-o,--output", args.output, "Archive to write (MODEL.tavdoc)")->required();
  return save;
}

CLI::App* AddLoadCommand(CLI::App& app, Arguments& args) {
  CLI::App* load = app.add_subcommand("load", "Write an archived model as a JSON model file");
  load->add_option("ARCHIVE", args.model, "Archive written by save")->required();
  load->add_option("-o,--output", args.output, "JSON model file to write")->required();
  return load;
}

// The commands in the order the help lists them.
std::vector<Command> AddCommands(CLI::App& app, Arguments& args) {
  namespace tool = tav::tool;
  return {
      {AddModelCommand(app, args, "check", "Validate a model and print what it holds"),
       [](const Arguments& a, Streams io) { return tool::CheckCommand(a.model, io); }},
      {AddWriteCommand(app, args),
       [](const Arguments& a, Streams io) {
         return tool::WriteCommand(a.model, a.format, a.precision, a.output, a.run.sectionMasses, io);
       }},
      {AddRunCommand(app, args), [](const Arguments& a, Streams io) { return tool::RunCommand(a.model, a.run, io); }},
      {AddPlotCommand(app, args),
       [](const Arguments& a, Streams io) { return tool::PlotCommand(a.model, a.plot, io); }},
      {AddReportCommand(app, args),
       [](const Arguments& a, Streams io) { return tool::ReportCommand(a.model, a.run, a.output, io); }},
      {AddSaveCommand(app, args),
       [](const Arguments& a, Streams io) { return tool::SaveCommand(a.model, a.output, io); }},
      {AddLoadCommand(app, args),
       [](const Arguments& a, Streams io) { return tool::LoadCommand(a.model, a.output, io); }},
      {AddDemoCommand(app, args),
       [](const Arguments& a, Streams io) { return tool::DemoCommand(a.demoDir, a.run, io); }},
  };
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Structural frame models: solver inputs, analyses and results from a JSON model file.\n"
      "Exit status: 0 done, 1 the analysis reported errors, 2 bad input or usage."};
  app.set_version_flag("--version", "tav " TAV_VERSION);
  app.require_subcommand(1);
  Arguments args;
  const std::vector<Command> commands = AddCommands(app, args);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitOk : kExitUsage;
  }
  args.run.color = ::isatty(STDOUT_FILENO) != 0;
  for (const Command& command : commands) {
    if (command.app->parsed()) return command.handler(args, Streams{std::cout, std::cerr});
  }
  return kExitUsage;  // one command is required, so one was parsed
}
