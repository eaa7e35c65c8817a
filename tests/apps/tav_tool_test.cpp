// The built `tav` program on the example models and on broken ones: what it
// prints, the files it writes (and does not write), and its exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "json/DocumentedModel.h"
#include "support/Golden.h"
#include "support/Models.h"
#include "support/TempDir.h"
#include "tav/json/ModelJson.h"

extern char** environ;

namespace tav {
namespace {
namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the tool with `args` in `dir`, its output caught in files there.
Outcome Tav(const test::TempDir& dir, std::vector<std::string> args) {
  const std::string outPath = dir.File(".stdout"), errPath = dir.File(".stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  args.insert(args.begin(), TAV_TOOL);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // The tool works relative to its current directory, so the child starts in `dir`.
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path());
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, TAV_TOOL, &actions, nullptr, argv.data(), environ);
  fs::current_path(before);
  posix_spawn_file_actions_destroy(&actions);
  Outcome outcome;
  if (spawned != 0) return outcome;
  int status = 0;
  waitpid(pid, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.out = test::ReadFileBytes(outPath);
  outcome.err = test::ReadFileBytes(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return outcome;
}

std::string Example(const std::string& name) { return std::string(TAV_EXAMPLES_DIR) + "/" + name + ".json"; }

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The files in `dir`, for telling that a failed command wrote nothing.
std::vector<std::string> Files(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The result cases a run wrote to the JSON file `name` in `dir`.
json::Json ResultCases(const test::TempDir& dir, const std::string& name) {
  return json::Json::parse(test::ReadFileBytes(dir.File(name)))["cases"];
}

const char* const kExamples[] = {"portal", "continuous-beam", "building", "springs-gaps"};

TEST(TavToolTest, WriteDefaultsToTheModelsNameBesideIt) {
  test::TempDir dir;
  fs::copy_file(Example("portal"), dir.File("frame.json"));
  const Outcome outcome = Tav(dir, {"write", "frame.json", "--format", "midas"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("frame.mgt"), std::string::npos);
  EXPECT_TRUE(test::MatchesGolden("tool/portal.mgt", test::ReadFileBytes(dir.File("frame.mgt"))));
}

TEST(TavToolTest, CheckCountsWhatTheModelHolds) {
  test::TempDir dir;
  const Outcome outcome = Tav(dir, {"check", Example("building")});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("joints                     39\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("diaphragms                 3\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("combinations               3\n"), std::string::npos) << outcome.out;
  EXPECT_TRUE(Files(dir).empty());
}

// Each example writes its golden inputs. The examples and the documented
// model, which uses every key, come back through save and load as the same
// model, which writes the same inputs.
TEST(TavToolTest, EveryModelWritesItsInputsAndComesBackThroughTheArchive) {
  test::TempDir dir;
  WriteText(dir.File("documented.json"), test::DocumentedModel());
  std::vector<std::pair<std::string, std::string>> models = {{dir.File("documented.json"), ""}};  // model, golden
  for (const char* example : kExamples) models.emplace_back(Example(example), example);
  for (const auto& [model, golden] : models) {
    SCOPED_TRACE(model);
    ASSERT_EQ(Tav(dir, {"save", model, "-o", "m.tavdoc"}).status, 0);
    const Outcome load = Tav(dir, {"load", "m.tavdoc", "-o", "m.json"});
    ASSERT_EQ(load.status, 0) << load.err;
    CTavData doc;
    json::BuildModel(json::ParseModelText(test::ReadFileBytes(model)), doc);
    EXPECT_EQ(json::ParseModelText(test::ReadFileBytes(dir.File("m.json"))), json::ModelToJson(doc));

    for (const auto& [format, extension] : {std::pair{"tav", ".tAv"}, {"sap", ".s2k"}, {"midas", ".mgt"}}) {
      const Outcome written = Tav(dir, {"write", model, "--format", format, "-o", "a"});
      ASSERT_EQ(written.status, 0) << format << ": " << written.err;
      ASSERT_EQ(Tav(dir, {"write", "m.json", "--format", format, "-o", "b"}).status, 0);
      const std::string input = test::ReadFileBytes(dir.File("a"));
      if (!golden.empty()) {
        EXPECT_TRUE(test::MatchesGolden("tool/" + golden + extension, input));
      }
      EXPECT_EQ(test::ReadFileBytes(dir.File("b")), input) << format;
    }
  }
}

struct Broken {
  const char* what;
  const char* model;
  const char* message;  // as printed after the file name
};

// Where each mistake is reported is the JSON model's own test
// (tests/json); here every command prints it after the file's name.
TEST(TavToolTest, BrokenModelsAreReportedWithTheirPathAndWriteNothing) {
  const Broken cases[] = {
      {"bad JSON", R"({"joints": [}")", "model.json: not valid JSON: parse error at line 1, column 13"},
      {"bad joint reference", R"({"joints": [{"x": 0, "y": 0, "z": 0}], "masses": [{"joint": 2,
        "values": [1, 1, 1, 0, 0, 0]}]})",
       "model.json: /masses/0/joint: joint 2 does not exist (there are 1)"},
  };
  for (const Broken& broken : cases) {
    SCOPED_TRACE(broken.what);
    test::TempDir dir;
    WriteText(dir.File("model.json"), broken.model);
    for (const auto& command :
         std::vector<std::vector<std::string>>{{"check", "model.json"},
                                               {"write", "model.json", "-o", "out.tAv"},
                                               {"save", "model.json", "-o", "out.tavdoc"},
                                               {"run", "model.json", "--solver-dir", TAV_SOLVER_DIR}}) {
      const Outcome outcome = Tav(dir, command);
      EXPECT_EQ(outcome.status, 2) << command[0];
      EXPECT_EQ(outcome.err.rfind(broken.message, 0), 0u) << command[0] << " printed: " << outcome.err;
      EXPECT_EQ(Files(dir), std::vector<std::string>{"model.json"}) << command[0];
    }
  }
}

// The documented example has every kind of case: the summary says which
// parts the bundled program leaves out rather than showing zeros as results.
TEST(TavToolTest, RunSaysWhatTheBundledProgramLeavesOut) {
  test::TempDir dir;
  WriteText(dir.File("example.json"), test::DocumentedModel());
  const Outcome outcome = Tav(dir, {"run", "example.json", "--solver-dir", TAV_SOLVER_DIR});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const auto after = [&outcome](const std::string& heading, const std::string& line) {
    const size_t at = outcome.out.find(heading);
    return at != std::string::npos && outcome.out.compare(at + heading.size(), line.size(), line) == 0;
  };
  EXPECT_TRUE(after("DEAD  (static)\n", "  (its self weight counts as zero")) << outcome.out;
  EXPECT_TRUE(after("QUAKE  (history)\n", "  not analysed by the bundled program: its results are zero\n"));
  EXPECT_TRUE(after("DYN MAX  (combination ENVE)\n", "  not analysed by the bundled program"));
  EXPECT_TRUE(after("ALL MAX  (combination ABS)\n", "  (its history, response spectrum and moving parts count"));
  EXPECT_TRUE(after("ULS  (combination ADD)\n", "  largest displacement"));
}

TEST(TavToolTest, UsageErrorsAndHelp) {
  test::TempDir dir;
  EXPECT_EQ(Tav(dir, {}).status, 2);
  EXPECT_EQ(Tav(dir, {"frob"}).status, 2);
  EXPECT_EQ(Tav(dir, {"write", "missing.json"}).status, 2);
  EXPECT_EQ(Tav(dir, {"write", Example("portal"), "--format", "abaqus"}).status, 2);
  EXPECT_EQ(Tav(dir, {"save", Example("portal")}).status, 2);  // -o is required
  const Outcome version = Tav(dir, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("tav ", 0), 0u);
  for (const char* command : {"check", "write", "run", "save", "load", "demo"}) {
    const Outcome help = Tav(dir, {command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("Usage:"), std::string::npos) << command;
  }
  const Outcome missing = Tav(dir, {"check", "missing.json"});
  EXPECT_EQ(missing.err.rfind("missing.json: cannot read", 0), 0u) << missing.err;
  EXPECT_TRUE(Files(dir).empty());
}

TEST(TavToolTest, DamagedArchivesAreRefused) {
  test::TempDir dir;
  ASSERT_EQ(Tav(dir, {"save", Example("building"), "-o", "m.tavdoc"}).status, 0);
  const std::string bytes = test::ReadFileBytes(dir.File("m.tavdoc"));
  WriteText(dir.File("short.tavdoc"), bytes.substr(0, bytes.size() / 2));
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
  const auto refusal = [&dir](const std::string& archive) {
    const Outcome outcome = Tav(dir, {"load", archive, "-o", "m.json"});
    EXPECT_EQ(outcome.status, 2) << archive;
    EXPECT_FALSE(fs::exists(dir.File("m.json"))) << archive;
    return outcome.err;
  };
  const std::string cut = refusal("short.tavdoc");
  EXPECT_EQ(cut.rfind("short.tavdoc: ", 0), 0u) << cut;
  EXPECT_EQ(refusal("odd.tavdoc"),
            "odd.tavdoc: the archive holds a model that cannot be used: /combinations/0/type: the value 7 has no name "
            "in a model file\n");
  const std::string dangles = refusal("dangling.tavdoc");
  EXPECT_NE(dangles.find("static load case 1, beam load 1: beam 4 does not exist (the model has 1 beam)"),
            std::string::npos)
      << dangles;
}

// The results of a run: each example's summary states the sums of its
// reactions, which must balance the loads its README gives.
TEST(TavToolTest, RunSummarisesEveryExample) {
  struct Expected {
    const char* example;
    std::vector<std::string> lines;
    size_t balanced;  // static cases and added combinations
  };
  const Expected expected[] = {
      {"portal",
       {"DEAD  (static)\n", "sum of reactions      FX, FY, FZ = 0, 0, 60\n", "WIND  (static)\n",
        "sum of reactions      FX, FY, FZ = -20, 0, 0\n", "ULS  (combination ADD)\n",
        "sum of reactions      FX, FY, FZ = -30, 0, 81\n", "ENV MAX  (combination ENVE)\n",
        "ENV MIN  (combination ENVE)\n"},
       3},
      {"building",
       {"sum of reactions      FX, FY, FZ = 0, 0, 3960\n", "sum of reactions      FX, FY, FZ = -300, 0, 0\n",
        "sum of reactions      FX, FY, FZ = 0, -300, 0\n", "sum of reactions      FX, FY, FZ = -300, 0, 4752\n"},
       5},
      {"springs-gaps",
       {"DOWN  (static)\n", "sum of reactions      FX, FY, FZ = 0, 0, 60\n", "UP  (static)\n",
        "sum of reactions      FX, FY, FZ = 0, 0, -30\n"},
       2},
  };
  for (const auto& [example, lines, balanced] : expected) {
    SCOPED_TRACE(example);
    test::TempDir dir;
    const Outcome outcome = Tav(dir, {"run", Example(example), "--solver-dir", TAV_SOLVER_DIR, "--work-dir", "work"});
    ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
    for (const std::string& line : lines) EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
    // Every static case and added combination balances.
    size_t count = 0;
    const std::string zero = "out of balance        FX, FY, FZ = 0, 0, 0\n";
    for (size_t at = outcome.out.find(zero); at != std::string::npos; at = outcome.out.find(zero, at + 1)) ++count;
    EXPECT_EQ(count, balanced);
  }
}

// The continuous beam against its closed forms, read from every value the
// run writes.
TEST(TavToolTest, RunWritesEveryValueOfTheContinuousBeam) {
  test::TempDir dir;
  const Outcome outcome = Tav(dir, {"run", Example("continuous-beam"), "--solver-dir", TAV_SOLVER_DIR, "--work-dir",
                                    "work", "--results", "results.json"});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  EXPECT_NE(outcome.out.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.File("work/continuous-beam.tAv")));
  EXPECT_NE(outcome.out.find("sum of reactions      FX, FY, FZ = 0, 0, 120\n"), std::string::npos) << outcome.out;

  const json::Json cases = ResultCases(dir, "results.json");
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

TEST(TavToolTest, RunReportsAnUnstableModelWithStatusOne) {
  test::TempDir dir;
  WriteText(dir.File("loose.json"), R"({"joints": [{"x": 0, "y": 0, "z": 0}, {"x": 3, "y": 0, "z": 0}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "poisson": 0.3, "area": 0.01, "J": 1e-5,
      "IS": 1e-5, "IT": 1e-5}], "beams": [{"section": 1, "joints": [1, 2]}]}],
    "loadCases": {"static": [{"name": "P", "jointLoads": [{"joint": 2, "values": [0, 0, -1, 0, 0, 0]}]}]}})");
  const Outcome outcome = Tav(dir, {"run", "loose.json", "--solver-dir", TAV_SOLVER_DIR});
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_NE(outcome.out.find("* E R R O R *"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.err.find("the analysis reported errors"), std::string::npos) << outcome.err;
}

// A cantilever 3.5 long at site coordinates, loaded at its tip; six
// significant digits would make it 4 long.
constexpr const char* kSiteCantilever = R"({"joints": [
    {"x": 123456.25, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
    {"x": 123459.75, "y": 0, "z": 0}],
  "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "area": 0.01, "IS": 1e-4, "IT": 1e-4,
    "J": 1e-5}], "beams": [{"section": 1, "joints": [1, 2]}]}],
  "loadCases": {"static": [{"name": "TIP", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]}})";

TEST(TavToolTest, RunKeepsEveryDigitOfSiteCoordinates) {
  test::TempDir dir;
  WriteText(dir.File("site.json"), kSiteCantilever);
  const Outcome outcome = Tav(dir, {"run", "site.json", "--solver-dir", TAV_SOLVER_DIR, "--results", "results.json"});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  const double tip = ResultCases(dir, "results.json")[0]["joints"][1]["displacement"][2].get<double>();
  const double closedForm = -10.0 * 3.5 * 3.5 * 3.5 / (3 * 2e8 * 1e-4);  // P L^3 / (3 E I)
  EXPECT_NEAR(tip, closedForm, 1e-9 * std::fabs(closedForm));
}

TEST(TavToolTest, SixDigitInputIsWrittenWithWarningsThatNameThePlaces) {
  test::TempDir dir;
  WriteText(dir.File("site.json"), kSiteCantilever);
  for (const char* command : {"check", "write"}) {
    const Outcome outcome = Tav(dir, {command, "site.json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const char* warning :
         {"site.json: /joints/0: warning: six significant digits move this joint by 0.25, 7.1 % of the shortest beam",
          "site.json: /joints/1: warning: six significant digits move this joint by 0.25",
          "site.json: /groups/0/beams/0: warning: six significant digits of its joints make this beam 4 long instead "
          "of 3.5 (14 %)",
          "--precision full"}) {
      EXPECT_NE(outcome.err.find(warning), std::string::npos) << command << ": " << warning << "\n" << outcome.err;
    }
  }
  EXPECT_NE(test::ReadFileBytes(dir.File("site.tAv")).find("X=123456. Y=0. Z=0."), std::string::npos);

  const Outcome full = Tav(dir, {"write", "site.json", "--precision", "full"});
  EXPECT_EQ(full.status, 0);
  EXPECT_EQ(full.err, "");
  EXPECT_NE(test::ReadFileBytes(dir.File("site.tAv")).find("X=123456.25 Y=0. Z=0."), std::string::npos);
  EXPECT_EQ(Tav(dir, {"write", "site.json", "--format", "sap", "--precision", "full"}).status, 2);
  // Values of six digits or fewer lose nothing, so the examples warn of nothing.
  for (const char* example : kExamples) EXPECT_EQ(Tav(dir, {"check", Example(example)}).err, "") << example;
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

TEST(TavToolTest, ABeamLoadTheInputCannotPlaceIsRefusedBeforeTheRun) {
  test::TempDir dir;
  WriteText(dir.File("twins.json"), TwinBeams(0));
  const Outcome run = Tav(dir, {"run", "twins.json", "--solver-dir", TAV_SOLVER_DIR});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("twins.json: /loadCases/static/0/beamLoads/0/beam: beam 2 and beam 1 both run from joint 1 "
                          "to joint 2 with the roll angle 0.",
                          0),
            0u)
      << run.err;
  EXPECT_NE(Tav(dir, {"check", "twins.json"}).err.find("/loadCases/static/0/beamLoads/0/beam: warning: beam 2"),
            std::string::npos);

  // Turned apart, the load reaches the second beam: a fixed-ended beam
  // under q gives q L / 2 at each end, carried by that beam alone.
  WriteText(dir.File("twins.json"), TwinBeams(90));
  const Outcome turned = Tav(dir, {"run", "twins.json", "--solver-dir", TAV_SOLVER_DIR, "--results", "r.json"});
  ASSERT_EQ(turned.status, 0) << turned.err << turned.out;
  const json::Json q = ResultCases(dir, "r.json")[0];
  for (int beam = 0; beam < 2; ++beam) {
    const json::Json& first = q["beams"][beam]["stations"][0]["forces"];
    const double shear = std::hypot(first[1].get<double>(), first[2].get<double>());
    EXPECT_NEAR(shear, beam == 1 ? 12.0 : 0.0, 1e-9) << beam;
  }
}

TEST(TavToolTest, RunResultsGiveEachBeamItsOwnStations) {
  test::TempDir dir;
  WriteText(dir.File("spans.json"), R"({"options": {"forceSegments": 4},
    "joints": [{"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 2, "y": 0, "z": 0}, {"x": 4, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]}],
    "groups": [{"kind": "beam", "sections": [{"shape": "general", "E": 2e8, "area": 0.01, "IS": 1e-4, "IT": 1e-4,
      "J": 1e-5}], "beams": [{"section": 1, "joints": [1, 2], "segments": 2}, {"section": 1, "joints": [2, 3]}]}],
    "loadCases": {"static": [{"name": "P", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]}})");
  ASSERT_EQ(Tav(dir, {"run", "spans.json", "--solver-dir", TAV_SOLVER_DIR, "--results", "r.json"}).status, 0);
  ASSERT_EQ(Tav(dir, {"run", "spans.json", "--solver-dir", TAV_SOLVER_DIR, "--results", "r.csv"}).status, 0);
  const json::Json q = ResultCases(dir, "r.json")[0];
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
TEST(TavToolTest, ACaseTheGapsCannotHoldFailsAloneAndTheOthersKeepTheirResults) {
  test::TempDir dir;
  WriteText(dir.File("gap.json"), R"({"joints": [
      {"x": 0, "y": 0, "z": 0, "restraints": ["UX", "UY", "UZ", "RX", "RY", "RZ"]},
      {"x": 0, "y": 0, "z": 1, "restraints": ["UX", "UY", "RX", "RY", "RZ"]}],
    "groups": [{"kind": "link", "properties": [{"k0": 1000}], "links": [{"property": 1, "joints": [1, 2]}]}],
    "loadCases": {"static": [{"name": "UP", "jointLoads": [{"joint": 2, "values": [0, 0, 10, 0, 0, 0]}]},
      {"name": "DOWN", "jointLoads": [{"joint": 2, "values": [0, 0, -10, 0, 0, 0]}]}]},
    "combinations": [{"name": "BOTH", "type": "ADD", "terms": [{"kind": "static", "case": 1, "factor": 1},
      {"kind": "static", "case": 2, "factor": 1}]}]})");
  const Outcome outcome = Tav(dir, {"run", "gap.json", "--solver-dir", TAV_SOLVER_DIR, "--results", "r.json"});
  EXPECT_EQ(outcome.status, 1) << outcome.err << outcome.out;
  EXPECT_NE(outcome.out.find("* E R R O R * static load condition 1"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("UP  (static)\n  no results: "), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("BOTH  (combination ADD)\n  no results: it takes in UP, which was not solved"),
            std::string::npos);
  EXPECT_NE(outcome.err.find("could not solve 1 load case"), std::string::npos) << outcome.err;
  const json::Json cases = ResultCases(dir, "r.json");
  EXPECT_TRUE(cases[0].contains("error"));
  EXPECT_FALSE(cases[0].contains("joints"));
  EXPECT_NEAR(cases[1]["joints"][1]["displacement"][2].get<double>(), -10.0 / 1000, 1e-12);
  EXPECT_NEAR(cases[1]["joints"][0]["reaction"][2].get<double>(), 10.0, 1e-9);
}

TEST(TavToolTest, RunRefusesAResultsFileOfAnotherKindBeforeAnalysing) {
  test::TempDir dir;
  const Outcome outcome = Tav(dir, {"run", Example("portal"), "--solver-dir", TAV_SOLVER_DIR, "--work-dir", "work",
                                    "--results", "results.txt"});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("results.txt: results go to a .json or .csv file"), std::string::npos);
  EXPECT_TRUE(Files(dir).empty());
}

TEST(TavToolTest, DemoRunsTheBundledExampleEndToEnd) {
  test::TempDir dir;
  const Outcome outcome = Tav(dir, {"demo", "-d", "out", "--solver-dir", TAV_SOLVER_DIR});
  ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
  for (const char* file :
       {"building.json", "building.s2k", "building.mgt", "building.tavdoc", "run/building.tvo", "results.csv"}) {
    EXPECT_TRUE(fs::exists(dir.Path() / "out" / file)) << file;
  }
  // The bundled model is the building example.
  EXPECT_EQ(test::ReadFileBytes(dir.File("out/building.json")), test::ReadFileBytes(Example("building")));
  EXPECT_TRUE(test::MatchesGolden("tool/building.tAv", test::ReadFileBytes(dir.File("out/building.tAv"))));
  EXPECT_NE(outcome.out.find("Everything is under"), std::string::npos);
}

}  // namespace
}  // namespace tav
