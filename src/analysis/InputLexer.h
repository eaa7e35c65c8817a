// The words of the own solver input: physical lines joined into statements
// (a statement too long for a line is wrapped with a continuation mark),
// statements split into blank-separated words, words read as keys, values
// and numbers, and each real's resolution: how far the number its text
// stands for may lie from the value read.
#pragma once

#include <algorithm>
#include <array>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tav::analysis {

struct Statement {
  int line = 0;                    // its first physical line, 1-based
  std::string text;                // its lines joined with a blank, marks dropped
  std::vector<std::string> words;  // the blank-separated words of `text`
};

std::vector<std::string> SplitWords(std::string_view text);

class LineSource {
 public:
  explicit LineSource(std::istream& in) : m_in(in) {}

  // The next statement with its continuation lines joined; blank lines are
  // skipped. Empty at the end of the input.
  std::optional<Statement> NextStatement();
  // The next physical line as it stands, blank or not, never joined. Empty
  // at the end of the input.
  std::optional<Statement> NextLine();
  // The number of the last line read.
  int LineNumber() const { return m_lineNumber; }

 private:
  bool ReadLine(std::string& line);

  std::istream& m_in;
  int m_lineNumber = 0;
};

// A word "KEY=value", or a word without "=" (then all key).
struct KeyValue {
  std::string_view key;
  std::string_view value;
  bool hasValue = false;  // the word holds "="
};

KeyValue SplitKey(std::string_view word);
std::optional<int> ParseInteger(std::string_view text);
// A real as the writers print it; none when the text is not one.
std::optional<double> ParseReal(std::string_view text);
// Half a unit in the last digit a real's text stands for; 0 for zero.
double TextResolution(std::string_view text);

// A real and the resolution of its text.
struct RealReading {
  double value = 0.0;
  double resolution = 0.0;
};

std::string Quote(std::string_view text);
// The statement as a message shows it: single blanks, cut when long.
std::string Excerpt(const Statement& statement);
// The message for a word that has no place where it stands.
std::string Unexpected(std::string_view word);

// A cursor over the words of one statement; every failure is an InputError
// at the statement's first line.
class Words {
 public:
  explicit Words(const Statement& statement) : m_statement(statement) {}

  int Line() const { return m_statement.line; }
  const Statement& GetStatement() const { return m_statement; }
  [[noreturn]] void Fail(const std::string& message) const;

  bool AtEnd() const { return m_next >= m_statement.words.size(); }
  std::string_view Peek() const { return AtEnd() ? std::string_view() : std::string_view(m_statement.words[m_next]); }
  void Skip(size_t count) { m_next = std::min(m_next + count, m_statement.words.size()); }

  // The next word; `what` names it should the statement end before it.
  std::string_view Take(std::string_view what);
  bool Accept(std::string_view word);
  void Expect(std::string_view word);
  void ExpectEnd() const;

  // Whether the next word is "KEY=...".
  bool PeekKey(std::string_view key) const;
  // The value of the next word, which must be "KEY=value" (the value may be
  // empty).
  std::string_view Value(std::string_view key);

  int Integer(std::string_view text, std::string_view what) const;
  double Real(std::string_view text, std::string_view what) const;
  RealReading Reading(std::string_view text, std::string_view what) const;
  // An object number, 1-based in the file, returned 0-based.
  int Number(std::string_view text, std::string_view what) const;

  int NextInteger(std::string_view what) { return Integer(Take(what), what); }
  double NextReal(std::string_view what) { return Real(Take(what), what); }
  RealReading NextReading(std::string_view what) { return Reading(Take(what), what); }
  int NextNumber(std::string_view what) { return Number(Take(what), what); }
  int IntegerValue(std::string_view key) { return Integer(Value(key), std::string(key) + "="); }
  double RealValue(std::string_view key) { return Real(Value(key), std::string(key) + "="); }
  RealReading ReadingValue(std::string_view key) { return Reading(Value(key), std::string(key) + "="); }
  int NumberValue(std::string_view key) { return Number(Value(key), std::string(key) + "="); }

 private:
  const Statement& m_statement;
  size_t m_next = 0;
};

// The words up to `stop`, joined with blanks; `stop` itself is consumed.
std::string TakeUntil(Words& words, std::string_view stop);
// The remaining words, joined with blanks.
std::string TakeRest(Words& words);
// Consumes words up to and including the next "KEY=value" one and returns
// its value; what comes before is free text.
std::string_view SkipToKey(Words& words, std::string_view key);

// Reads words "NAME=real" whose names are among `names` into `values`, up
// to the first word of another form; returns which names were given.
template <typename Name, size_t N>
std::array<bool, N> ReadNamedReals(Words& words, const std::array<Name, N>& names, std::array<RealReading, N>& values) {
  std::array<bool, N> given = {};
  while (!words.AtEnd()) {
    const KeyValue split = SplitKey(words.Peek());
    const auto name = std::find(names.begin(), names.end(), split.key);
    if (!split.hasValue || name == names.end()) break;
    const auto i = static_cast<size_t>(name - names.begin());
    if (given[i]) words.Fail(std::string(split.key) + "= is given twice");
    values[i] = words.ReadingValue(split.key);
    given[i] = true;
  }
  return given;
}

template <typename Name, size_t N>
std::array<bool, N> ReadNamedReals(Words& words, const std::array<Name, N>& names, std::array<double, N>& values) {
  std::array<RealReading, N> readings;
  const std::array<bool, N> given = ReadNamedReals(words, names, readings);
  for (size_t i = 0; i < N; ++i) {
    if (given[i]) values[i] = readings[i].value;
  }
  return given;
}

}  // namespace tav::analysis
