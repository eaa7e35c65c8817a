// A Qt host: builds a steel cantilever through the library, writes its own
// solver input into a temporary directory, runs the bundled analysis program
// TaV in the Run Solver window, reads the results back and shows the tip
// deflection next to the closed form P·L³/(3·E·I).
//
//   tav_qt_host [--batch] [SOLVER_DIR]
//
// SOLVER_DIR holds TaV; the default is where this build put it. --batch
// shows no message box and lets the window close by itself once the run
// ends cleanly, so that the program can run unattended. The exit status is
// 0 only when the deflection agrees with the closed form to kTolerance.
#include <tav/Tav.h>
#include <tav/qt/RunSolverInWindow.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

// Relative agreement asked of the analysis: it solves the same beam theory
// as the closed form, so only rounding separates them.
constexpr double kTolerance = 1e-6;

// A 3 m IPE 300 in steel, fixed at x = 0, its web vertical, under a load
// at its tip. kN and m.
struct Cantilever {
  double length = 3.0;
  double tipLoadZ = -10.0;  // downward
  double E = 2.1e8;
  double poisson = 0.3;
  double area = 5.381e-3;
  double strongInertia = 8.356e-5;  // about the horizontal axis: resists the load
  double weakInertia = 6.038e-6;
  double torsion = 2.01e-7;

  double ClosedFormTipDeflection() const { return tipLoadZ * std::pow(length, 3) / (3.0 * E * strongInertia); }
};

// The model's one static case and its tip joint.
struct Model {
  int32_t loadCase;
  int32_t tip;
};

Model BuildCantilever(tav::CTavData& doc, const Cantilever& c) {
  doc.SetTitle("STEEL CANTILEVER");
  const int32_t base = doc.AddJoint(0.0, 0.0, 0.0, true, true, true, true, true, true, -1);
  const int32_t tip = doc.AddJoint(c.length, 0.0, 0.0, -1);
  // No shear areas: the beam bends without shear deformation, as the closed
  // form assumes. A horizontal beam's local 2 axis points up, so IT is the
  // inertia that vertical loads bend.
  tav::CTavGroupElement* steel = doc.AddGroupElement();
  steel->AddSection(c.E, c.poisson, c.weakInertia, c.strongInertia, c.area, 0.0, 0.0, c.torsion, 0.0, 0.0);
  doc.AddBeam(steel, 0, base, tip, 0.0, 0, 0, 0.0, 0.0, 0.0, 0.0);
  // A static case's results are the result case of its own number.
  const int32_t loadCase = doc.GetCountStaticLoad();
  doc.AddLoadStatic("TIP", 0)->AddLoadStatic_Joint(tip, 0.0, 0.0, c.tipLoadZ, 0.0, 0.0, 0.0, 0);
  return {loadCase, tip};
}

// A fresh directory under the system's temporary one, removed with what the
// run wrote into it.
class WorkDirectory {
 public:
  WorkDirectory() {
    std::string pattern = (fs::temp_directory_path() / "tav-qt-host-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a work directory in " + pattern);
    m_path = pattern;
  }
  ~WorkDirectory() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  WorkDirectory(const WorkDirectory&) = delete;
  WorkDirectory& operator=(const WorkDirectory&) = delete;

  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

struct Options {
  bool batch = false;
  fs::path solverDir = TAV_QT_HOST_SOLVER_DIR;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--batch") {
      options.batch = true;
    } else if (!arg.empty() && arg[0] != '-') {
      options.solverDir = arg;
    } else {
      throw std::runtime_error("usage: tav_qt_host [--batch] [SOLVER_DIR]");
    }
  }
  // TaV runs in the work directory, so a relative solver directory is taken
  // from where this program started.
  options.solverDir = fs::absolute(options.solverDir);
  if (!fs::exists(options.solverDir / "TaV")) {
    throw std::runtime_error(options.solverDir.string() + ": no analysis program TaV here");
  }
  return options;
}

// Writes the input, runs TaV in the Run Solver window and reads its results
// into `doc`.
void Analyse(tav::CTavData& doc, const Options& options, const fs::path& workDir) {
  // The bundled program reads every digit, so it gets them all.
  doc.SetRealPrecision(tav::TaV_PRECISION_FULL);
  const std::string input = "cantilever.tAv";
  if (doc.Save((workDir / input).string(), tav::TaV_FORMAT_TAV) != 1) {
    throw std::runtime_error("cannot write " + (workDir / input).string());
  }
  tav::CTavSolverMsgDlg dialog;
  dialog.m_bAutoClose = options.batch ? 1 : 0;
  const int clean = tav::qt::RunSolverInWindow(dialog, [&](tav::CTavSolverMsgDlg& dlg) {
    return dlg.RunSolver(nullptr, workDir.string(), options.solverDir.string(), input, tav::TaV_FORMAT_TAV);
  });
  if (clean != 1) throw std::runtime_error("the analysis reported errors (see the Run Solver window)");
  const fs::path output = workDir / "cantilever.tvo";
  if (tav::CTavImportTavOutput(&doc).LoadData(output.string()) != 1) {
    throw std::runtime_error(output.string() + ": no results (was the window closed before the run ended?)");
  }
}

// The model in one line, then the tip deflection beside the closed form.
std::string Report(const Cantilever& c, double deflection) {
  std::ostringstream text;
  text.precision(10);
  text << "Cantilever: L = " << c.length << " m, E = " << c.E << " kN/m², I = " << c.strongInertia
       << " m⁴, tip load Pz = " << c.tipLoadZ << " kN\n"
       << "Tip deflection uz: TaV " << deflection << " m, P·L³/(3·E·I) " << c.ClosedFormTipDeflection() << " m";
  return text.str();
}

bool Agrees(double value, double expected) { return std::fabs(value - expected) <= kTolerance * std::fabs(expected); }

int Run(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  const Cantilever cantilever;
  tav::CTavData doc;
  const Model model = BuildCantilever(doc, cantilever);
  const WorkDirectory workDir;
  Analyse(doc, options, workDir.Path());

  const double deflection = doc.GetResultValue_Joint_Displacement(model.tip, model.loadCase).z;
  const std::string report = Report(cantilever, deflection);
  std::cout << report << std::endl;
  if (!options.batch) QMessageBox::information(nullptr, "Steel cantilever", QString::fromStdString(report));
  if (Agrees(deflection, cantilever.ClosedFormTipDeflection())) return 0;
  std::cerr << "tav_qt_host: the deflection differs from the closed form by more than " << kTolerance << " relative\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The application before any window: the Run Solver window and the
  // message box share it.
  QApplication app(argc, argv);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "tav_qt_host: " << error.what() << "\n";
    return 1;
  }
}
