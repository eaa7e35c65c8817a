#include "analysis/InputLexer.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "analysis/InputReader.h"
#include "tav/util/Numbers.h"

namespace tav::analysis {
namespace {

// A statement of this length or more is written wrapped: every line but its
// last ends with the continuation mark, normally in this very column.
constexpr size_t kWrapLength = 80;
constexpr char kContinuationMark = '*';

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(std::string_view line) { return std::all_of(line.begin(), line.end(), IsBlankChar); }

// The mark alone does not make a continuation: only a line at least as long
// as a wrapped one can end in a mark the writer put there.
bool IsContinued(std::string_view line) { return line.size() >= kWrapLength && line.back() == kContinuationMark; }

// The decimal exponent after the "e" of a real's text, trailing point
// allowed; far beyond any double's range it is cut to a bound that still
// gives 0 or infinity as a power of ten.
int64_t ExponentOf(std::string_view text) {
  constexpr int64_t kBeyondAnyDouble = 100000;
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  int64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error != std::errc() || magnitude > kBeyondAnyDouble) magnitude = kBeyondAnyDouble;
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view text) {
  // Plain loops: a statement is a few dozen characters, and a search per
  // character through a set of separators costs more than the words.
  const auto separates = [](char c) { return c == ' ' || c == '\t'; };
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!separates(text[i]) && (i == 0 || separates(text[i - 1]))) ++count;
  }
  std::vector<std::string> words;
  words.reserve(count);
  size_t begin = 0;
  for (;;) {
    while (begin < text.size() && separates(text[begin])) ++begin;
    if (begin == text.size()) return words;
    size_t end = begin;
    while (end < text.size() && !separates(text[end])) ++end;
    words.emplace_back(text.substr(begin, end - begin));
    begin = end;
  }
}

// ---- Lines and statements ---------------------------------------------------

std::optional<Statement> LineSource::NextStatement() {
  std::string line;
  do {
    if (!ReadLine(line)) return std::nullopt;
  } while (IsBlank(line));

  Statement statement;
  statement.line = m_lineNumber;
  for (bool first = true;; first = false) {
    // The indentation of a continuation line is not part of the text; the
    // mark is looked for on the line as written.
    std::string_view piece = line;
    if (!first) piece.remove_prefix(std::min(piece.find_first_not_of(" \t"), piece.size()));
    if (!IsContinued(line)) {
      statement.text += piece;
      break;
    }
    piece.remove_suffix(1);
    piece = piece.substr(0, piece.find_last_not_of(" \t") + 1);  // npos + 1 == 0 leaves nothing of blanks
    statement.text += piece;
    statement.text += ' ';
    if (!ReadLine(line)) throw InputError(m_lineNumber, "the input ends after a continuation mark");
  }
  statement.words = SplitWords(statement.text);
  return statement;
}

std::optional<Statement> LineSource::NextLine() {
  std::string line;
  if (!ReadLine(line)) return std::nullopt;
  Statement statement;
  statement.line = m_lineNumber;
  statement.words = SplitWords(line);
  statement.text = std::move(line);
  return statement;
}

bool LineSource::ReadLine(std::string& line) {
  if (!std::getline(m_in, line)) {
    if (m_in.bad()) throw InputError(m_lineNumber + 1, "the input cannot be read");
    return false;
  }
  ++m_lineNumber;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// ---- Keys and numbers -------------------------------------------------------

KeyValue SplitKey(std::string_view word) {
  const size_t equals = word.find('=');
  if (equals == std::string_view::npos) return {word, {}, false};
  return {word.substr(0, equals), word.substr(equals + 1), true};
}

std::optional<int> ParseInteger(std::string_view text) {
  int value = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  if (text.empty() || error != std::errc() || end != last) return std::nullopt;
  return value;
}

// Reals are written with "%g", or in full precision as the shortest text
// that reads back to the same double, both mostly with a point appended
// when the text has none, so the point may also follow an exponent
// ("1e+010."; after an exponent it is taken even when the digits before
// hold a point). The number must fill the word but for that one point.
std::optional<double> ParseReal(std::string_view text) {
  const std::string copy(text);
  const char* end = nullptr;
  const double value = ParseLeadingDouble(copy.c_str(), &end);
  const std::string_view read(copy.c_str(), static_cast<size_t>(end - copy.c_str()));
  const std::string_view rest(end);
  if (read.empty() || !std::isfinite(value)) return std::nullopt;
  const bool pointAppended =
      read.find('.') == std::string_view::npos || read.find_first_of("eE") != std::string_view::npos;
  if (rest.empty() || (rest == "." && pointAppended)) return value;
  return std::nullopt;
}

// How far the number a real's text stands for may lie from the value read:
// half a unit in the last digit the text stands for. "%g" writes six
// significant digits and drops the zeros that end them, so a text of six or
// fewer significant digits may be a number rounded in its sixth; a longer
// one (full precision, which reads back to the very number) is taken to its
// last written digit. A zero is exact: "%g" writes no other number as 0.
double TextResolution(std::string_view text) {
  const size_t e = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, e);
  const size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  // Places as powers of ten: the units digit is 0, the first decimal -1.
  const int64_t digitsBeforePoint = std::count_if(whole.begin(), whole.end(), IsDigit);
  std::optional<int64_t> first;  // of the first digit that is not 0
  int64_t place = digitsBeforePoint - 1;
  for (const char c : mantissa) {
    if (!IsDigit(c)) continue;
    if (c != '0') {
      first = place;
      break;
    }
    --place;
  }
  if (!first) return 0.0;
  const int64_t last = -std::count_if(fraction.begin(), fraction.end(), IsDigit);
  constexpr int64_t kWrittenDigits = 6;  // of "%g"
  const int64_t exponent = e == std::string_view::npos ? 0 : ExponentOf(text.substr(e + 1));
  const int64_t resolved = std::min(last, *first - (kWrittenDigits - 1)) + exponent;
  return 0.5 * std::pow(10.0, static_cast<double>(resolved));
}

// ---- Messages ---------------------------------------------------------------

std::string Quote(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text).push_back('"');
  return quoted;
}

std::string Excerpt(const Statement& statement) {
  constexpr size_t kLongest = 40;
  std::string text;
  for (const std::string& word : statement.words) {
    if (!text.empty()) text += ' ';
    text += word;
  }
  if (text.size() > kLongest) text = text.substr(0, kLongest) + "...";
  return Quote(text);
}

std::string Unexpected(std::string_view word) {
  const KeyValue split = SplitKey(word);
  const bool named = split.hasValue || (!word.empty() && std::isalpha(static_cast<unsigned char>(word[0])) != 0);
  return named ? "unknown keyword " + Quote(split.key) : "unexpected " + Quote(word);
}

// ---- Words of a statement ---------------------------------------------------

void Words::Fail(const std::string& message) const { throw InputError(Line(), message); }

std::string_view Words::Take(std::string_view what) {
  if (AtEnd()) Fail("the statement ends before " + std::string(what));
  return m_statement.words[m_next++];
}

bool Words::Accept(std::string_view word) {
  if (AtEnd() || Peek() != word) return false;
  ++m_next;
  return true;
}

void Words::Expect(std::string_view word) {
  const std::string_view found = Take(word);
  if (found != word) Fail("expected " + std::string(word) + " but found " + Quote(found));
}

void Words::ExpectEnd() const {
  if (!AtEnd()) Fail(Unexpected(Peek()));
}

bool Words::PeekKey(std::string_view key) const {
  const KeyValue split = SplitKey(Peek());
  return split.hasValue && split.key == key;
}

std::string_view Words::Value(std::string_view key) {
  if (AtEnd()) Fail("missing " + std::string(key) + "=");
  if (!PeekKey(key)) Fail("expected " + std::string(key) + "= but found " + Quote(Peek()));
  return SplitKey(m_statement.words[m_next++]).value;
}

int Words::Integer(std::string_view text, std::string_view what) const {
  const std::optional<int> value = ParseInteger(text);
  if (!value) Fail("malformed number " + Quote(text) + " for " + std::string(what));
  return *value;
}

double Words::Real(std::string_view text, std::string_view what) const {
  const std::optional<double> value = ParseReal(text);
  if (!value) Fail("malformed number " + Quote(text) + " for " + std::string(what));
  return *value;
}

RealReading Words::Reading(std::string_view text, std::string_view what) const {
  return {Real(text, what), TextResolution(text)};
}

int Words::Number(std::string_view text, std::string_view what) const {
  const int number = Integer(text, what);
  if (number < 1) Fail(std::string(what) + " " + std::to_string(number) + " is not a number from 1 on");
  return number - 1;
}

std::string TakeUntil(Words& words, std::string_view stop) {
  std::string text;
  while (!words.Accept(stop)) {
    if (!text.empty()) text += ' ';
    text += words.Take(stop);
  }
  return text;
}

std::string TakeRest(Words& words) {
  std::string text;
  while (!words.AtEnd()) {
    if (!text.empty()) text += ' ';
    text += words.Take({});
  }
  return text;
}

std::string_view SkipToKey(Words& words, std::string_view key) {
  while (!words.PeekKey(key)) words.Take(std::string(key) + "=");
  return words.Value(key);
}

}  // namespace tav::analysis
