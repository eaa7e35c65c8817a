#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "support/Golden.h"
#include "support/TempDir.h"
#include "tav/document/TavData.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"
#include "tav/platform/MessageBox.h"

namespace tav {
namespace {

// Opens the protected line writer to the tests.
class WriterProbe : public CTavData {
 public:
  std::string Emit(const CString& text, int newline = 1, int wrap = 1) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    Write(ar, text, newline, wrap);
    ar.Close();
    const auto& bytes = file.GetData();
    return std::string(bytes.begin(), bytes.end());
  }
};

std::string Words(size_t count, const std::string& word) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += (i == 0 ? "" : " ") + word;
  return text;
}

TEST(TextRealTest, IntegralValuesEndInAPoint) {
  EXPECT_EQ(CTavData::GetTextReal(0.0), "0.");
  EXPECT_EQ(CTavData::GetTextReal(2.0), "2.");
  EXPECT_EQ(CTavData::GetTextReal(-12.5), "-12.5");
  EXPECT_EQ(CTavData::GetTextReal(1234567.0), "1.23457e+006");
  EXPECT_EQ(CTavData::GetTextReal(1e10), "1e+010.");
  EXPECT_EQ(CTavData::GetTextReal(0.0001), "0.0001");
  EXPECT_EQ(CTavData::GetTextReal(0.00001), "1e-005.");
  EXPECT_EQ(CTavData::GetTextReal(-3.0), "-3.");
}

TEST(TextRealTest, FullPrecisionWritesTheShortestTextThatReadsBack) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {123456.25, "123456.25"},
      {1234567.0, "1234567."},  // seven digits stay positional, as "%.7g" would
      {2.2360679774997898, "2.23606797749979"},
      {0.0021333333333333334, "0.0021333333333333334"},
      {0.30000000000000004, "0.30000000000000004"},
      {1.2345678901234567e20, "1.2345678901234567e+020"},
      {1e10, "1e+010."},
      {1e-5, "1e-005."},
      {0.0001, "0.0001"},
      {5e-324, "5e-324."},
      {-0.0, "-0."},
      {-12.5, "-12.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetRealText(c.value, TaV_PRECISION_FULL), c.text) << c.text;
  EXPECT_EQ(GetPlainRealText(2.0, TaV_PRECISION_FULL), "2");
  EXPECT_EQ(GetPlainRealText(0.1234567, TaV_PRECISION_FULL), "0.1234567");
}

TEST(TextRealTest, FullPrecisionReadsBackExactlyAndMatchesSixDigitsWhereTheyAreEnough) {
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t bits = random();
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const CString text = GetRealText(value, TaV_PRECISION_FULL);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
  // A value of at most six significant digits has one text in both forms.
  std::uniform_int_distribution<int> digits(1, 6), exponent(-12, 12), mantissa(0, 999999);
  for (int i = 0; i < 20000; ++i) {
    const int kept = digits(random);
    const double value =
        std::strtod(Format("%.*e", kept - 1, mantissa(random) * std::pow(10.0, exponent(random))).c_str(), nullptr);
    EXPECT_EQ(GetRealText(value, TaV_PRECISION_FULL), GetRealText(value)) << value;
  }
}

TEST(WrapTest, StatementsAreCutBeforeColumnEighty) {
  const std::string c72(72, 'c'), d69(69, 'd'), token(78, 'T'), longToken(90, 'L');
  struct Case {
    std::string statement;
    int newline, wrap;
    std::string written;
  };
  const Case cases[] = {
      // 79 characters pass unchanged; 80 are reflowed even when they would fit.
      {"  a   b" + c72, 1, 1, "  a   b" + c72 + "\r\n"},
      {"A  B   C" + d69 + "   ", 1, 1, "A B C" + d69 + "\r\n"},
      // Continuation lines are indented two deeper and marked in column 80.
      {"   " + Words(20, "WORD"), 1, 1, "   " + Words(15, "WORD") + "  *\r\n     " + Words(5, "WORD") + "\r\n"},
      // A first token too long gives a line of blanks first.
      {"  " + token, 1, 1, std::string(79, ' ') + "*\r\n    " + token + "\r\n"},
      // A token too long for the room left carries the mark beyond column 80.
      {"A " + longToken + " B", 1, 1, "A" + std::string(78, ' ') + "*\r\n  " + longToken + " *\r\n  B\r\n"},
      // Without wrapping, or without a line end.
      {Words(30, "SAP"), 1, 0, Words(30, "SAP") + "\r\n"},
      {"  ", 0, 1, "  "},
      {"", 1, 1, "\r\n"},
  };
  WriterProbe probe;
  for (const Case& c : cases) EXPECT_EQ(probe.Emit(c.statement, c.newline, c.wrap), c.written) << c.statement;
}

TEST(WrapTest, LongStatementsTakeAsManyLinesAsTheyNeed) {
  WriterProbe probe;
  const std::string written = probe.Emit(Words(60, "ABCDEFGH"));
  size_t lines = 0;
  size_t begin = 0;
  while (begin < written.size()) {
    const size_t end = written.find("\r\n", begin);
    const std::string line = written.substr(begin, end - begin);
    const bool last = end + 2 == written.size();
    if (!last) {
      EXPECT_EQ(line.size(), 80U) << line;
      EXPECT_EQ(line.back(), '*') << line;
    }
    if (lines > 0) {
      EXPECT_EQ(line.rfind("  A", 0), 0U) << line;
    }
    begin = end + 2;
    ++lines;
  }
  EXPECT_EQ(lines, 8U);
}

TEST(SaveTest, EmptyPathAsksTheDialog) {
  CTavData doc;
  test::TempDir dir;
  EXPECT_EQ(doc.Save("", TaV_FORMAT_TAV), 0);  // the default dialog cancels

  CString seenFilter;
  const std::string chosen = dir.File("chosen.TaV");
  SetSaveFileDialogHandler([&](const CString& filter, CString& path) {
    seenFilter = filter;
    path = chosen;
    return true;
  });
  EXPECT_EQ(doc.Save("", TaV_FORMAT_TAV), 1);
  SetSaveFileDialogHandler(nullptr);
  EXPECT_EQ(seenFilter, "TaV 파일 저장 (*.TaV)|*.TaV||");
  EXPECT_TRUE(std::filesystem::exists(chosen));
}

TEST(SaveTest, AFileThatCannotBeOpenedGivesZero) {
  CTavData doc;
  test::TempDir dir;
  EXPECT_EQ(doc.Save(dir.File("no/such/dir/model.tav"), TaV_FORMAT_TAV), 0);
  EXPECT_EQ(doc.Save(dir.Path().string(), TaV_FORMAT_TAV), 0);
}

TEST(SaveTest, AnExistingFileIsReplacedAndWritingTwiceGivesTheSameBytes) {
  CTavData doc;
  doc.SetTitle("TWICE");
  doc.AddJoint(1, 2, 3, -1);
  test::TempDir dir;
  const std::string path = dir.File("model.tav");
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  const std::string first = test::ReadFileBytes(path);
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  EXPECT_EQ(test::ReadFileBytes(path), first);

  doc.SetTitle("T");
  ASSERT_EQ(doc.Save(path, TaV_FORMAT_TAV), 1);
  EXPECT_EQ(test::ReadFileBytes(path).size(), first.size() - 4);
}

TEST(SaveTest, AnUnknownFormatGivesAnEmptyFile) {
  CTavData doc;
  doc.AddJoint(0, 0, 0, -1);
  EXPECT_EQ(test::SaveToString(doc, static_cast<TaV_INPUT_FORMAT>(7)), "");
  EXPECT_EQ(test::SaveToString(doc, static_cast<TaV_INPUT_FORMAT>(-1)), "");
}

TEST(SaveTest, AWriteErrorReachesTheHost) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  CTavData doc;
  EXPECT_THROW(doc.Save("/dev/full", TaV_FORMAT_TAV), FileError);
}

TEST(ValueRatioTest, ScalesByTheLargerResultExtreme) {
  CTavData doc;
  EXPECT_DOUBLE_EQ(doc.GetValueRatio(5e9), 0.5);
  EXPECT_DOUBLE_EQ(doc.GetValueRatio(-1e10), -1.0);
}

}  // namespace
}  // namespace tav
