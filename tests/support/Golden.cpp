#include "support/Golden.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/TempDir.h"

namespace tav::test {
namespace {

std::vector<std::string> SplitKeepingEnds(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t begin = 0, end = 0; begin < text.size(); begin = end) {
    end = std::min(text.find('\n', begin), text.size() - 1) + 1;
    lines.push_back(text.substr(begin, end - begin));
  }
  return lines;
}

// The line in quotes, its CR and LF written as \r and \n.
std::string Visible(const std::string& line) {
  std::string out = "\"";
  for (char c : line) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out + "\"";
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string GoldenPath(const std::string& name) { return std::string(TAV_GOLDEN_DIR) + "/" + name; }

::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual) {
  const std::string path = GoldenPath(name);
  const char* update = std::getenv("TAV_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return ::testing::AssertionSuccess() << "rewrote " << path;
  }
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return ::testing::AssertionFailure() << "golden file " << path << " is missing";
  const std::string expected = ReadFileBytes(path);
  if (expected == actual) return ::testing::AssertionSuccess();

  const auto want = SplitKeepingEnds(expected);
  const auto got = SplitKeepingEnds(actual);
  size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  auto failure = ::testing::AssertionFailure();
  failure << "written file differs from " << name << " at line " << (line + 1)
          << "\n  expected: " << (line < want.size() ? Visible(want[line]) : "<end of file>")
          << "\n  actual:   " << (line < got.size() ? Visible(got[line]) : "<end of file>");
  return failure;
}

std::string CrLfLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string SaveToString(CTavData& doc, TaV_INPUT_FORMAT format) {
  TempDir dir;
  const std::string path = dir.File("model.out");
  if (doc.Save(path, format) != 1) {
    ADD_FAILURE() << "Save failed for " << path;
    return {};
  }
  return ReadFileBytes(path);
}

}  // namespace tav::test
