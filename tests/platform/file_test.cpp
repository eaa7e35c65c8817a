#include "tav/platform/File.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/Golden.h"
#include "support/TempDir.h"

namespace tav {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

TEST(FileTest, OpenCreateReadAndWrite) {
  test::TempDir dir;
  CFile file;
  CString reason;
  EXPECT_FALSE(file.Open(dir.File("missing/model.tav"), CFile::modeRead, &reason));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(reason.empty());

  const std::string path = dir.File("a.txt");
  std::ofstream(path) << "0123456789";
  ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::modeNoTruncate));
  EXPECT_EQ(file.GetLength(), 10U);
  file.Close();
  ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
  file.Write("ab", 2);
  EXPECT_EQ(file.GetPosition(), 2U);
  file.Close();
  EXPECT_EQ(test::ReadFileBytes(path), "ab");

  ASSERT_TRUE(file.Open(path, CFile::modeRead));
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 2U);
  EXPECT_EQ(std::string(buffer, 2), "ab");
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0U);
}

TEST(FileTest, MemFileReadsWhatWasWritten) {
  CMemFile file;
  file.Write("hello", 5);
  file.Write(" world", 6);
  EXPECT_EQ(file.GetLength(), 11U);
  file.SeekToBegin();
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 5), 5U);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  EXPECT_EQ(file.Read(buffer, 16), 6U);
  EXPECT_EQ(file.Read(buffer, 16), 0U);
}

TEST(FileTest, AFullDeviceThrowsAnErrorNamingTheFile) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  CFile file;
  ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
  EXPECT_THAT([&] { file.Write("data", 4); }, ThrowsMessage<FileError>(HasSubstr("/dev/full")));
}

std::vector<std::string> Names(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Without a commit nothing is left and the target stays; a commit replaces
// it with a file of the usual permissions.
TEST(ReplacingFileTest, OnlyACommitReplacesTheTarget) {
  test::TempDir dir;
  const std::string target = dir.File("model.tvo");
  std::ofstream(target) << "old";
  {
    CReplacingFile replacing(target);
    std::ofstream(replacing.TemporaryPath()) << "half";
  }
  EXPECT_EQ(test::ReadFileBytes(target), "old");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"model.tvo"});

  const mode_t previous = ::umask(022);
  {
    CReplacingFile replacing(target);
    std::ofstream(replacing.TemporaryPath()) << "new";
    EXPECT_EQ(test::ReadFileBytes(target), "old");  // untouched until the commit
    replacing.Commit();
  }
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
  ::umask(077);
  { CReplacingFile(dir.File("private")).Commit(); }
  ASSERT_EQ(::stat(dir.File("private").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  ::umask(previous);
  EXPECT_EQ(test::ReadFileBytes(target), "new");
  EXPECT_EQ(Names(dir).size(), 2u);
  EXPECT_THAT([&] { CReplacingFile nowhere(dir.File("missing/model.tvo")); },
              ThrowsMessage<FileError>(HasSubstr("missing/model.tvo")));
}

}  // namespace
}  // namespace tav
