// The built `tav` program on the example models and on broken ones: what it
// prints, the files it writes (and does not write), and its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "json/DocumentedModel.h"
#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/json/ModelJson.h"

namespace tav {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Example(const std::string& name) { return std::string(TAV_EXAMPLES_DIR) + "/" + name + ".json"; }

// What a run printed, its times (which change from run to run) as "#".
std::string TimesMasked(const std::string& out) {
  return std::regex_replace(out, std::regex(R"([0-9]+\.[0-9]+ (S|GFLOP/S)\b)"), "# $1");
}

const char* const kExamples[] = {"portal",      "continuous-beam", "building",     "springs-gaps",
                                 "water-tower", "ground-motion",   "bridge-girder"};

// Each test has a directory of its own, in which the tool starts as a user
// would start it there.
class TavToolTest : public testing::Test {
 protected:
  // Runs the tool with `args`, its output caught in two files that go again.
  Outcome Tav(const std::vector<std::string>& args) const {
    std::string command = "cd '" + dir.Path().string() + "' && '" TAV_TOOL "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    const int status = std::system((command + " >.stdout 2>.stderr").c_str());
    const Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFileBytes(dir.File(".stdout")),
                          test::ReadFileBytes(dir.File(".stderr"))};
    fs::remove(dir.File(".stdout"));
    fs::remove(dir.File(".stderr"));
    return outcome;
  }
  // `tav run` of `model` with the analysis program built in this tree.
  Outcome Run(const std::string& model, std::vector<std::string> options = {}) const {
    options.insert(options.begin(), {"run", model, "--solver-dir", TAV_SOLVER_DIR});
    return Tav(options);
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir.File(name), std::ios::binary) << text;
  }
  // The files in the directory, for telling that a failed command wrote nothing.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The result cases a run wrote to the JSON file `name`.
  json::Json ResultCases(const std::string& name) const {
    return json::Json::parse(test::ReadFileBytes(dir.File(name)))["cases"];
  }

  test::TempDir dir;
};

TEST_F(TavToolTest, WriteDefaultsToTheModelsNameBesideIt) {
  fs::copy_file(Example("portal"), dir.File("frame.json"));
  const Outcome outcome = Tav({"write", "frame.json", "--format", "midas"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_THAT(outcome.out, HasSubstr("frame.mgt"));
  EXPECT_TRUE(test::MatchesGolden("tool/portal.mgt", test::ReadFileBytes(dir.File("frame.mgt"))));
}

// Each example writes its golden inputs. The examples and the documented
// model, which uses every key, come back through save and load as the same
// model, which writes the same inputs.
TEST_F(TavToolTest, EveryModelWritesItsInputsAndComesBackThroughTheArchive) {
  Write("documented.json", test::DocumentedModel());
  std::vector<std::pair<std::string, std::string>> models = {{dir.File("documented.json"), ""}};  // model, golden
  for (const char* example : kExamples) models.emplace_back(Example(example), example);
  for (const auto& [model, golden] : models) {
    SCOPED_TRACE(model);
    ASSERT_EQ(Tav({"save", model, "-o", "m.tavdoc"}).status, 0);
    const Outcome load = Tav({"load", "m.tavdoc", "-o", "m.json"});
    ASSERT_EQ(load.status, 0) << load.err;
    CTavData doc;
    json::BuildModel(json::ParseModelText(test::ReadFileBytes(model)), doc);
    EXPECT_EQ(json::ParseModelText(test::ReadFileBytes(dir.File("m.json"))), json::ModelToJson(doc));

    for (const auto& [format, extension] : {std::pair{"tav", ".tAv"}, {"sap", ".s2k"}, {"midas", ".mgt"}}) {
      const Outcome written = Tav({"write", model, "--format", format, "-o", "a"});
      ASSERT_EQ(written.status, 0) << format << ": " << written.err;
      ASSERT_EQ(Tav({"write", "m.json", "--format", format, "-o", "b"}).status, 0);
      const std::string input = test::ReadFileBytes(dir.File("a"));
      if (!golden.empty()) {
        EXPECT_TRUE(test::MatchesGolden("tool/" + golden + extension, input));
      }
      EXPECT_EQ(test::ReadFileBytes(dir.File("b")), input) << format;
    }
  }
}

// Where each mistake is reported is the JSON model's own test
// (tests/json); here every command prints it after the file's name.
TEST_F(TavToolTest, BrokenModelsAreReportedWithTheirPathAndWriteNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"joints": [}")", "model.json: not valid JSON: parse error at line 1, column 13"},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0}], "masses": [{"joint": 2, "values": [1, 1, 1, 0, 0, 0]}]})",
       "model.json: /masses/0/joint: joint 2 does not exist (there are 1)"},
  };
  for (const auto& [model, message] : cases) {
    Write("model.json", model);
    for (const auto& command :
         std::vector<std::vector<std::string>>{{"check", "model.json"},
                                               {"write", "model.json", "-o", "out.tAv"},
                                               {"save", "model.json", "-o", "out.tavdoc"},
                                               {"run", "model.json", "--solver-dir", TAV_SOLVER_DIR}}) {
      SCOPED_TRACE(command[0] + " of " + model);
      const Outcome outcome = Tav(command);
      EXPECT_EQ(outcome.status, 2);
      EXPECT_THAT(outcome.err, StartsWith(message));
      EXPECT_EQ(Files(), std::vector<std::string>{"model.json"});
    }
  }
}

// The documented example has a case of every kind: each is shown with what
// its values are (peaks, envelopes, magnitudes, sums).
TEST_F(TavToolTest, RunShowsEveryKindOfCase) {
  Write("example.json", test::DocumentedModel());
  const Outcome outcome = Run("example.json");
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  for (const char* headingAndLine :  // the line follows right after the case's heading
       {"DEAD  (static)\n  largest displacement", "QUAKE  (history)\n  (peaks over 200 time steps of 0.01 s, to 2 s",
        "RSX  (response spectrum)\n  (peak magnitudes, each combined over the modes",
        "TROLLEY MAX  (moving)\n  (each value's largest over the positions",
        "TROLLEY MIN  (moving)\n  (each value's smallest over the positions",
        "DYN MAX  (combination ENVE)\n  largest displacement", "ALL MIN  (combination ABS)\n  largest displacement",
        "ULS  (combination ADD)\n  largest displacement", "\nModes (mass ratios", "\nResponses "}) {
    EXPECT_THAT(outcome.out, HasSubstr(headingAndLine));
  }
}

TEST_F(TavToolTest, UsageErrorsAndHelp) {
  EXPECT_EQ(Tav({}).status, 2);
  EXPECT_EQ(Tav({"frob"}).status, 2);
  EXPECT_EQ(Tav({"write", "missing.json"}).status, 2);
  EXPECT_EQ(Tav({"write", Example("portal"), "--format", "abaqus"}).status, 2);
  EXPECT_EQ(Tav({"save", Example("portal")}).status, 2);  // -o is required
  const Outcome version = Tav({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, StartsWith("tav "));
  for (const char* command : {"check", "write", "run", "plot", "report", "save", "load", "demo"}) {
    const Outcome help = Tav({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_THAT(help.out, HasSubstr("Usage:")) << command;
  }
  EXPECT_THAT(Tav({"check", "missing.json"}).err, StartsWith("missing.json: cannot read"));
  // A results file of another kind is refused before the analysis.
  const Outcome results = Run(Example("portal"), {"--work-dir", "work", "--results", "results.txt"});
  EXPECT_EQ(results.status, 2);
  EXPECT_THAT(results.err, HasSubstr("results.txt: results go to a .json or .csv file"));
  const Outcome series = Run(Example("portal"), {"--work-dir", "work", "--history", "h.csv"});
  EXPECT_EQ(series.status, 2);
  EXPECT_EQ(series.err, "h.csv: the model has no history load cases, so there are no time series\n");
  EXPECT_EQ(Run(Example("ground-motion"), {"--work-dir", "work", "--history", "h.json"}).status, 2);
  EXPECT_TRUE(Files().empty());
}

// The pictures themselves are checked where they are drawn; here, that the
// commands find what they draw and refuse what they cannot.
TEST_F(TavToolTest, PlotDrawsTheModelOrARunsResultsAndReportWritesOnePage) {
  const std::string portal = Example("portal");
  const Outcome model = Tav({"plot", portal, "-o", "model.svg", "--joint-numbers", "--view", "xz"});
  ASSERT_EQ(model.status, 0) << model.err;
  EXPECT_THAT(test::ReadFileBytes(dir.File("model.svg")), HasSubstr("<svg"));
  struct Refused {
    std::vector<std::string> args;
    std::string says;
  };
  const Refused refused[] = {
      {{"--view", "side"}, "side: the views are iso, xz, yz and xy"},
      {{"--case", "NOPE"}, "NOPE: the model has no static load case of this name"},
      {{"--results", "."}, "no results here; run the model first"},
  };
  for (const Refused& r : refused) {
    std::vector<std::string> args = {"plot", portal, "-o", "refused.svg"};
    args.insert(args.end(), r.args.begin(), r.args.end());
    const Outcome outcome = Tav(args);
    EXPECT_EQ(outcome.status, 2) << r.says;
    EXPECT_THAT(outcome.err, HasSubstr(r.says));
    EXPECT_FALSE(fs::exists(dir.File("refused.svg"))) << r.says;
  }

  // A solver directory relative to where the tool starts, not to the work directory.
  const std::string solvers = fs::relative(TAV_SOLVER_DIR, dir.Path()).string();
  ASSERT_EQ(Tav({"run", portal, "--work-dir", "work", "--solver-dir", solvers}).status, 0);
  const Outcome result = Tav({"plot", portal, "--results", "work", "--diagram", "V2", "-o", "v2.svg"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(test::ReadFileBytes(dir.File("v2.svg")), HasSubstr("<svg"));
  EXPECT_THAT(Tav({"plot", portal, "--results", "work", "--diagram", "M4"}).err, HasSubstr("M4: the diagrams are"));
  EXPECT_THAT(Tav({"plot", portal, "--results", "work", "--mode", "1"}).err,
              HasSubstr("the results hold no such mode"));

  const Outcome report =
      Tav({"report", portal, "-o", "portal.html", "--work-dir", "work", "--solver-dir", TAV_SOLVER_DIR});
  ASSERT_EQ(report.status, 0) << report.err;
  const std::string page = test::ReadFileBytes(dir.File("portal.html"));
  EXPECT_THAT(page, HasSubstr("<svg"));
  EXPECT_THAT(page, HasSubstr("THREE"));
  EXPECT_THAT(Run(portal, {"--work-dir", "work", "--report", "r.txt"}).err,
              HasSubstr("r.txt: the report goes to a .html file"));
}

TEST_F(TavToolTest, DamagedArchivesAreRefused) {
  ASSERT_EQ(Tav({"save", Example("building"), "-o", "m.tavdoc"}).status, 0);
  const std::string bytes = test::ReadFileBytes(dir.File("m.tavdoc"));
  Write("short.tavdoc", bytes.substr(0, bytes.size() / 2));
  // A whole archive with a value that a model file has no name for.
  CTavData odd;
  odd.AddLoadStatic("P", 0);
  odd.AddCombo("C", static_cast<TaV_COMBO_TYPE>(7))->AddLoad(TaV_LOAD_STATIC, 0, 1.0, 0.0);
  ASSERT_EQ(odd.StoreArchive(dir.File("odd.tavdoc")), 1);
  // A whole archive whose beam load names a beam that does not exist.
  CTavData dangling;
  test::BuildSmallFrame(dangling, "LC");
  dangling.GetStaticLoad(0)->AddLoadStatic_BEAMLOAD_DIST_W1W2(3, TaV_DIR_Z, 1, 1, 0, 1, 0, 0);
  ASSERT_EQ(dangling.StoreArchive(dir.File("dangling.tavdoc")), 1);

  // Each is refused with a message naming it, and nothing is written.
  const auto refusal = [this](const std::string& archive) {
    const Outcome outcome = Tav({"load", archive, "-o", "m.json"});
    EXPECT_EQ(outcome.status, 2) << archive;
    EXPECT_FALSE(fs::exists(dir.File("m.json"))) << archive;
    return outcome.err;
  };
  EXPECT_THAT(refusal("short.tavdoc"), StartsWith("short.tavdoc: "));
  EXPECT_EQ(refusal("odd.tavdoc"),
            "odd.tavdoc: the archive holds a model that cannot be used: /combinations/0/type: the value 7 has no name "
            "in a model file\n");
  EXPECT_THAT(refusal("dangling.tavdoc"),
              HasSubstr("static load case 1, beam load 1: beam 4 does not exist (the model has 1 beam)"));
}

// Each example's check and run print their transcripts (times masked), with
// the counts, sums of reactions, forces and modes its README gives. Six
// digits lose nothing of an example's values, so none warns.
TEST_F(TavToolTest, CheckAndRunPrintTheTranscriptOfEveryExample) {
  for (const std::string example : kExamples) {
    SCOPED_TRACE(example);
    const Outcome check = Tav({"check", Example(example)});
    ASSERT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "");
    EXPECT_TRUE(test::MatchesGolden("tool/" + example + ".check", check.out));
    EXPECT_TRUE(Files().empty());
    const Outcome run = Run(Example(example), {"--work-dir", "work"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(test::MatchesGolden("tool/" + example + ".run", TimesMasked(run.out)));
    EXPECT_TRUE(fs::exists(dir.File("work/" + example + ".tAv")));
    fs::remove_all(dir.File("work"));
  }
}

// The water tower's modes and spectrum against their closed forms (its
// README), from the JSON results; the CSV rows of its modes.
TEST_F(TavToolTest, RunWritesTheModesAndTheSpectrumOfTheWaterTower) {
  const Outcome outcome = Run(Example("water-tower"), {"--work-dir", "work", "--results", "results.json"});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  const json::Json results = json::Json::parse(test::ReadFileBytes(dir.File("results.json")));
  const json::Json& modes = results["modes"];
  ASSERT_EQ(modes.size(), 3u);
  const double omega[3] = {std::sqrt(3 * 3e7 * 0.05 / 1e3 / 100), std::sqrt(3 * 3e7 * 0.08 / 1e3 / 100),
                           std::sqrt(3e7 * 0.5 / 10 / 100)};
  const int axis[3] = {1, 0, 2};  // each mode's one direction: Y, X, Z
  for (size_t n = 0; n < 3; ++n) {
    EXPECT_NEAR(modes[n]["circularFrequency"].get<double>() / omega[n], 1.0, 1e-12) << n;
    EXPECT_NEAR(modes[n]["period"].get<double>() * omega[n], 2 * std::acos(-1.0), 1e-12) << n;
    EXPECT_NEAR(modes[n]["massRatio"][axis[n]].get<double>(), 1.0, 1e-12) << n;
    const double tank = modes[n]["shape"][1]["displacement"][axis[n]].get<double>();
    EXPECT_NEAR(std::fabs(tank), 0.1, 1e-12) << n;  // 1 / sqrt(100)
  }
  const double period = 2 * std::acos(-1.0) / omega[1];
  const double sa = (1.0 - 0.875 * (period - 0.5) / 3.5) * 0.25 * 9.81;
  const auto at = [&results](int c, int joint) { return results["cases"][c]["joints"][joint]; };
  EXPECT_NEAR(at(1, 1)["displacement"][0].get<double>(), sa / (omega[1] * omega[1]), 1e-12);  // QUAKE
  EXPECT_NEAR(at(1, 0)["reaction"][0].get<double>(), 100 * sa, 1e-9);
  EXPECT_NEAR(at(0, 0)["reaction"][2].get<double>(), 981.0, 1e-9);                             // GRAVITY
  EXPECT_NEAR(at(2, 1)["displacement"][0].get<double>(), sa / (omega[1] * omega[1]), 1e-12);   // SEISMIC MAX
  EXPECT_NEAR(at(3, 1)["displacement"][0].get<double>(), -sa / (omega[1] * omega[1]), 1e-12);  // SEISMIC MIN

  ASSERT_EQ(Run(Example("water-tower"), {"--work-dir", "work", "--results", "results.csv"}).status, 0);
  const std::string csv = test::ReadFileBytes(dir.File("results.csv"));
  EXPECT_THAT(csv, AllOf(HasSubstr("\nmode 2,period,2,,,0.740480489693061,1.35047447"),
                         HasSubstr("\nmode 3,mass ratio,3,,,0,0,1,"), HasSubstr("\nmode 1,shape,2,,,0,")));
}

// The column of the ground-motion example against its closed forms (its
// README): the steady swing under the ground's sine over the last five
// seconds, and the first peak under the suddenly applied load; the time
// series in the CSV file and in the results agree step for step.
TEST_F(TavToolTest, RunWritesTheTimeSeriesOfTheGroundMotion) {
  const Outcome outcome =
      Run(Example("ground-motion"), {"--work-dir", "work", "--results", "r.json", "--history", "h.csv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  const json::Json histories = json::Json::parse(test::ReadFileBytes(dir.File("r.json")))["histories"];
  ASSERT_EQ(histories.size(), 2u);
  ASSERT_EQ(histories[0]["times"].size(), 2001u);
  ASSERT_EQ(histories[1]["displacements"].size(), 201u);
  EXPECT_EQ(histories[1]["case"], "STEP");
  EXPECT_EQ(histories[1]["dt"], 0.01);
  ASSERT_EQ(histories[1]["reactions"][200].size(), 2u);  // per step, per joint, six values
  const auto tank = [&histories](size_t c, size_t step) {
    return histories[c]["displacements"][step][1][0].get<double>();
  };
  const auto largest = [&tank](size_t c, size_t from, size_t to) {
    double peak = 0;
    for (size_t step = from; step <= to; ++step) peak = std::max(peak, std::fabs(tank(c, step)));
    return peak;
  };
  const double m = 100, k = 3 * 3e7 * 0.003 / 27, c = 100, w = 2 * std::acos(-1.0), xi = c / (2 * std::sqrt(k * m));
  EXPECT_NEAR(largest(0, 1500, 2000) / (m * 0.981 / std::hypot(k - m * w * w, c * w)), 1.0, 2e-3);
  EXPECT_NEAR(largest(1, 0, 200) / (100 / k * (1 + std::exp(-std::acos(-1.0) * xi / std::sqrt(1 - xi * xi)))), 1.0,
              2e-3);
  EXPECT_NEAR(histories[1]["reactions"][31][0][0].get<double>(), -k * tank(1, 31), 1e-9);  // the base shear

  const std::string csv = test::ReadFileBytes(dir.File("h.csv"));
  EXPECT_THAT(csv, StartsWith("case,time,joint 1 UX,joint 1 UY,joint 1 UZ,joint 1 RX,joint 1 RY,joint 1 RZ,joint 2 UX,"
                              "joint 2 UY,joint 2 UZ,joint 2 RX,joint 2 RY,joint 2 RZ,joint 1 reaction FX,joint 1 "
                              "reaction FY,joint 1 reaction FZ,joint 1 reaction MX,joint 1 reaction MY,joint 1 "
                              "reaction MZ\n"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 2001 + 201);
  const size_t row = csv.find("\nSHAKE,12.34,");
  ASSERT_NE(row, std::string::npos);
  std::istringstream fields(csv.substr(row + 1, csv.find('\n', row + 1) - row - 1));
  std::string field;
  for (int column = 0; column <= 8; ++column) std::getline(fields, field, ',');  // joint 2 UX
  EXPECT_NEAR(std::stod(field), tank(0, 1234), 1e-15);
}

// A history case that cannot be solved fails alone: the other keeps its
// results and its time series.
TEST_F(TavToolTest, AHistoryCaseThatFailsLeavesTheOthers) {
  json::Json model = json::Json::parse(test::ReadFileBytes(Example("ground-motion")));
  model["loadCases"]["history"][1]["parameters"] = {0.25, 0.5};  // beta first, gamma then
  Write("swapped.json", model.dump());
  const Outcome outcome = Run("swapped.json", {"--results", "r.json", "--history", "h.csv"});
  EXPECT_EQ(outcome.status, 1) << outcome.err << outcome.out;
  EXPECT_THAT(outcome.out, HasSubstr("STEP  (history)\n  no results: "));
  EXPECT_THAT(outcome.out, HasSubstr("SHAKE  (history)\n  (peaks over 2000 time steps"));
  const json::Json histories = json::Json::parse(test::ReadFileBytes(dir.File("r.json")))["histories"];
  EXPECT_THAT(histories[1]["error"].get<std::string>(), HasSubstr("history load condition 2"));
  EXPECT_EQ(histories[0]["times"].size(), 2001u);
  const std::string csv = test::ReadFileBytes(dir.File("h.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 2001);
  ASSERT_EQ(Run("swapped.json", {"--results", "r.csv"}).status, 1);
  EXPECT_THAT(test::ReadFileBytes(dir.File("r.csv")), HasSubstr("\nSHAKE,peak displacement,2,,,"));
}

// The girder's lane against the influence lines of two equal spans L = 10
// (its README), at the stations the unit load visits; ULS adds 100 times
// each envelope to the dead load's moments and reactions.
TEST_F(TavToolTest, RunWritesTheEnvelopesOfTheBridgeGirder) {
  ASSERT_EQ(Run(Example("bridge-girder"), {"--work-dir", "work", "--results", "r.json"}).status, 0);
  const json::Json cases = ResultCases("r.json");
  ASSERT_EQ(cases.size(), 5u);
  EXPECT_EQ(cases[1]["name"], "AXLE MAX");
  EXPECT_EQ(cases[2]["values"], "min");
  const auto m3 = [&cases](int c, int beam, int station) {
    return cases[c]["beams"][beam - 1]["stations"][station]["forces"][5].get<double>();
  };
  const auto fz = [&cases](int c, int joint) { return cases[c]["joints"][joint - 1]["reaction"][2].get<double>(); };
  const double L = 10, q = 10;
  double hogging = 0, uplift = 0;
  for (double a = 0; a <= L; ++a) {
    hogging = std::min(hogging, -a * (L * L - a * a) / (4 * L * L));
    uplift = std::min(uplift, -a * (L * L - a * a) / (4 * L * L * L));
  }
  EXPECT_NEAR(hogging, -0.96, 1e-12);
  EXPECT_NEAR(m3(2, 2, 5), hogging, 1e-9);  // over the middle support
  EXPECT_NEAR(m3(2, 3, 0), hogging, 1e-9);
  EXPECT_NEAR(m3(1, 1, 4), 4 * 6 / L - 16 * (L * L - 16) / (4 * L * L * L), 1e-9);  // x = 4, the load on it
  EXPECT_NEAR(fz(1, 3), 1.0, 1e-9);
  EXPECT_NEAR(fz(2, 1), uplift, 1e-9);
  EXPECT_NEAR(m3(4, 2, 5), -q * L * L / 8 + 100 * hogging, 1e-6);  // ULS MIN
  EXPECT_NEAR(fz(3, 3), 1.25 * q * L + 100, 1e-6);                 // ULS MAX

  ASSERT_EQ(Run(Example("bridge-girder"), {"--work-dir", "work", "--results", "r.csv"}).status, 0);
  EXPECT_THAT(test::ReadFileBytes(dir.File("r.csv")),
              AllOf(HasSubstr("\nAXLE MAX,reaction,3,,,"), HasSubstr("\nAXLE MIN,member force,2,6,1,")));
}

// Masses from sections: W x area x length per beam, half to each joint.
TEST_F(TavToolTest, SectionMassesAreHalfOfEachBeamAtEachJoint) {
  Write("bar.json", R"({"joints": [{"x": 0, "y": 0, "z": 0}, {"x": 4, "y": 0, "z": 0}, {"x": 10, "y": 0, "z": 0}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 1, "area": 0.2, "W": 2.5}],
                "beams": [{"section": 1, "joints": [1, 2]}, {"section": 1, "joints": [2, 3]}]}]})");
  const Outcome outcome = Tav({"write", "bar.json", "--section-masses", "-o", "bar.tAv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_THAT(outcome.out, HasSubstr("Joint masses from the beams' sections: 5 in all"));
  EXPECT_THAT(test::ReadFileBytes(dir.File("bar.tAv")),
              HasSubstr("JOINT MASS\r\n  1  XMX=1. XMY=1. XMZ=1.\r\n  2  XMX=2.5 XMY=2.5 XMZ=2.5\r\n"
                        "  3  XMX=1.5 XMY=1.5 XMZ=1.5\r\n"));
}

// The continuous beam against its closed forms, read from every value the
// run writes.
TEST_F(TavToolTest, RunWritesEveryValueOfTheContinuousBeam) {
  const Outcome outcome = Run(Example("continuous-beam"), {"--work-dir", "work", "--results", "results.json"});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  const json::Json cases = ResultCases("results.json");
  ASSERT_EQ(cases.size(), 1u);
  const json::Json& q = cases[0];
  EXPECT_EQ(q["name"], "Q");
  const auto reaction = [&q](int joint) { return q["joints"][joint - 1]["reaction"][2].get<double>(); };
  const auto m3 = [&q](int beam, int station) {
    return q["beams"][beam - 1]["stations"][station]["forces"][5].get<double>();
  };
  const double qL = 12.0 * 5.0, L = 5.0;
  EXPECT_NEAR(reaction(1), 0.375 * qL, 1e-6);
  EXPECT_NEAR(reaction(3), 1.25 * qL, 1e-6);
  EXPECT_NEAR(reaction(5), 0.375 * qL, 1e-6);
  EXPECT_NEAR(m3(2, 4), -qL * L / 8, 1e-6);
  EXPECT_NEAR(m3(3, 0), -qL * L / 8, 1e-6);
  EXPECT_NEAR(m3(1, 3), 9 * qL * L / 128, 1e-6);
  EXPECT_NEAR(m3(4, 1), 9 * qL * L / 128, 1e-6);
  EXPECT_NEAR(q["beams"][0]["stations"][3]["distance"].get<double>(), 0.75, 1e-12);
}

TEST_F(TavToolTest, RunReportsAnUnstableModelWithStatusOne) {
  Write("loose.json", R"({"joints": [{"x": 0, "y": 0, "z": 0}, {"x": 3, "y": 0, "z": 0}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "poisson": 0.3, "area": 0.01, "J": 1e-5,
      "IS": 1e-5, "IT": 1e-5}], "beams": [{"section": 1, "joints": [1, 2]}]}],
    "loadCases": {"static": [{"name": "P", "jointLoads": [{"joint": 2, "values": [0, 0, -1, 0, 0, 0]}]}]}})");
  const Outcome outcome = Run("loose.json");
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_THAT(outcome.out, HasSubstr("* E R R O R *"));
  EXPECT_THAT(outcome.err, HasSubstr("the analysis reported errors"));
}

// A cantilever 3.5 long at site coordinates, loaded at its tip: six
// significant digits would make it 4 long, so writing the inputs warns of
// that unless every digit is kept, and the run keeps every digit.
TEST_F(TavToolTest, SiteCoordinatesWarnWithSixDigitsAndKeepEveryDigitInTheRun) {
  Write("site.json", R"({"joints": [
      {"x": 123456.25, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 123459.75, "y": 0, "z": 0}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "area": 0.01, "IS": 1e-4, "IT": 1e-4,
      "J": 1e-5}], "beams": [{"section": 1, "joints": [1, 2]}]}],
    "loadCases": {"static": [{"name": "TIP", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]}})");
  for (const char* command : {"check", "write"}) {
    const Outcome outcome = Tav({command, "site.json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err,
              "site.json: /joints/0: warning: six significant digits move this joint by 0.25, 7.1 % of the shortest "
              "beam (3.5 long)\n"
              "site.json: /joints/1: warning: six significant digits move this joint by 0.25, 7.1 % of the shortest "
              "beam (3.5 long)\n"
              "site.json: /groups/0/beams/0: warning: six significant digits of its joints make this beam 4 long "
              "instead of 3.5 (14 %)\n"
              "site.json: warning: the own solver input keeps every digit with --precision full, which tav run uses\n")
        << command;
  }
  EXPECT_THAT(test::ReadFileBytes(dir.File("site.tAv")), HasSubstr("X=123456. Y=0. Z=0."));

  const Outcome full = Tav({"write", "site.json", "--precision", "full"});
  EXPECT_EQ(full.status, 0);
  EXPECT_EQ(full.err, "");
  EXPECT_THAT(test::ReadFileBytes(dir.File("site.tAv")), HasSubstr("X=123456.25 Y=0. Z=0."));
  EXPECT_EQ(Tav({"write", "site.json", "--format", "sap", "--precision", "full"}).status, 2);

  const Outcome run = Run("site.json", {"--results", "results.json"});
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  const double tip = ResultCases("results.json")[0]["joints"][1]["displacement"][2].get<double>();
  const double closedForm = -10.0 * 3.5 * 3.5 * 3.5 / (3 * 2e8 * 1e-4);  // P L^3 / (3 E I)
  EXPECT_NEAR(tip, closedForm, 1e-9 * std::fabs(closedForm));
}

// Two beams between the same joints: the own input tells them apart by
// their roll angles only.
std::string TwinBeams(double secondAngle) {
  return R"({"joints": [{"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 4, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "area": 0.01, "IS": 1e-4, "IT": 2e-4,
      "J": 1e-5}], "beams": [{"section": 1, "joints": [1, 2]}, {"section": 1, "joints": [1, 2], "angle": )" +
         std::to_string(secondAngle) + R"(}]}],
    "loadCases": {"static": [{"name": "Q", "beamLoads": [{"beam": 2, "type": "distributed",
      "components": [{"direction": "Z", "values": [-6, -6], "distances": [0, 1]}]}]}]}})";
}

TEST_F(TavToolTest, ABeamLoadTheInputCannotPlaceIsRefusedBeforeTheRun) {
  Write("twins.json", TwinBeams(0));
  const Outcome run = Run("twins.json");
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.err, StartsWith("twins.json: /loadCases/static/0/beamLoads/0/beam: beam 2 and beam 1 both run from "
                                  "joint 1 to joint 2 with the roll angle 0."));
  EXPECT_THAT(Tav({"check", "twins.json"}).err, HasSubstr("/loadCases/static/0/beamLoads/0/beam: warning: beam 2"));

  // Turned apart, the load reaches the second beam: a fixed-ended beam
  // under q gives q L / 2 at each end, carried by that beam alone.
  Write("twins.json", TwinBeams(90));
  const Outcome turned = Run("twins.json", {"--results", "r.json"});
  ASSERT_EQ(turned.status, 0) << turned.err << turned.out;
  const json::Json q = ResultCases("r.json")[0];
  for (int beam = 0; beam < 2; ++beam) {
    const json::Json& first = q["beams"][beam]["stations"][0]["forces"];
    const double shear = std::hypot(first[1].get<double>(), first[2].get<double>());
    EXPECT_NEAR(shear, beam == 1 ? 12.0 : 0.0, 1e-9) << beam;
  }
}

TEST_F(TavToolTest, RunResultsGiveEachBeamItsOwnStations) {
  Write("spans.json", R"({"options": {"forceSegments": 4},
    "joints": [{"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 2, "y": 0, "z": 0}, {"x": 4, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "area": 0.01, "IS": 1e-4, "IT": 1e-4,
      "J": 1e-5}], "beams": [{"section": 1, "joints": [1, 2], "segments": 2}, {"section": 1, "joints": [2, 3]}]}],
    "loadCases": {"static": [{"name": "P", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]}})");
  ASSERT_EQ(Run("spans.json", {"--results", "r.json"}).status, 0);
  ASSERT_EQ(Run("spans.json", {"--results", "r.csv"}).status, 0);
  const json::Json q = ResultCases("r.json")[0];
  const json::Json& short0 = q["beams"][0]["stations"];
  ASSERT_EQ(short0.size(), 3u);
  EXPECT_EQ(short0[2]["distance"], 1.0);
  EXPECT_EQ(q["beams"][1]["stations"].size(), 5u);
  EXPECT_FALSE(q["joints"][0].contains("springForce"));
  const std::string csv = test::ReadFileBytes(dir.File("r.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 3 * 2 + 3 + 5);
  EXPECT_EQ(csv.find("spring"), std::string::npos);
}

// A block held down by a gap: pushed down it rests on the gap, pulled up
// nothing holds it.
TEST_F(TavToolTest, ACaseTheGapsCannotHoldFailsAloneAndTheOthersKeepTheirResults) {
  Write("gap.json", R"({"joints": [
      {"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 0, "y": 0, "z": 1, "restraints": ["UX", "UY", "RX", "RY", "RZ"]}],
    "groups": [{"kind": "link", "properties": [{"k0": 1000}], "links": [{"property": 1, "joints": [1, 2]}]}],
    "loadCases": {"static": [{"name": "UP", "jointLoads": [{"joint": 2, "values": [0, 0, 10, 0, 0, 0]}]},
      {"name": "DOWN", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]},
    "combinations": [{"name": "BOTH", "type": "ADD", "terms": [{"kind": "static", "case": 1, "factor": 1},
      {"kind": "static", "case": 2, "factor": 1}]}]})");
  const Outcome outcome = Run("gap.json", {"--results", "r.json"});
  EXPECT_EQ(outcome.status, 1) << outcome.err << outcome.out;
  EXPECT_TRUE(test::MatchesGolden("tool/gap.run", TimesMasked(outcome.out)));
  EXPECT_THAT(outcome.err, HasSubstr("could not solve 1 load case"));
  const json::Json cases = ResultCases("r.json");
  EXPECT_TRUE(cases[0].contains("error"));
  EXPECT_FALSE(cases[0].contains("joints"));
  EXPECT_NEAR(cases[1]["joints"][1]["displacement"][2].get<double>(), -10.0 / 1000, 1e-12);
  EXPECT_NEAR(cases[1]["joints"][0]["reaction"][2].get<double>(), 10.0, 1e-9);
}

TEST_F(TavToolTest, DemoRunsTheBundledExampleEndToEnd) {
  const Outcome outcome = Tav({"demo", "-d", "out", "--solver-dir", TAV_SOLVER_DIR});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  for (const char* file :
       {"building.json", "building.s2k", "building.mgt", "building.tavdoc", "run/building.tvo", "results.csv"}) {
    EXPECT_TRUE(fs::exists(dir.Path() / "out" / file)) << file;
  }
  // The bundled model is the building example.
  EXPECT_EQ(test::ReadFileBytes(dir.File("out/building.json")), test::ReadFileBytes(Example("building")));
  EXPECT_TRUE(test::MatchesGolden("tool/building.tAv", test::ReadFileBytes(dir.File("out/building.tAv"))));
  EXPECT_THAT(outcome.out, HasSubstr("Everything is under"));
}

}  // namespace
}  // namespace tav
