// The Qt host example, run unattended as a user would run it: the tip
// deflection it reports against the closed form worked out here from the
// model it reports, and its refusal of a solver directory without TaV.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "support/Golden.h"
#include "support/TempDir.h"

namespace tav {
namespace {

using ::testing::HasSubstr;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the host in batch mode with `args`, its output caught in `dir`.
Outcome RunHost(const test::TempDir& dir, const std::vector<std::string>& args = {}) {
  std::string command = "'" TAV_QT_HOST "' --batch";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFileBytes(dir.File("out")),
          test::ReadFileBytes(dir.File("err"))};
}

// The numbers that `pattern`'s groups catch in `text`; none when it does not match.
std::vector<double> Numbers(const std::string& text, const std::string& pattern) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(pattern))) return {};
  std::vector<double> numbers;
  for (size_t i = 1; i < match.size(); ++i) numbers.push_back(std::stod(match[i].str()));
  return numbers;
}

const std::string kNumber = "([-+0-9.eE]+)";

TEST(QtHostTest, TipDeflectionAgreesWithTheClosedFormOfTheReportedModel) {
  const test::TempDir dir;
  const Outcome outcome = RunHost(dir);
  const std::vector<double> model =
      Numbers(outcome.out, "L = " + kNumber + " m, E = " + kNumber + " kN/m², I = " + kNumber +
                               " m⁴, tip load Pz = " + kNumber + " kN");
  const std::vector<double> tip = Numbers(outcome.out, "TaV " + kNumber + " m, P·L³/\\(3·E·I\\) " + kNumber + " m");
  ASSERT_EQ(model.size(), 4u) << outcome.out << outcome.err;
  ASSERT_EQ(tip.size(), 2u) << outcome.out << outcome.err;

  const double L = model[0], E = model[1], I = model[2], Pz = model[3];
  const double closedForm = Pz * L * L * L / (3 * E * I);
  ASSERT_NE(closedForm, 0.0);
  EXPECT_NEAR(tip[0], closedForm, 1e-6 * std::fabs(closedForm)) << "the analysed deflection";
  EXPECT_NEAR(tip[1], closedForm, 1e-9 * std::fabs(closedForm)) << "the host's closed form";
  EXPECT_EQ(outcome.status, 0) << outcome.err;
}

TEST(QtHostTest, RefusesASolverDirectoryWithoutTheAnalysisProgram) {
  const test::TempDir dir;
  const Outcome outcome = RunHost(dir, {dir.Path().string()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_THAT(outcome.err, HasSubstr("no analysis program TaV"));
  EXPECT_EQ(outcome.out, "");
}

}  // namespace
}  // namespace tav
