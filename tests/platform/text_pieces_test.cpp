#include "tav/platform/TextPieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/Fixtures.h"
#include "support/TempDir.h"
#include "tav/platform/TextFile.h"

namespace tav::test {
namespace {

using namespace std::string_literals;

struct Piece {
  std::string text;
  uint64_t position;
  int64_t line;
  bool operator==(const Piece&) const = default;
};

// The pieces CStdioFile::ReadString cuts, each as the text a reader sees (up
// to its line end or a NUL), with the file position after it and its line.
std::vector<Piece> ByReadString(const std::string& path, size_t longest) {
  CStdioFile file;
  EXPECT_TRUE(file.Open(path));
  std::vector<Piece> pieces;
  std::string buffer(longest + 1, '\0');
  int64_t line = 1;
  for (;;) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    if (!file.ReadString(buffer.data(), buffer.size())) break;
    std::string text(buffer.c_str());
    if (text.ends_with('\n')) text.pop_back();
    pieces.push_back({text, file.GetPosition(), line});
    // Only a piece's last character can be a line feed; a NUL may hide it.
    if (buffer.find('\n') != std::string::npos) ++line;
  }
  return pieces;
}

std::vector<Piece> ByPieces(CTextPieces& pieces) {
  std::vector<Piece> all;
  for (std::string_view text; pieces.Next(text);)
    all.push_back({std::string(text), pieces.GetPosition(), pieces.GetLine()});
  return all;
}

// Text of short and long lines, CR LF and lone CR, NULs and form feeds, the
// last line without its end.
std::string Scramble(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  const std::string alphabet = "ab  1.5\r\n\r\n\n\f\0x"s;
  std::string text;
  while (text.size() < size) {
    const size_t run = random() % 3 == 0 ? random() % 250 : random() % 8;
    text.append(run, 'y');
    text += alphabet[random() % alphabet.size()];
  }
  return text;
}

TEST(TextPiecesTest, CutsAsReadStringDoesAcrossEveryBlockSize) {
  TempDir dir;
  const std::vector<std::string> texts = {"",
                                          "a",
                                          "\n",
                                          "\r",
                                          "\r\n",
                                          "ab\r\ncd",
                                          "abc\r",
                                          "a\0b\nc\r\0\n"s,
                                          std::string(98, 'x') + "\r\n" + "y",
                                          std::string(99, 'x') + "\r\n",
                                          std::string(99, 'x') + "\n",
                                          std::string(300, 'x'),
                                          Scramble(5000, 1),
                                          Scramble(20000, 2)};
  for (const size_t longest : {size_t{1}, size_t{2}, size_t{99}}) {
    for (const std::string& text : texts) {
      const std::string path = WriteFileBytes(dir.File("t.txt"), text);
      const std::vector<Piece> expected = ByReadString(path, longest);
      for (const size_t block : {size_t{1}, size_t{201}, size_t{256}, size_t{4096}, size_t{1} << 18}) {
        CTextPieces pieces(longest, block);
        ASSERT_TRUE(pieces.Open(path));
        EXPECT_EQ(pieces.GetLength(), text.size());
        EXPECT_EQ(ByPieces(pieces), expected) << longest << " " << block << " " << text.size();
        pieces.Rewind();
        EXPECT_EQ(ByPieces(pieces), expected) << "again";
      }
    }
  }
}

TEST(TextPiecesTest, MissingFileAndGoneFile) {
  TempDir dir;
  CTextPieces pieces(99);
  EXPECT_FALSE(pieces.Open(dir.File("none.txt")));
  std::string_view text;
  EXPECT_THROW(pieces.Next(text), FileError);
  const std::string path = WriteFileBytes(dir.File("t.txt"), std::string("a\nb\n"));
  ASSERT_TRUE(pieces.Open(path));
  ASSERT_TRUE(pieces.Next(text));
  EXPECT_EQ(text, "a");
  std::filesystem::remove(path);
  EXPECT_THROW(pieces.Rewind(), FileError);
}

}  // namespace
}  // namespace tav::test
