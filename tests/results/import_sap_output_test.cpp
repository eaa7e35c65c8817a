#include "tav/results/TavImportSapOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

#include "support/Fixtures.h"
#include "support/MessageLog.h"
#include "support/TempDir.h"

namespace tav::test {
namespace {

constexpr const char* kBadFile = "현재 OUT 파일이 비정상적이거나 현재의 모델링과 일치하지 않습니다 !";
constexpr const char* kCaseCount = "LoadCase 수가 일치하지 않습니다";
constexpr const char* kUnknownCase = "LoadCase 이름이 존재하지 않습니다 !";

// A case title with a MAX or MIN marker at column 32.
std::string Combination(const std::string& name, const std::string& marker) {
  std::string line = " COMB  " + name;
  line.resize(32, ' ');
  return line + marker;
}

// Three joints, two beams (five stations each), two static cases and one
// combination; only X, Z and RY are active, so short joint rows are spread.
void BuildModel(CTavData& doc) {
  doc.GetGlobalOption()->SetDOF(true, false, true, false, true, false);
  CTavGroupElement* group = AddBeamBetween(doc, {0, 0, 0}, {5, 0, 0});
  doc.AddJoint(5, 0, 3, -1);
  doc.AddBeam(group, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0);
  doc.AddLoadStatic("DL", 0);
  doc.AddLoadStatic("LL", 0);
  doc.AddCombo("ULS", TaV_COMBO_ADD);
}

// The pages of a report for that model: the head of 28 lines, then the
// displacement, restraint, spring, frame, modal, shell and link pages.
std::vector<std::string> Report() {
  std::vector<std::string> lines;
  for (int i = 1; i <= 28; ++i) lines.push_back(" PROGRAM HEADER LINE " + std::to_string(i));
  const auto page = [&lines](const std::string& title, std::initializer_list<std::string> rows) {
    lines.insert(lines.end(), {"\f", title, ""});
    lines.insert(lines.end(), rows);
  };
  page(" J O I N T   D I S P L A C E M E N T S",
       {" LOAD  DL", "  JOINT      U1        U3        R2",
        "     1   0.001   -0.002   0.0003",  // four numbers: spread by the active DOF
        "     2   1 2 3 4 5 6",              // seven: as they stand
        "     3",                            // one: not a row
        " LOAD  LL", "     1   0.5   0.6   0.7", Combination("ULS", " MAX"), "     3   9   8   7",
        Combination("ULS", " MIN"), "     3  -9  -8  -7"});
  page(" R E S T R A I N T   F O R C E S", {" LOAD  DL", "     1   10   20   30"});
  page(" S P R I N G   F O R C E S", {" LOAD  LL", "     2   1.5   2.5   3.5   4.5"});  // five on the spring page
  page(" F R A M E   E L E M E N T   F O R C E S", {" LOAD  DL", " ELEM 2"});
  for (int s = 0; s < 5; ++s) {
    lines.push_back("   " + std::to_string(0.75 * s) + "  " + std::to_string(10 + s) + " 2 3 4 5 " +
                    std::to_string(60 + s));
  }
  lines.insert(lines.end(), {" LOAD  LL", " ELEM    1",
                             "   2.5   -1   -2   -3   -4",  // five: the rest reads 0
                             "   1 2 3 4 5 6 7 8"});        // eight off the mass page: not a row
  page(" M O D A L   P E R I O D S   A N D   F R E Q U E N C I E S", {"    1    0.5    2.0    12.566    0.1"});
  page(" M O D A L   P A R T I C I P A T I N G   M A S S   R A T I O S", {"    1  0.1  0.2  0.3  0.4  0.5  0.6  0.7"});
  page(" S H E L L   E L E M   I N T E R N A L   F O R C E S   &   S T R E S S E S", {"    1 2 3 4 5 6 7"});
  page(" N L L I N K   F O R C E S", {" MOVE  TRUCK",
                                      "     1   7 7 7 7 7 7",  // not imported: not stored
                                      Combination("ULS", " MAX"), "     2   11 12 13 14 15 16"});
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const char* end) {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

// Reads the report `lines`, joined by the line end of the parameter, for
// the model above, noting the messages shown in `log`.
class ImportSapOutputTest : public ::testing::TestWithParam<const char*> {
 protected:
  int Read(CTavData& model, const std::vector<std::string>& lines) { return Read(model, Join(lines, GetParam())); }
  int Read(CTavData& model, const std::string& text, CProgressBar* progress = nullptr) {
    BuildModel(model);
    CTavImportSapOutput reader(&model);
    reader.m_pProgress = progress;
    return reader.LoadData(WriteFileBytes(dir.File("sap.out"), text));
  }
  TempDir dir;
  CTavData doc;
  MessageLog log;
};

// The report read in pieces of a long line, with the progress reported.
TEST_P(ImportSapOutputTest, EveryPageLandsWhereItBelongs) {
  class Progress : public CProgressBar {
   public:
    void SetRange(int32_t lower, int32_t upper) override { range = {lower, upper}; }
    void SetPos(int32_t position) override { positions.push_back(position); }
    std::pair<int32_t, int32_t> range{-1, -1};
    std::vector<int32_t> positions;
  };
  auto lines = Report();
  // A 150-character line: its second piece begins with blanks and numbers.
  lines.insert(lines.begin() + 40, std::string(99, 'x') + "   1   5 5 5 5 5 5");
  for (int i = 0; i < 200; ++i) lines.push_back(std::string(60, '-'));
  Progress progress;
  const std::string text = Join(lines, GetParam());
  ASSERT_EQ(Read(doc, text, &progress), 1);
  EXPECT_TRUE(log.Texts().empty());
  const auto kib = static_cast<int32_t>(text.size() / 1024);
  ASSERT_GT(kib, 10);
  EXPECT_EQ(progress.range, std::make_pair(0, kib));
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
  EXPECT_EQ(progress.positions.back(), kib);
  // The piece after the 99 characters was read as a row of the combination's
  // maximum block, which it stands in.
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(0, 2), CVector(5, 5, 5));
  // Displacements: a short row spread over X, Z, RY.
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(0, 0), CVector(0.001, 0, -0.002));
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_DISPLACEMENT, 1), CVector(0, 0.0003, 0));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 0, TaV_JOINT_DISPLACEMENT, 1), CVector(4, 5, 6));
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(0, 1), CVector(0.5, 0, 0.6));
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(2, 2), CVector(9, 0, 8));
  EXPECT_EQ(doc.GetResultValue_Joint_Displacement(2, 3), CVector(-9, 0, -8));
  // Restraint forces are reactions; the link page's values replace them.
  EXPECT_EQ(doc.GetResultValue_Joint(0, 0, TaV_JOINT_REACTION, 0), CVector(10, 0, 20));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 2, TaV_JOINT_REACTION, 0), CVector(11, 12, 13));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 2, TaV_JOINT_REACTION, 1), CVector(14, 15, 16));
  // Springs: four values in the first, second, third and fifth places.
  EXPECT_EQ(doc.GetResultValue_Joint(1, 1, TaV_JOINT_SPRING, 0), CVector(1.5, 2.5, 3.5));
  EXPECT_EQ(doc.GetResultValue_Joint(1, 1, TaV_JOINT_SPRING, 1), CVector(0, 4.5, 0));
  // Frame rows: the distance as printed and six forces, station by station.
  for (int s = 0; s < 5; ++s) {
    EXPECT_DOUBLE_EQ(doc.GetResultValue_Beam_Dist(1, 0, s), 0.75 * s);
    EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 0, s, TaV_FORCE_1), 10.0 + s);
    EXPECT_EQ(doc.GetResultValue_Beam_Force(1, 0, s, TaV_FORCE_6), 60.0 + s);
  }
  EXPECT_EQ(doc.GetResultValue_Beam_Dist(0, 1, 0), 2.5);
  EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 1, 0, TaV_FORCE_4), -4.0);
  EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 1, 0, TaV_FORCE_5), 0.0);
  EXPECT_EQ(doc.GetResultValue_Beam_Dist(0, 1, 1), 0.0);
  // The moving block was not stored anywhere.
  EXPECT_NE(doc.GetResultValue_Joint(0, 1, TaV_JOINT_REACTION, 0).x, 7.0);
}

// Edits of the report that a reader must refuse, each with its message.
TEST_P(ImportSapOutputTest, DamagedReportsAreRefusedWithTheirMessage) {
  using Lines = std::vector<std::string>;
  const auto replace = [](std::string from, std::string to) {
    return [from, to](Lines& lines) { std::replace(lines.begin(), lines.end(), from, to); };
  };
  const struct {
    const char* what;
    std::function<void(Lines&)> edit;
    const char* message;
  } cases[] = {
      {"one case block too few",
       [](Lines& lines) {
         const auto min = std::find(lines.begin(), lines.end(), Combination("ULS", " MIN"));
         lines.erase(min, min + 2);
       },
       kCaseCount},
      {"unknown name", replace(" LOAD  LL", " LOAD  SNOW"), kUnknownCase},
      {"overlong name", replace(" LOAD  LL", " LOAD  DLDLDLDLDLDL"), kUnknownCase},
      {"joint 4", replace("     2   1 2 3 4 5 6", "     4   1 2 3 4 5 6"), kBadFile},
      {"joint 0", replace("     1   0.5   0.6   0.7", "     0   0.5   0.6   0.7"), kBadFile},
      {"element 3", replace(" ELEM 2", " ELEM 3"), kBadFile},
      {"element -1", replace(" ELEM    1", " ELEM -1"), kBadFile},
      {"a sixth station",
       [](Lines& lines) { lines.insert(std::find(lines.begin(), lines.end(), " ELEM 2") + 1, "   9.0  1 2 3 4 5 6"); },
       kBadFile},
  };
  for (const auto& c : cases) {
    Lines lines = Report();
    c.edit(lines);
    CTavData model;
    MessageLog seen;
    EXPECT_EQ(Read(model, lines), 0) << c.what;
    EXPECT_EQ(seen.Texts(), std::vector<CString>{c.message}) << c.what;
    EXPECT_EQ(seen.LastType(), MB_OK | MB_ICONSTOP) << c.what;
  }
}

// A missing file, or one shorter than the head, gives 0 without a message.
TEST_P(ImportSapOutputTest, TruncatedReportsNeverWriteOutsideTheBuffers) {
  CTavImportSapOutput reader(&doc);
  EXPECT_EQ(reader.LoadData(dir.File("none.out")), 0);
  EXPECT_EQ(Read(doc, std::vector<std::string>{"1", "2", "3", "4"}), 0);
  EXPECT_TRUE(log.Texts().empty());
  const std::string full = Join(Report(), GetParam());
  for (size_t length = 0; length < full.size(); length += 7) {
    CTavData model;
    const int result = Read(model, full.substr(0, length));
    EXPECT_TRUE(result == 0 || result == 1) << length;
  }
}

// A value of the made-up results: short in print, exact in binary.
double MadeUp(int32_t item, int32_t resultCase, int value) {
  return 0.25 * ((item * 7 + value * 3 + resultCase * 11) % 4001) - 400.0;
}

// A row of the report: `first` (a joint or a distance), then six values,
// printed in plain and in exponent form by turns.
std::string Row(double first, int32_t item, int32_t resultCase) {
  std::string row = "  " + std::to_string(first);
  for (int v = 1; v <= 6; ++v) {
    char text[32];
    const auto format = v % 2 == 0 ? std::chars_format::scientific : std::chars_format::fixed;
    const auto end = std::to_chars(text, text + sizeof text, MadeUp(item, resultCase, v), format).ptr;
    row += "  " + std::string(text, end);
  }
  return row;
}

// A report of several blocks' length for a chain of joints and beams: every
// value must land in its own place whatever block boundary its row crosses.
TEST_P(ImportSapOutputTest, LongReportsLandValueByValue) {
  constexpr int32_t kJoints = 1500;
  CTavGroupElement* group = AddBeamBetween(doc, {0, 0, 0}, {1, 0, 0});
  for (int32_t j = 2; j < kJoints; ++j) {
    doc.AddJoint(j, 0, 0, -1);
    doc.AddBeam(group, 0, j - 1, j, 0, 0, 0, 0, 0, 0, 0);
  }
  doc.AddLoadStatic("DL", 0);
  doc.AddLoadStatic("LL", 0);
  const int32_t beams = doc.GetCountBeam();
  const int32_t stations = doc.GetCountResultStation();
  std::vector<std::string> lines(28, " HEADER");
  const char* names[] = {" LOAD  DL", " LOAD  LL"};
  lines.insert(lines.end(), {"\f", " J O I N T   D I S P L A C E M E N T S", ""});
  for (int32_t c = 0; c < 2; ++c) {
    lines.push_back(names[c]);
    for (int32_t j = 0; j < kJoints; ++j) lines.push_back(Row(j + 1, j, c));
  }
  // A page between, so that the frame page's case titles are not counted.
  lines.insert(lines.end(), {"\f", " R E S T R A I N T   F O R C E S", "", names[0], names[1]});
  lines.insert(lines.end(), {"\f", " F R A M E   E L E M E N T   F O R C E S", ""});
  for (int32_t c = 0; c < 2; ++c) {
    lines.push_back(names[c]);
    for (int32_t b = 0; b < beams; ++b) {
      lines.push_back(" ELEM " + std::to_string(b + 1));
      for (int32_t s = 0; s < stations; ++s) lines.push_back(Row(0.5 * s, b * stations + s, c));
    }
  }
  const std::string text = Join(lines, GetParam());
  ASSERT_GT(text.size(), size_t{1} << 20);  // several blocks of the reader
  CTavImportSapOutput reader(&doc);
  ASSERT_EQ(reader.LoadData(WriteFileBytes(dir.File("long.out"), text)), 1);
  EXPECT_TRUE(log.Texts().empty());
  for (int32_t c = 0; c < 2; ++c) {
    for (int32_t j = 0; j < kJoints; ++j) {
      const auto block = std::as_const(doc).GetResultBlock_Joint(j, c);
      for (int v = 1; v <= 6; ++v) ASSERT_EQ(block[5 + v], MadeUp(j, c, v)) << j << " " << c << " " << v;
    }
    for (int32_t b = 0; b < beams; ++b) {
      const auto block = std::as_const(doc).GetResultBlock_Beam(b, c);
      for (int32_t s = 0; s < stations; ++s) {
        ASSERT_EQ(block[7 * s], 0.5 * s);
        for (int v = 1; v <= 6; ++v) ASSERT_EQ(block[7 * s + v], MadeUp(b * stations + s, c, v)) << b << " " << s;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, ImportSapOutputTest, ::testing::Values("\n", "\r\n"));

// The forms of a number a row may hold: what strtod would read is not always
// read; a number ends a row where it stops being one.
TEST(ImportSapOutputPlainTest, NumbersAreReadOneAfterTheOther) {
  class Probe : public CTavImportSapOutput {
   public:
    using CTavImportSapOutput::CTavImportSapOutput;
    using CTavImportSapOutput::GetOneLineNumber;
  };
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    std::string_view text;
    std::vector<double> numbers;
  } cases[] = {
      {"  1 -2.5e-3 +4. .5", {1, -2.5e-3, 4, 0.5}},
      {"1-2", {1, -2}},
      {"1.5E+03 2e-1 -.5", {1500, 0.2, -0.5}},
      {"1.5D+03 7", {1.5}},  // a D exponent is not one
      {"\t1\v2\f3\r4\n5", {1, 2, 3, 4, 5}},
      {"0x1p3 7", {0}},  // nor a hexadecimal form
      {"1e 2", {1}},
      {"1e+ 2", {1}},
      {"5. 6", {5, 6}},
      {"1,5", {1}},
      {"+-1", {}},
      {"- 1", {}},
      {". 1", {}},
      {" INFINITY NAN", {}},
      {"inf 1", {}},
      {"1e400 -1e400 1e-400", {kInf, -kInf, 0}},
      {"4.9406564584124654e-324", {std::numeric_limits<double>::denorm_min()}},
      {std::string_view("12345", 2), {12}},  // never past the end of the row
      {std::string_view("1.5e3", 4), {1.5}},
      {std::string_view("1 -", 3), {1}},
  };
  for (const auto& c : cases) {
    double numbers[10];
    ASSERT_EQ(Probe::GetOneLineNumber(c.text, numbers), static_cast<int>(c.numbers.size())) << c.text;
    for (size_t i = 0; i < c.numbers.size(); ++i) EXPECT_EQ(numbers[i], c.numbers[i]) << c.text << " " << i;
    for (size_t i = c.numbers.size(); i < 10; ++i) EXPECT_EQ(numbers[i], 0.0) << c.text << " " << i;
  }
  double numbers[10];
  EXPECT_EQ(Probe::GetOneLineNumber("1 2 3 4 5 6 7 8 9 10 11 12", numbers), 12);
  EXPECT_EQ(numbers[9], 10.0);
}

}  // namespace
}  // namespace tav::test
