#include "tav/platform/Archive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/Records.h"
#include "support/TempDir.h"

namespace tav {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

CString LoadString(const std::vector<uint8_t>& bytes) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CString text;
  ar >> text;
  return text;
}

TEST(ArchiveTest, ValuesAreLittleEndian) {
  const auto bytes = test::Bytes(
      [](CArchive& ar) { ar << int32_t{-2} << uint16_t{0x1234} << uint32_t{0xA1B2C3D4} << uint8_t{0x7F} << 1.0; });
  const std::vector<uint8_t> expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1,
                                         0x7F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
  EXPECT_EQ(bytes, expected);

  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  std::tuple<int32_t, uint16_t, uint32_t, uint8_t, double> back;
  auto& [i, w, d, b, x] = back;
  ar >> i >> w >> d >> b >> x;
  EXPECT_EQ(back, std::make_tuple(-2, 0x1234, 0xA1B2C3D4U, 0x7F, 1.0));
  EXPECT_EQ(ar.GetBytesLeft(), 0U);
}

// The prefix grows at 255 and 0xFFFE bytes; the bytes of a text pass unchanged.
TEST(ArchiveTest, StringPrefixesFollowTheLength) {
  struct Case {
    size_t length;
    std::vector<uint8_t> prefix;
  };
  const Case cases[] = {
      {0, {0x00}},
      {3, {0x03}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    const CString text(c.length, 'k');
    const auto bytes = test::Bytes([&](CArchive& ar) { ar << text; });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
    EXPECT_EQ(LoadString(bytes), text) << c.length;
  }
  const CString korean = "하중 조합 1";
  EXPECT_EQ(LoadString(test::Bytes([&](CArchive& ar) { ar << korean; })), korean);
}

TEST(ArchiveTest, DamagedInputIsRejected) {
  CMemFile file({0x01, 0x00, 0x00, 0x00, 0x02, 0x00});
  CArchive ar(&file, CArchive::load);
  int32_t value = 0;
  ar >> value;
  EXPECT_THAT([&] { ar >> value; }, ThrowsMessage<ArchiveError>(HasSubstr("offset 4")));
  // A string claiming 0xFFFFFFF0 bytes with three present, before allocating.
  EXPECT_THROW(LoadString({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'}), ArchiveError);
  // The wide-character marker of other writers.
  EXPECT_THROW(LoadString({0xFF, 0xFE, 0xFF, 0x01, 'a', 0x00}), ArchiveError);

  CMemFile forty(std::vector<uint8_t>(40, 0));
  CArchive counts(&forty, CArchive::load);
  EXPECT_NO_THROW(counts.CheckCount(5, 8, "values"));
  EXPECT_NO_THROW(counts.CheckCount(0, 8, "values"));
  EXPECT_THROW(counts.CheckCount(6, 8, "values"), ArchiveError);
  EXPECT_THROW(counts.CheckCount(-1, 8, "values"), ArchiveError);
  EXPECT_THROW(counts.CheckCount(int64_t{1} << 40, 1, "values"), ArchiveError);
}

// Known bytes, each value straddling the edge of a 16-byte buffer in turn.
TEST(ArchiveTest, ValuesReadAtOnceAreLittleEndian) {
  const std::vector<uint8_t> doubles = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,   // 1.0
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0,   // -2.5
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80,   // -0.0
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x7F};  // infinity
  const std::vector<uint8_t> longs = {0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x00, 0x80};
  for (size_t skip : {0, 1, 3, 7}) {
    SCOPED_TRACE(skip);
    std::vector<uint8_t> bytes(skip, 0xAA);
    bytes.insert(bytes.end(), doubles.begin(), doubles.end());
    bytes.insert(bytes.end(), longs.begin(), longs.end());
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load, 16);
    std::vector<uint8_t> skipped(skip);
    ar.Read(skipped.data(), skipped.size());
    std::array<double, 4> x{};
    std::array<int32_t, 3> n{};
    ar.ReadValues(x);
    ar.ReadValues(n);
    EXPECT_EQ(x, (std::array{1.0, -2.5, -0.0, HUGE_VAL}));
    EXPECT_TRUE(std::signbit(x[2]));
    EXPECT_EQ(n, (std::array{-2, 0x01020304, INT32_MIN}));
    EXPECT_EQ(ar.GetOffset(), bytes.size());
  }
}

// Cut at every byte, a read gives the values wholly there and the archive's
// error at the offset of the first one missing.
TEST(ArchiveTest, ValuesReadAtOnceStopAtTheEnd) {
  std::vector<double> written(5);
  for (size_t i = 0; i < written.size(); ++i) written[i] = 1.5 * static_cast<double>(i) - 2.0;
  const auto bytes = test::Bytes([&](CArchive& ar) {
    for (double v : written) ar << v;
  });
  for (size_t bufferSize : {16, 4096}) {
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << bufferSize << " " << cut);
      CMemFile file(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
      CArchive ar(&file, CArchive::load, bufferSize);
      std::vector<double> read(written.size(), 99.0);
      const size_t whole = cut / 8;
      EXPECT_THAT([&] { ar.ReadValues(read); },
                  ThrowsMessage<ArchiveError>(HasSubstr("at offset " + std::to_string(8 * whole))));
      EXPECT_TRUE(std::equal(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(whole), read.begin()));
      EXPECT_GE(ar.GetOffset(), 8 * whole);
    }
  }
  CMemFile longs({0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00});
  CArchive ar(&longs, CArchive::load);
  std::array<int32_t, 2> n{};
  EXPECT_THAT([&] { ar.ReadValues(n); }, ThrowsMessage<ArchiveError>(HasSubstr("at offset 4")));
  EXPECT_EQ(n[0], 1);
  std::array<double, 1> x{};
  CMemFile empty;
  CArchive storing(&empty, CArchive::store);
  EXPECT_THROW(storing.ReadValues(x), ArchiveError);
  storing.Close();
  EXPECT_THROW(storing.ReadValues(x), ArchiveError);
}

// What a load holds in its 16-byte buffer, taken without the file.
TEST(ArchiveTest, BufferedBytesAreThoseReadAheadOfTheValues) {
  CMemFile file(std::vector<uint8_t>(20, 0));
  CArchive ar(&file, CArchive::load, 16);
  EXPECT_EQ(ar.GetBufferedBytes(), 0U);
  int32_t n = 0;
  double x = 0.0;
  const std::pair<std::function<void()>, size_t> reads[] = {
      {[&] { ar >> n; }, 12}, {[&] { ar >> x; }, 4}, {[&] { ar >> n; }, 0}, {[&] { ar >> n; }, 0}};
  for (const auto& [read, buffered] : reads) {
    read();
    EXPECT_EQ(ar.GetBufferedBytes(), buffered);
  }
  CMemFile empty;
  CArchive storing(&empty, CArchive::store);
  storing << int32_t{1};
  EXPECT_EQ(storing.GetBufferedBytes(), 0U);
}

// A small buffer makes every value cross buffer boundaries on both sides.
TEST(ArchiveTest, RoundTripThroughAFileWithASmallBuffer) {
  test::TempDir dir;
  const std::string path = dir.File("values.bin");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store, 16);
    for (int32_t i = 0; i < 1000; ++i)
      ar << i << static_cast<double>(i) / 7.0 << CString(static_cast<size_t>(i % 300), 'x');
    ar.Close();
  }
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeRead));
  CArchive ar(&file, CArchive::load, 16);
  for (int32_t i = 0; i < 1000; ++i) {
    std::tuple<int32_t, double, CString> back;
    auto& [n, x, text] = back;
    ar >> n >> x >> text;
    ASSERT_EQ(back, std::make_tuple(i, static_cast<double>(i) / 7.0, CString(static_cast<size_t>(i % 300), 'x')));
  }
  EXPECT_EQ(ar.GetBytesLeft(), 0U);
}

// A file whose every read fails, as a broken disk would.
struct FailingFile : CMemFile {
  size_t Read(void*, size_t) override { throw FileError("cannot read \"broken\": Input/output error"); }
};

TEST(ArchiveTest, MisuseAndFileErrorsReachTheCaller) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  int32_t value = 0;
  EXPECT_THROW(ar >> value, ArchiveError);
  ar << int32_t{1};
  ar.Close();
  EXPECT_THROW(ar << int32_t{2}, ArchiveError);
  EXPECT_EQ(file.GetData().size(), 4U);

  FailingFile broken;
  CArchive reading(&broken, CArchive::load);
  EXPECT_THROW(reading >> value, ArchiveError);

  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  CFile full;
  ASSERT_TRUE(full.Open("/dev/full", CFile::modeWrite));
  CArchive writing(&full, CArchive::store);
  writing << int32_t{1};
  EXPECT_THROW(writing.Close(), FileError);
}

}  // namespace
}  // namespace tav
