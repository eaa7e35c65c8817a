#include "tav/util/Tokenize.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

const CString kComment = "//";

CStringArray Tokens(const CString& text, int skipEmpty = 0, char separator = ' ') {
  CStringArray out = {"stale"};
  TokenizeText(out, text, separator, &kComment, skipEmpty);
  return out;
}

TEST(TokenizeTextTest, EveryBlankEndsATokenAfterTheCommentIsCut) {
  EXPECT_EQ(Tokens("0.25 0.5"), (CStringArray{"0.25", "0.5"}));
  EXPECT_EQ(Tokens("0.25  0.5"), (CStringArray{"0.25", "", "0.5"}));
  EXPECT_EQ(Tokens("0.25   0.5"), (CStringArray{"0.25", "", "", "0.5"}));
  EXPECT_EQ(Tokens(" a"), (CStringArray{"", "a"}));
  EXPECT_EQ(Tokens("a "), (CStringArray{"a", ""}));
  EXPECT_EQ(Tokens("a"), (CStringArray{"a"}));
  EXPECT_EQ(Tokens("0.25 0.5 // damping of the deck"), (CStringArray{"0.25", "0.5", ""}));
  EXPECT_EQ(Tokens("0.25//0.5"), (CStringArray{"0.25"}));
  EXPECT_EQ(Tokens("\t1.5\t 2"), (CStringArray{"1.5", "2"}));  // tabs are trimmed, not blanks
  EXPECT_EQ(Tokens(" 1  2 ", 1), (CStringArray{"1", "2"}));
  EXPECT_EQ(Tokens("a,,b", 0, ','), (CStringArray{"a", "", "b"}));
}

TEST(TokenizeTextTest, NothingToSplitLeavesTheOutputAlone) {
  for (const CString text : {"", "   ", "// only a comment", "   // blanks and a comment"}) {
    CStringArray out = {"kept"};
    EXPECT_EQ(TokenizeText(out, text, ' ', &kComment, 0), 0) << text;
    EXPECT_EQ(out, CStringArray{"kept"}) << text;
  }
  CStringArray out;
  EXPECT_EQ(TokenizeText(out, "\t", ' ', &kComment, 0), 1);
  EXPECT_EQ(out, CStringArray{""});
  EXPECT_EQ(TokenizeText(out, "x // y", ' ', nullptr, 0), 1);
  EXPECT_EQ(out, (CStringArray{"x", "//", "y"}));
}

TEST(SplitAtBlanksTest, RunsOfBlanksSeparateAndTheArrayIsAppended) {
  CStringArray words = {"first"};
  SplitAtBlanks("  1  2 3\t4 ", words);
  EXPECT_EQ(words, (CStringArray{"first", "1", "2", "3\t4"}));
  SplitAtBlanks("   ", words);
  EXPECT_EQ(words.size(), 4U);
}

}  // namespace
}  // namespace tav
