// tav: structural frame models in JSON files, turned into solver inputs,
// analyses and results.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "tool/Commands.h"

namespace {

using tav::tool::kExitOk;
using tav::tool::kExitUsage;
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

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Structural frame models: solver inputs, analyses and results from a JSON model file.\n"
      "Exit status: 0 done, 1 the analysis reported errors, 2 bad input or usage."};
  app.set_version_flag("--version", "tav " TAV_VERSION);
  app.require_subcommand(1);
  Arguments args;

  CLI::App* check = app.add_subcommand("check", "Validate a model and print what it holds");
  check->add_option("MODEL", args.model, "JSON model file")->required();

  CLI::App* write = app.add_subcommand("write", "Write a solver input file");
  write->add_option("MODEL", args.model, "JSON model file")->required();
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

  CLI::App* run = app.add_subcommand("run", "Analyse a model with the bundled program and summarise the results");
  run->add_option("MODEL", args.model, "JSON model file")->required();
  AddRunOptions(*run, args);
  run->add_option("--results", args.run.results, "Write every result value to FILE.json or FILE.csv");
  run->add_option("--history", args.run.histories,
                  "Write the time series of every history case to FILE.csv: one row per case and time step, each "
                  "joint's displacements and each supported joint's reactions");
  run->add_option("--report", args.run.report, "Write an HTML report with pictures and a 3D view to FILE.html");
  run->add_flag("--gui", args.run.gui, "Run the analysis in the Run Solver window and show the summary there");
  AddSectionMassesFlag(*run, args);

  CLI::App* plot = app.add_subcommand("plot", "Draw the model, or a run's results, as an SVG picture");
  plot->add_option("MODEL", args.model, "JSON model file")->required();
  AddPlotOptions(*plot, args.plot);

  CLI::App* report =
      app.add_subcommand("report", "Analyse a model and write one HTML file: summary, pictures and a 3D view");
  report->add_option("MODEL", args.model, "JSON model file")->required();
  report->add_option("-o,--output", args.output, "HTML file to write")->required();
  AddRunOptions(*report, args);
  AddSectionMassesFlag(*report, args);

  CLI::App* save = app.add_subcommand("save", "Store a model in the library's archive");
  save->add_option("MODEL", args.model, "JSON model file")->required();
  save->add_option("-o,--output", args.output, "Archive to write (MODEL.tavdoc)")->required();

  CLI::App* load = app.add_subcommand("load", "Write an archived model as a JSON model file");
  load->add_option("ARCHIVE", args.model, "Archive written by save")->required();
  load->add_option("-o,--output", args.output, "JSON model file to write")->required();

  CLI::App* demo = app.add_subcommand("demo", "Run everything on the bundled example and show where the files went");
  demo->add_option("-d,--directory", args.demoDir, "Directory for the example's files")->capture_default_str();
  AddRunOptions(*demo, args);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitOk : kExitUsage;
  }

  args.run.color = ::isatty(STDOUT_FILENO) != 0;
  const tav::tool::Streams io{std::cout, std::cerr};
  if (check->parsed()) return tav::tool::CheckCommand(args.model, io);
  if (write->parsed())
    return tav::tool::WriteCommand(args.model, args.format, args.precision, args.output, args.run.sectionMasses, io);
  if (run->parsed()) return tav::tool::RunCommand(args.model, args.run, io);
  if (plot->parsed()) return tav::tool::PlotCommand(args.model, args.plot, io);
  if (report->parsed()) return tav::tool::ReportCommand(args.model, args.run, args.output, io);
  if (save->parsed()) return tav::tool::SaveCommand(args.model, args.output, io);
  if (load->parsed()) return tav::tool::LoadCommand(args.model, args.output, io);
  return tav::tool::DemoCommand(args.demoDir, args.run, io);
}
