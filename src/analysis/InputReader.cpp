#include "analysis/InputReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "tav/util/Numbers.h"

namespace tav::analysis {

InputError::InputError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message), m_line(line) {}

namespace {

// ---- Physical lines and statements -----------------------------------------

// A statement of this length or more is written wrapped: every line but its
// last ends with the continuation mark, normally in this very column.
constexpr size_t kWrapLength = 80;
constexpr char kContinuationMark = '*';

struct Statement {
  int line = 0;                    // its first physical line, 1-based
  std::string text;                // its lines joined with a blank, marks dropped
  std::vector<std::string> words;  // the blank-separated words of `text`
};

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(std::string_view line) { return std::all_of(line.begin(), line.end(), IsBlankChar); }

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t begin = 0;
  while ((begin = text.find_first_not_of(" \t", begin)) != std::string_view::npos) {
    const size_t end = std::min(text.find_first_of(" \t", begin), text.size());
    words.emplace_back(text.substr(begin, end - begin));
    begin = end;
  }
  return words;
}

// The mark alone does not make a continuation: only a line at least as long
// as a wrapped one can end in a mark the writer put there.
bool IsContinued(std::string_view line) { return line.size() >= kWrapLength && line.back() == kContinuationMark; }

class LineSource {
 public:
  explicit LineSource(std::istream& in) : m_in(in) {}

  // The next statement with its continuation lines joined; blank lines are
  // skipped. Empty at the end of the input.
  std::optional<Statement> NextStatement() {
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

  // The next physical line as it stands, blank or not, never joined. Empty
  // at the end of the input.
  std::optional<Statement> NextLine() {
    std::string line;
    if (!ReadLine(line)) return std::nullopt;
    Statement statement;
    statement.line = m_lineNumber;
    statement.words = SplitWords(line);
    statement.text = std::move(line);
    return statement;
  }

  // The number of the last line read.
  int LineNumber() const { return m_lineNumber; }

 private:
  bool ReadLine(std::string& line) {
    if (!std::getline(m_in, line)) {
      if (m_in.bad()) throw InputError(m_lineNumber + 1, "the input cannot be read");
      return false;
    }
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }

  std::istream& m_in;
  int m_lineNumber = 0;
};

// ---- Words and numbers -------------------------------------------------------

// The most segments a beam's results may be divided into (the NREG of a beam
// statement): as many as a model may ask for.
constexpr int kMaxSegments = 1000;

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The statement as a message shows it: single blanks, cut when long.
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

struct KeyValue {
  std::string_view key;
  std::string_view value;
  bool hasValue = false;  // the word holds "="
};

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

// A real and the resolution of its text.
struct RealReading {
  double value = 0.0;
  double resolution = 0.0;
};

// The message for a word that has no place where it stands.
std::string Unexpected(std::string_view word) {
  const KeyValue split = SplitKey(word);
  const bool named = split.hasValue || (!word.empty() && std::isalpha(static_cast<unsigned char>(word[0])) != 0);
  return named ? "unknown keyword " + Quote(split.key) : "unexpected " + Quote(word);
}

// A cursor over the words of one statement; every failure names the
// statement's first line.
class Words {
 public:
  explicit Words(const Statement& statement) : m_statement(statement) {}

  int Line() const { return m_statement.line; }
  const Statement& GetStatement() const { return m_statement; }
  [[noreturn]] void Fail(const std::string& message) const { throw InputError(Line(), message); }

  bool AtEnd() const { return m_next >= m_statement.words.size(); }
  std::string_view Peek() const { return AtEnd() ? std::string_view() : std::string_view(m_statement.words[m_next]); }
  void Skip(size_t count) { m_next = std::min(m_next + count, m_statement.words.size()); }

  // The next word; `what` names it should the statement end before it.
  std::string_view Take(std::string_view what) {
    if (AtEnd()) Fail("the statement ends before " + std::string(what));
    return m_statement.words[m_next++];
  }
  bool Accept(std::string_view word) {
    if (AtEnd() || Peek() != word) return false;
    ++m_next;
    return true;
  }
  void Expect(std::string_view word) {
    const std::string_view found = Take(word);
    if (found != word) Fail("expected " + std::string(word) + " but found " + Quote(found));
  }
  void ExpectEnd() const {
    if (!AtEnd()) Fail(Unexpected(Peek()));
  }

  // Whether the next word is "KEY=...".
  bool PeekKey(std::string_view key) const {
    const KeyValue split = SplitKey(Peek());
    return split.hasValue && split.key == key;
  }
  // The value of the next word, which must be "KEY=value" (the value may be
  // empty).
  std::string_view Value(std::string_view key) {
    if (AtEnd()) Fail("missing " + std::string(key) + "=");
    if (!PeekKey(key)) Fail("expected " + std::string(key) + "= but found " + Quote(Peek()));
    return SplitKey(m_statement.words[m_next++]).value;
  }

  int Integer(std::string_view text, std::string_view what) const {
    const std::optional<int> value = ParseInteger(text);
    if (!value) Fail("malformed number " + Quote(text) + " for " + std::string(what));
    return *value;
  }
  double Real(std::string_view text, std::string_view what) const {
    const std::optional<double> value = ParseReal(text);
    if (!value) Fail("malformed number " + Quote(text) + " for " + std::string(what));
    return *value;
  }
  RealReading Reading(std::string_view text, std::string_view what) const {
    return {Real(text, what), TextResolution(text)};
  }
  // An object number, 1-based in the file, returned 0-based.
  int Number(std::string_view text, std::string_view what) const {
    const int number = Integer(text, what);
    if (number < 1) Fail(std::string(what) + " " + std::to_string(number) + " is not a number from 1 on");
    return number - 1;
  }

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

// Reads words "NAME=real" whose names are among `names` into `values`, up
// to the first word of another form; returns which names were given.
template <size_t N>
std::array<bool, N> ReadNamedReals(Words& words, const std::array<std::string_view, N>& names,
                                   std::array<RealReading, N>& values) {
  std::array<bool, N> given = {};
  while (!words.AtEnd()) {
    const KeyValue split = SplitKey(words.Peek());
    const auto name = std::find(names.begin(), names.end(), split.key);
    if (!split.hasValue || name == names.end()) break;
    const size_t i = static_cast<size_t>(name - names.begin());
    if (given[i]) words.Fail(std::string(split.key) + "= is given twice");
    values[i] = words.ReadingValue(split.key);
    given[i] = true;
  }
  return given;
}

template <size_t N>
std::array<bool, N> ReadNamedReals(Words& words, const std::array<std::string_view, N>& names,
                                   std::array<double, N>& values) {
  std::array<RealReading, N> readings;
  const std::array<bool, N> given = ReadNamedReals(words, names, readings);
  for (size_t i = 0; i < N; ++i) {
    if (given[i]) values[i] = readings[i].value;
  }
  return given;
}

constexpr std::array<std::string_view, 6> kDofNames = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
constexpr std::array<std::string_view, 6> kLoadNames = {"PX", "PY", "PZ", "MX", "MY", "MZ"};
constexpr std::array<std::string_view, 6> kDisplacementNames = {"DX", "DY", "DZ", "RX", "RY", "RZ"};
constexpr std::array<std::string_view, 6> kMassNames = {"XMX", "XMY", "XMZ", "RMX", "RMY", "RMZ"};
constexpr std::array<std::string_view, 6> kDamperNames = {"XDX", "XDY", "XDZ", "RDX", "RDY", "RDZ"};
constexpr std::array<std::string_view, 6> kCheckNames = {
    "STIFFNESS-MATRIX", "DECOMPOSED-STIFFNESS-MATRIX", "LOAD-VECTOR", "V-VECTOR", "DISPLACEMENT-VECTOR", "MEMORY-SIZE"};

// Sets the flag of each named degree of freedom: the words from the current
// one to the end of the statement, and `first` before them when not empty.
void ReadDofList(Words& words, std::string_view first, std::array<bool, 6>& flags) {
  const auto set = [&](std::string_view name) {
    const auto found = std::find(kDofNames.begin(), kDofNames.end(), name);
    if (found == kDofNames.end()) words.Fail("unknown degree of freedom " + Quote(name));
    flags[static_cast<size_t>(found - kDofNames.begin())] = true;
  };
  if (!first.empty()) set(first);
  while (!words.AtEnd()) set(words.Take("a degree of freedom"));
}

// The words up to `stop`, joined with blanks; `stop` itself is consumed.
std::string TakeUntil(Words& words, std::string_view stop) {
  std::string text;
  while (!words.Accept(stop)) {
    if (!text.empty()) text += ' ';
    text += words.Take(stop);
  }
  return text;
}

// The remaining words, joined with blanks.
std::string TakeRest(Words& words) {
  std::string text;
  while (!words.AtEnd()) {
    if (!text.empty()) text += ' ';
    text += words.Take({});
  }
  return text;
}

// Consumes words up to and including the next "KEY=value" one and returns
// its value; what comes before is free text.
std::string_view SkipToKey(Words& words, std::string_view key) {
  while (!words.PeekKey(key)) words.Take(std::string(key) + "=");
  return words.Value(key);
}

// The position in `items` of the one whose number is `number`, -1 if none.
template <class T>
int PositionOf(const std::vector<T>& items, int number) {
  const auto found =
      std::find_if(items.begin(), items.end(), [number](const T& item) { return item.number == number; });
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

// ---- Statement headings ------------------------------------------------------

enum class Block {
  kStart,
  kSystem,
  kFunctions,
  kLocalSystems,
  kJoints,
  kRestraints,
  kConstraints,
  kMasses,
  kDampers,
  kInitialConditions,
  kBeamGroup,
  kSpringGroup,
  kLinkGroup,
  kStaticCase,
  kHistoryCase,
  kSpectrumCase,
  kMovingCase,
  kStop,
};

// The statements that open a block, in the order the input must give them.
// Blocks of one rank may repeat when `repeatable`; element groups of the
// three kinds share a rank because they come in the model's group order.
struct Heading {
  std::string_view words;
  Block block;
  int rank;
  bool repeatable;
};

constexpr Heading kHeadings[] = {
    {"TAV", Block::kStart, 0, false},
    {"SYSTEM", Block::kSystem, 1, false},
    {"FUNTION", Block::kFunctions, 2, false},
    {"LOCAL COORDINATE SYSTEMS", Block::kLocalSystems, 3, false},
    {"JOINT INFORMATIONS", Block::kJoints, 4, false},
    {"JOINT RESTRAINTS", Block::kRestraints, 5, false},
    {"JOINT CONSTRAINT", Block::kConstraints, 6, false},
    {"JOINT MASS", Block::kMasses, 7, false},
    {"JOINT DAMPER", Block::kDampers, 8, false},
    {"INITIAL CONDITIONS", Block::kInitialConditions, 9, false},
    {"BEAM ELEMENT GROUP", Block::kBeamGroup, 10, true},
    {"SUPPORT SPRING GROUP", Block::kSpringGroup, 10, true},
    {"NLLINK ELEMENT GROUP", Block::kLinkGroup, 10, true},
    {"STATIC LOAD CONDITION", Block::kStaticCase, 11, true},
    {"HISTORY LOAD CONDITION", Block::kHistoryCase, 12, true},
    {"RESPONSE SPECTRUM LOAD CONDITION", Block::kSpectrumCase, 13, true},
    {"MOVING LOAD CONDITION", Block::kMovingCase, 14, true},
    {"STOP", Block::kStop, 15, false},
};

const Heading* FindHeading(const std::vector<std::string>& words) {
  for (const Heading& heading : kHeadings) {
    const std::vector<std::string> expected = SplitWords(heading.words);
    if (words.size() >= expected.size() && std::equal(expected.begin(), expected.end(), words.begin())) {
      return &heading;
    }
  }
  return nullptr;
}

// The parts of a load condition, in the order they must come.
enum class CasePart { kNone, kJointLoads, kBeamLoads, kDisplacements, kDamping, kLanes, kSelfWeight };

// ---- The reader ----------------------------------------------------------------

class Reader {
 public:
  explicit Reader(std::istream& in) : m_source(in) {}

  InputDeck Read() {
    ReadTitle();
    while (std::optional<Statement> statement = m_source.NextStatement()) {
      if (m_block == Block::kStop) throw InputError(statement->line, "nothing may follow STOP");
      ReadStatement(*statement);
    }
    if (m_block != Block::kStop) throw InputError(m_source.LineNumber(), "the input ends without STOP");
    CheckJointCount();
    return std::move(m_deck);
  }

 private:
  void ReadTitle() {
    const std::optional<Statement> first = m_source.NextStatement();
    if (!first || first->words.empty() || first->words[0] != "TAV") {
      throw InputError(first ? first->line : 1, "the input does not begin with TAV");
    }
    // The title is the rest of the line as written, blanks included.
    const std::string_view text = first->text;
    const size_t start = text.find("TAV") + 3;
    m_deck.title = start < text.size() ? std::string(text.substr(start + 1)) : std::string();
  }

  void ReadStatement(const Statement& statement) {
    Words words(statement);
    if (const Heading* heading = FindHeading(statement.words)) {
      EnterBlock(*heading, words);
      return;
    }
    switch (m_block) {
      case Block::kSystem:
        ReadSystemLine(words);
        break;
      case Block::kFunctions:
        ReadFunction(words);
        break;
      case Block::kLocalSystems:
        ReadLocalSystem(words);
        break;
      case Block::kJoints:
        ReadJoint(words);
        break;
      case Block::kRestraints:
        ReadRestraint(words);
        break;
      case Block::kConstraints:
        ReadConstraint(words);
        break;
      case Block::kMasses:
        ReadJointValues(words, kMassNames);
        break;
      case Block::kDampers:
        ReadJointValues(words, kDamperNames);
        break;
      case Block::kBeamGroup:
        ReadBeamGroupLine(words);
        break;
      case Block::kSpringGroup:
        ReadSpringGroupLine(words);
        break;
      case Block::kLinkGroup:
        ReadLinkGroupLine(words);
        break;
      case Block::kStaticCase:
      case Block::kHistoryCase:
      case Block::kSpectrumCase:
      case Block::kMovingCase:
        ReadCaseLine(words);
        break;
      case Block::kStart:
      case Block::kInitialConditions:
      case Block::kStop:
        NotHere(words);
    }
  }

  // Lines of a list start with their number; anything else is not theirs.
  static void ExpectNumbered(const Words& words) {
    if (!ParseInteger(words.Peek())) NotHere(words);
  }

  // A statement no block here takes: a numbered one belongs to some block,
  // anything else is not part of the input language at all.
  [[noreturn]] static void NotHere(const Words& words) {
    const Statement& statement = words.GetStatement();
    if (!statement.words.empty() && ParseInteger(statement.words[0])) {
      words.Fail("statement " + Excerpt(statement) + " is out of place");
    }
    words.Fail("unknown statement " + Excerpt(statement));
  }

  void EnterBlock(const Heading& heading, Words& words) {
    if (heading.rank < m_rank || (heading.rank == m_rank && !heading.repeatable)) {
      words.Fail(std::string(heading.words) + " is out of place: the blocks of the input come in a fixed order");
    }
    m_rank = heading.rank;
    m_block = heading.block;
    m_part = CasePart::kNone;
    m_elementsStarted = false;
    words.Skip(SplitWords(heading.words).size());
    switch (heading.block) {
      case Block::kInitialConditions:
        ReadInitialConditions(words);
        break;
      case Block::kBeamGroup:
        ReadBeamGroup(words);
        break;
      case Block::kSpringGroup:
        ReadSpringGroup(words);
        break;
      case Block::kLinkGroup:
        ReadLinkGroup(words);
        break;
      case Block::kStaticCase:
        ReadStaticCase(words);
        break;
      case Block::kHistoryCase:
        ReadHistoryCase(words);
        break;
      case Block::kSpectrumCase:
        ReadSpectrumCase(words);
        break;
      case Block::kMovingCase:
        ReadMovingCase(words);
        break;
      case Block::kStop:
        m_stopLine = words.Line();
        words.ExpectEnd();
        break;
      default:
        words.ExpectEnd();
        break;
    }
  }

  // ---- Analysis options and counts ----

  void ReadSystemLine(Words& words) {
    Options& options = m_deck.options;
    if (words.Accept("MASTER")) {
      options.activeDof = {};
      ReadDofList(words, words.Value("DOF"), options.activeDof);
    } else if (words.Accept("EIGEN")) {
      words.Expect("SOLUTION");
      words.Expect("OF");
      const std::string range = TakeUntil(words, "BY");
      if (range != "SMALLEST FREQUENCIES" && range != "FREQUENCIES WITHIN INTERVAL") {
        words.Fail("unknown eigenvalue range " + Quote(range));
      }
      const std::string method = TakeRest(words);
      if (method == "DETERMINANT SEARCH") {
        options.eigenMethod = 1;
      } else if (method == "SUBSPACE ITERATION") {
        options.eigenMethod = 2;
      } else {
        words.Fail("unknown eigen solution method " + Quote(method));
      }
    } else if (words.Accept("NUMBER")) {
      words.Expect("OF");
      if (words.PeekKey("MODES")) {
        options.modes = words.IntegerValue("MODES");
        words.Expect("SUBSPACE");
        words.Expect("ITERATION");
        words.IntegerValue("VECTORS");
        words.ExpectEnd();
      } else {
        ReadCounts(words);
      }
    } else if (words.Accept("ITERATION")) {
      // Settings of the eigen solution that the static analysis leaves alone.
      words.Value("NUMBERS");
    } else if (words.Accept("CHECK")) {
      while (!words.AtEnd()) {
        const std::string_view name = words.Take("a check");
        if (std::find(kCheckNames.begin(), kCheckNames.end(), name) == kCheckNames.end()) {
          words.Fail("unknown check " + Quote(name));
        }
      }
    } else {
      NotHere(words);
    }
  }

  // "NUMBER OF NODES=n" and the optional group, system and link counts.
  void ReadCounts(Words& words) {
    m_nodesLine = words.Line();
    m_deck.declaredJoints = words.IntegerValue("NODES");
    while (!words.AtEnd()) {
      if (words.Accept("LINEAR") || words.Accept("NONLINEAR")) {
        words.Expect("ELEMENT");
        words.IntegerValue("GROUP");
      } else if (words.Accept("LOCAL")) {
        words.Expect("COORNATE");
        words.IntegerValue("SYSTEM");
      } else if (words.Accept("RIGID")) {
        words.IntegerValue("LINKS");
      } else {
        words.Fail(Unexpected(words.Peek()));
      }
    }
  }

  void CheckJointCount() const {
    if (m_nodesLine == 0) throw InputError(m_stopLine, "the input gives no NUMBER OF NODES");
    const int read = static_cast<int>(m_deck.joints.size());
    if (m_deck.declaredJoints != read) {
      throw InputError(m_nodesLine, "NUMBER OF NODES=" + std::to_string(m_deck.declaredJoints) + " but " +
                                        std::to_string(read) + " joints are given");
    }
  }

  // ---- Functions ----

  // "n TYPE=CONSTANT|SINUSOIDAL POINTS=p [a] [b]", then one line of p pairs
  // of numbers (possibly none), which is never wrapped.
  void ReadFunction(Words& words) {
    ExpectNumbered(words);
    const int number = words.NextNumber("function number");
    const std::string_view type = words.Value("TYPE");
    if (type != "CONSTANT" && type != "SINUSOIDAL") words.Fail("unknown function type " + Quote(type));
    const int points = words.IntegerValue("POINTS");
    if (points < 0) words.Fail("POINTS=" + std::to_string(points) + " is negative");
    for (int parameter = 0; parameter < 2 && !words.AtEnd(); ++parameter) words.NextReal("a function parameter");
    words.ExpectEnd();
    ++m_deck.functionCount;

    const std::string name = "function " + std::to_string(number + 1);
    const std::optional<Statement> line = m_source.NextLine();
    if (!line) throw InputError(m_source.LineNumber(), "the input ends before the points of " + name);
    Words values(*line);
    int count = 0;
    for (; !values.AtEnd(); ++count) values.NextReal("a point of " + name);
    if (count != 2 * static_cast<int64_t>(points)) {
      values.Fail(name + " has POINTS=" + std::to_string(points) + " but its points line holds " +
                  std::to_string(count) + " numbers");
    }
  }

  // ---- Joints ----

  void ReadLocalSystem(Words& words) {
    ExpectNumbered(words);
    LocalSystem system;
    system.number = words.NextNumber("local coordinate system number");
    words.Expect("ROTATION");
    words.Expect("ANGLE");
    words.Expect("SYSTEM");
    system.angles[0] = words.RealValue("1-ANGLE");
    system.angles[1] = words.RealValue("2-ANGLE");
    system.angles[2] = words.RealValue("3-ANGLE");
    words.ExpectEnd();
    m_deck.localSystems.push_back(system);
  }

  void ReadJoint(Words& words) {
    ExpectNumbered(words);
    Joint joint;
    joint.line = words.Line();
    joint.number = words.NextNumber("joint number");
    // Joints are known by their position, so their numbers must count up.
    const int due = static_cast<int>(m_deck.joints.size());
    if (joint.number != due) {
      words.Fail("joint " + std::to_string(joint.number + 1) + " is out of order: joint " + std::to_string(due + 1) +
                 " comes next");
    }
    constexpr std::array<std::string_view, 3> kAxes = {"X", "Y", "Z"};
    std::array<RealReading, 3> position;
    const std::array<bool, 3> given = ReadNamedReals(words, kAxes, position);
    for (size_t axis = 0; axis < 3; ++axis) {
      if (!given[axis]) words.Fail("missing " + std::string(kAxes[axis]) + "=");
      joint.resolution[axis] = position[axis].resolution;
    }
    joint.x = position[0].value;
    joint.y = position[1].value;
    joint.z = position[2].value;
    if (words.Accept("LOCAL")) {
      const int system = words.NumberValue("COORDINATE");
      joint.localSystem = PositionOf(m_deck.localSystems, system);
      if (joint.localSystem < 0) {
        words.Fail("local coordinate system " + std::to_string(system + 1) + " does not exist");
      }
    }
    words.ExpectEnd();
    m_deck.joints.push_back(joint);
  }

  // A joint named by `text`, returned 0-based. Every block that names
  // joints comes after the joint block, so the joints are all known here.
  int JointIndex(const Words& words, std::string_view text) const {
    const int joint = words.Number(text, "joint");
    if (joint >= static_cast<int>(m_deck.joints.size())) {
      words.Fail("joint " + std::to_string(joint + 1) + " does not exist: the input has " +
                 std::to_string(m_deck.joints.size()) + " joints");
    }
    return joint;
  }
  int NextJoint(Words& words, std::string_view what) { return JointIndex(words, words.Take(what)); }

  void ReadRestraint(Words& words) {
    ExpectNumbered(words);
    const int joint = NextJoint(words, "the joint number");
    ReadDofList(words, {}, m_deck.joints[static_cast<size_t>(joint)].restrained);
  }

  // "DIAPHn MASS m ADD=j j ..." or
  // "RIGIDLINKn TYPE=LINEAR|NONLINEAR MASTER JOINT m SLAVE JOINT=j j ...".
  void ReadConstraint(Words& words) {
    const std::string_view head = words.Peek();
    // The first of the listed joints is glued to the key.
    const auto readSlaves = [&](std::string_view key, std::vector<int>& slaves) {
      const std::string_view first = words.Value(key);
      if (!first.empty()) slaves.push_back(JointIndex(words, first));
      while (!words.AtEnd()) slaves.push_back(NextJoint(words, "a joint"));
    };
    if (head.starts_with("DIAPH")) {
      words.Skip(1);
      words.Number(head.substr(5), "diaphragm number");
      Diaphragm diaphragm;
      diaphragm.line = words.Line();
      words.Expect("MASS");
      diaphragm.master = NextJoint(words, "the master joint");
      readSlaves("ADD", diaphragm.slaves);
      m_deck.diaphragms.push_back(std::move(diaphragm));
    } else if (head.starts_with("RIGIDLINK")) {
      words.Skip(1);
      words.Number(head.substr(9), "rigid link number");
      RigidLink link;
      link.line = words.Line();
      const std::string_view type = words.Value("TYPE");
      if (type != "LINEAR" && type != "NONLINEAR") words.Fail("unknown rigid link type " + Quote(type));
      link.nonlinear = type == "NONLINEAR";
      words.Expect("MASTER");
      words.Expect("JOINT");
      link.master = NextJoint(words, "the master joint");
      words.Expect("SLAVE");
      readSlaves("JOINT", link.slaves);
      m_deck.rigidLinks.push_back(std::move(link));
    } else {
      NotHere(words);
    }
  }

  // Masses and dampers: checked, but the static analysis has no use for them.
  void ReadJointValues(Words& words, const std::array<std::string_view, 6>& names) {
    ExpectNumbered(words);
    NextJoint(words, "the joint number");
    Six values = {};
    ReadNamedReals(words, names, values);
    words.ExpectEnd();
  }

  // "NOT EXIST", or "EXIST INITIAL TEMPERATURE [NOT] EXIST INITIAL
  // TEMPERATURE GRADIENT [NOT] EXIST".
  static void ReadInitialConditions(Words& words) {
    const auto readExist = [&words] {
      words.Accept("NOT");
      words.Expect("EXIST");
    };
    if (words.Accept("NOT")) {
      words.Expect("EXIST");
    } else {
      words.Expect("EXIST");
      words.Expect("INITIAL");
      words.Expect("TEMPERATURE");
      readExist();
      words.Expect("INITIAL");
      words.Expect("TEMPERATURE");
      words.Expect("GRADIENT");
      readExist();
    }
    words.ExpectEnd();
  }

  // ---- Element groups ----

  // A group lists its properties first, then its elements.
  void StartElements() { m_elementsStarted = true; }
  void CheckPropertiesStillOpen(const Words& words) const {
    if (m_elementsStarted) words.Fail("properties must come before the elements of their group");
  }

  // "g NUMBER OF ELEMENTS=n" after the group's kind, optionally followed by
  // "NUMBER OF CONSTANTS=m".
  static int ReadGroupNumber(Words& words, bool withConstants) {
    const int number = words.NextNumber("group number");
    words.Expect("NUMBER");
    words.Expect("OF");
    words.IntegerValue("ELEMENTS");
    if (withConstants) {
      words.Expect("NUMBER");
      words.Expect("OF");
      words.IntegerValue("CONSTANTS");
    }
    words.ExpectEnd();
    return number;
  }

  void ReadBeamGroup(Words& words) {
    BeamGroup group;
    group.number = ReadGroupNumber(words, false);
    m_deck.beamGroups.push_back(std::move(group));
  }

  void ReadBeamGroupLine(Words& words) {
    if (words.Peek() == "MAT/SEC") {
      ReadSection(words);
    } else {
      ReadBeam(words);
    }
  }

  // "MAT/SEC PROPERTIES s [E=r] [J=r] [POISSON'S RATIO=r] [IS=r] [IT=r]
  // [AREA=r] [ASHS=r] [ASHT=r]": only the values that are not 0 are written.
  void ReadSection(Words& words) {
    CheckPropertiesStillOpen(words);
    words.Expect("MAT/SEC");
    words.Expect("PROPERTIES");
    Section section;
    section.number = words.NextNumber("section number");
    static constexpr std::pair<std::string_view, double Section::*> kFields[] = {
        {"E", &Section::e},       {"J", &Section::j},       {"IS", &Section::is},     {"IT", &Section::it},
        {"AREA", &Section::area}, {"ASHS", &Section::ashs}, {"ASHT", &Section::asht},
    };
    while (!words.AtEnd()) {
      // The one key with a blank in it.
      if (words.Accept("POISSON'S")) {
        section.poisson = words.RealValue("RATIO");
        continue;
      }
      const KeyValue split = SplitKey(words.Peek());
      const auto field = std::find_if(std::begin(kFields), std::end(kFields),
                                      [&split](const auto& entry) { return entry.first == split.key; });
      if (!split.hasValue || field == std::end(kFields)) words.Fail(Unexpected(words.Peek()));
      section.*(field->second) = words.RealValue(split.key);
    }
    m_deck.beamGroups.back().sections.push_back(section);
  }

  // "b MATERIAL=s NOAN=i j angle NREG=n", then optionally "END RELEASE=MTI
  // [MTJ]" or "END RELEASE=MTJ", "IOFFSET=r JOFFSET=r", "RIGID=r" and the
  // beam's own "NREG=r".
  void ReadBeam(Words& words) {
    ExpectNumbered(words);
    StartElements();
    BeamGroup& group = m_deck.beamGroups.back();
    Beam beam;
    beam.line = words.Line();
    beam.number = words.NextNumber("beam number");
    beam.group = static_cast<int>(m_deck.beamGroups.size()) - 1;
    const int section = words.NumberValue("MATERIAL");
    beam.section = PositionOf(group.sections, section);
    if (beam.section < 0) {
      words.Fail("section " + std::to_string(section + 1) + " does not exist in beam group " +
                 std::to_string(group.number + 1));
    }
    beam.jointI = JointIndex(words, words.Value("NOAN"));
    beam.jointJ = NextJoint(words, "joint J");
    const RealReading angle = words.NextReading("the roll angle");
    beam.angle = angle.value;
    beam.angleResolution = angle.resolution;
    beam.segments = words.IntegerValue("NREG");
    if (beam.segments < 1 || beam.segments > kMaxSegments) {
      words.Fail("NREG=" + std::to_string(beam.segments) + " is not a number of segments from 1 to " +
                 std::to_string(kMaxSegments));
    }
    while (!words.AtEnd()) {
      if (words.Accept("END")) {
        ReadRelease(words, beam);
      } else if (words.PeekKey("IOFFSET")) {
        beam.offsetI = words.RealValue("IOFFSET");
      } else if (words.PeekKey("JOFFSET")) {
        beam.offsetJ = words.RealValue("JOFFSET");
      } else if (words.PeekKey("RIGID")) {
        beam.rigid = words.RealValue("RIGID");
      } else if (words.PeekKey("NREG")) {
        // Written with "%g", as a real; only a whole count makes sense.
        const std::string_view text = words.Value("NREG");
        const double segments = words.Real(text, "NREG=");
        if (segments < 1.0 || segments > 1e6 || segments != std::floor(segments)) {
          words.Fail("the beam's NREG=" + std::string(text) + " is not a whole number of segments");
        }
        beam.ownSegments = static_cast<int>(segments);
      } else {
        words.Fail(Unexpected(words.Peek()));
      }
    }
    group.beams.push_back(beam);
  }

  static void ReadRelease(Words& words, Beam& beam) {
    const auto release = [&](std::string_view end) {
      if (end == "MTI") {
        beam.releaseI = true;
      } else if (end == "MTJ") {
        beam.releaseJ = true;
      } else {
        words.Fail("unknown end release " + Quote(end));
      }
    };
    const std::string_view first = words.Value("RELEASE");
    if (first.empty()) words.Fail("END RELEASE= names no end");
    release(first);
    while (words.Peek() == "MTI" || words.Peek() == "MTJ") release(words.Take("an end"));
  }

  void ReadSpringGroup(Words& words) {
    SpringGroup group;
    group.number = ReadGroupNumber(words, true);
    m_deck.springGroups.push_back(std::move(group));
  }

  void ReadSpringGroupLine(Words& words) {
    if (words.Peek() == "SPRING") {
      ReadSpringConstant(words);
    } else {
      ReadSpring(words);
    }
  }

  // "SPRING CONSTANTS c STIFFNESS=k" or, for three degrees of freedom,
  // "STIFFNESS=k1,k2,k3".
  void ReadSpringConstant(Words& words) {
    CheckPropertiesStillOpen(words);
    words.Expect("SPRING");
    words.Expect("CONSTANTS");
    SpringConstant constant;
    constant.number = words.NextNumber("spring constant number");
    const std::string_view text = words.Value("STIFFNESS");
    words.ExpectEnd();
    std::vector<std::string_view> values;
    for (size_t begin = 0;;) {
      const size_t comma = text.find(',', begin);
      values.push_back(text.substr(begin, comma - begin));
      if (comma == std::string_view::npos) break;
      begin = comma + 1;
    }
    if (values.size() != 1 && values.size() != 3) {
      words.Fail("STIFFNESS= takes one value or three separated by commas");
    }
    constant.multi = values.size() == 3;
    for (size_t i = 0; i < values.size(); ++i) constant.stiffness[i] = words.Real(values[i], "STIFFNESS=");
    m_deck.springGroups.back().constants.push_back(constant);
  }

  // "s SPRING CONSTANT=c NODE=j TYPE=SINGLE|MULTI D.O.F".
  void ReadSpring(Words& words) {
    ExpectNumbered(words);
    StartElements();
    SpringGroup& group = m_deck.springGroups.back();
    Spring spring;
    spring.line = words.Line();
    spring.number = words.NextNumber("spring number");
    words.Expect("SPRING");
    const int constant = words.NumberValue("CONSTANT");
    spring.constant = PositionOf(group.constants, constant);
    if (spring.constant < 0) {
      words.Fail("spring constant " + std::to_string(constant + 1) + " does not exist in spring group " +
                 std::to_string(group.number + 1));
    }
    spring.joint = JointIndex(words, words.Value("NODE"));
    const std::string_view type = words.Value("TYPE");
    if (type != "SINGLE" && type != "MULTI") words.Fail("unknown spring type " + Quote(type));
    spring.multi = type == "MULTI";
    words.Expect("D.O.F");
    words.ExpectEnd();
    group.springs.push_back(spring);
  }

  void ReadLinkGroup(Words& words) {
    LinkGroup group;
    group.number = ReadGroupNumber(words, true);
    m_deck.linkGroups.push_back(std::move(group));
  }

  // "MAT/SEC PROPERTIE p K0=r" or a link "l NODE i j MATERIAL=p".
  void ReadLinkGroupLine(Words& words) {
    LinkGroup& group = m_deck.linkGroups.back();
    if (words.Accept("MAT/SEC")) {
      CheckPropertiesStillOpen(words);
      words.Expect("PROPERTIE");
      LinkProperty property;
      property.number = words.NextNumber("link property number");
      property.k0 = words.RealValue("K0");
      words.ExpectEnd();
      group.properties.push_back(property);
      return;
    }
    ExpectNumbered(words);
    StartElements();
    Link link;
    link.line = words.Line();
    link.number = words.NextNumber("link number");
    words.Expect("NODE");
    link.jointI = NextJoint(words, "joint I");
    link.jointJ = NextJoint(words, "joint J");
    const int property = words.NumberValue("MATERIAL");
    link.property = PositionOf(group.properties, property);
    if (link.property < 0) {
      words.Fail("link property " + std::to_string(property + 1) + " does not exist in link group " +
                 std::to_string(group.number + 1));
    }
    words.ExpectEnd();
    group.links.push_back(link);
  }

  // ---- Load conditions ----

  LoadCase& StartCase(Words& words, CaseKind kind) {
    LoadCase loadCase;
    loadCase.kind = kind;
    loadCase.line = words.Line();
    loadCase.number = words.NextNumber("load condition number");
    m_deck.cases.push_back(std::move(loadCase));
    return m_deck.cases.back();
  }

  // "n [SELF WEIGHT] [JOINT LOAD=n] [BEAM LOAD=n] [PRESCRIBED DISPLACEMENT
  // LOAD=n]"; the counts follow from the lines themselves.
  void ReadStaticCase(Words& words) {
    StartCase(words, CaseKind::kStatic);
    while (!words.AtEnd()) {
      if (words.Accept("SELF")) {
        words.Expect("WEIGHT");
      } else if (words.Accept("JOINT") || words.Accept("BEAM")) {
        words.IntegerValue("LOAD");
      } else if (words.Accept("PRESCRIBED")) {
        words.Expect("DISPLACEMENT");
        words.IntegerValue("LOAD");
      } else {
        words.Fail(Unexpected(words.Peek()));
      }
    }
  }

  // "n TYPE=... BY ... INTEGRATION METHOD=... INTEGRATION PARAMETERS=p ...
  // NUMBER OF MODES=m NSTE=r DT=r GROUND ACCELERATION". The kind, mode and
  // method are names of the time integration, which the static analysis
  // does not run; its numbers are still checked.
  void ReadHistoryCase(Words& words) {
    StartCase(words, CaseKind::kHistory);
    words.Value("TYPE");
    TakeUntil(words, "BY");
    SkipToKey(words, "METHOD");
    const std::string_view first = SkipToKey(words, "PARAMETERS");
    if (!first.empty()) words.Real(first, "PARAMETERS=");
    while (!words.AtEnd() && words.Peek() != "NUMBER") words.NextReal("PARAMETERS=");
    words.Expect("NUMBER");
    words.Expect("OF");
    words.IntegerValue("MODES");
    words.RealValue("NSTE");
    words.RealValue("DT");
    words.Expect("GROUND");
    words.Expect("ACCELERATION");
    words.ExpectEnd();
  }

  // "n NUMBER OF MODES=m MODE COMBINATION=ABS|SRSS|CQC|" (empty when the
  // model names none).
  void ReadSpectrumCase(Words& words) {
    StartCase(words, CaseKind::kSpectrum);
    words.Expect("NUMBER");
    words.Expect("OF");
    words.IntegerValue("MODES");
    words.Expect("MODE");
    const std::string_view combination = words.Value("COMBINATION");
    if (combination != "ABS" && combination != "SRSS" && combination != "CQC" && !combination.empty()) {
      words.Fail("unknown mode combination " + Quote(combination));
    }
    words.ExpectEnd();
  }

  // "n LANE ELEMENTS m".
  void ReadMovingCase(Words& words) {
    StartCase(words, CaseKind::kMoving);
    words.Expect("LANE");
    words.Expect("ELEMENTS");
    words.NextInteger("the lane element count");
    words.ExpectEnd();
  }

  // The parts of a load condition come in CasePart order, each once.
  void EnterPart(const Words& words, CasePart part) {
    if (part <= m_part) words.Fail("statement " + Excerpt(words.GetStatement()) + " is out of place");
    m_part = part;
  }

  void ReadCaseLine(Words& words) {
    LoadCase& loadCase = m_deck.cases.back();
    const bool withLoads = loadCase.kind == CaseKind::kStatic || loadCase.kind == CaseKind::kHistory;
    const std::string_view first = words.Peek();
    const KeyValue split = SplitKey(first);
    // A self weight line starts with its direction or its function.
    const bool isWeight = split.hasValue && split.key != "ELE";

    if (withLoads && (first == "JOINT" || first == "BEAM")) {
      words.Skip(1);
      words.Expect("LOADS");
      words.ExpectEnd();
      EnterPart(words, first == "JOINT" ? CasePart::kJointLoads : CasePart::kBeamLoads);
    } else if (withLoads && first == "PRESCRIBED") {
      // Static conditions spell the heading DISPPACEMENT, history ones
      // DISPLACEMENT; either is taken in both.
      words.Skip(1);
      const std::string_view word = words.Take("DISPLACEMENT");
      if (word != "DISPLACEMENT" && word != "DISPPACEMENT") words.Fail(Unexpected(word));
      words.Expect("LOADS");
      words.ExpectEnd();
      EnterPart(words, CasePart::kDisplacements);
    } else if (loadCase.kind == CaseKind::kSpectrum && first == "MODAL") {
      EnterPart(words, CasePart::kDamping);
      words.Skip(1);
      const std::string_view ratio = words.Value("DAMPING");
      if (!ratio.empty()) words.Real(ratio, "DAMPING=");
      while (!words.AtEnd()) words.NextReal("DAMPING=");
    } else if (loadCase.kind == CaseKind::kMoving && first == "LANE") {
      words.Skip(1);
      words.Expect("SEQUENCE");
      words.ExpectEnd();
      EnterPart(words, CasePart::kLanes);
    } else if (loadCase.kind == CaseKind::kMoving && words.PeekKey("ELE")) {
      if (m_part != CasePart::kLanes) NotHere(words);
      ReadLane(words);
    } else if (loadCase.kind != CaseKind::kMoving && isWeight) {
      EnterPart(words, CasePart::kSelfWeight);
      loadCase.selfWeight = ReadSelfWeight(words);
    } else if (ParseInteger(first) && withLoads && m_part == CasePart::kJointLoads) {
      loadCase.jointLoads.push_back(ReadJointLoad(words, kLoadNames));
    } else if (ParseInteger(first) && withLoads && m_part == CasePart::kBeamLoads) {
      loadCase.beamLoads.push_back(ReadBeamLoad(words));
    } else if (ParseInteger(first) && withLoads && m_part == CasePart::kDisplacements) {
      loadCase.displacements.push_back(ReadJointLoad(words, kDisplacementNames));
    } else {
      NotHere(words);
    }
  }

  // "j [PX=r] ... [MZ=r] FUNCTION=f", or with DX ... RZ for displacements.
  JointLoad ReadJointLoad(Words& words, const std::array<std::string_view, 6>& names) {
    JointLoad load;
    load.line = words.Line();
    load.joint = NextJoint(words, "the joint number");
    ReadNamedReals(words, names, load.values);
    load.function = words.NumberValue("FUNCTION");
    words.ExpectEnd();
    return load;
  }

  // "k TYPE=t <pieces> NOAN=i j angle FUNCTION=f" where a piece is
  // "WX=w1 w2 start length" (distributed) or "PX=p position 0. 1."
  // (concentrated), for the axes X, Y and Z.
  BeamLoad ReadBeamLoad(Words& words) {
    BeamLoad load;
    load.line = words.Line();
    load.number = words.NextNumber("beam load number");
    load.type = words.IntegerValue("TYPE");
    while (!words.AtEnd() && !words.PeekKey("NOAN")) {
      const KeyValue split = SplitKey(words.Peek());
      const std::string_view key = split.key;
      if (!split.hasValue || key.size() != 2 || (key[0] != 'W' && key[0] != 'P') || key[1] < 'X' || key[1] > 'Z') {
        words.Fail(Unexpected(words.Peek()));
      }
      BeamLoadPiece piece;
      piece.axis = key[1] - 'X';
      piece.distributed = key[0] == 'W';
      const std::string name(key);
      piece.value1 = words.RealValue(key);
      if (piece.distributed) {
        piece.value2 = words.NextReal(name + " (second intensity)");
        const RealReading start = words.NextReading(name + " (start)");
        const RealReading length = words.NextReading(name + " (loaded length)");
        piece.start = start.value;
        piece.startResolution = start.resolution;
        piece.length = length.value;
        piece.lengthResolution = length.resolution;
      } else {
        const RealReading position = words.NextReading(name + " (position)");
        piece.start = position.value;
        piece.startResolution = position.resolution;
        words.NextReal(name + " (third number)");
        words.NextReal(name + " (fourth number)");
      }
      load.pieces.push_back(piece);
    }
    load.jointI = JointIndex(words, words.Value("NOAN"));
    load.jointJ = NextJoint(words, "joint J");
    const RealReading angle = words.NextReading("the roll angle");
    load.angle = angle.value;
    load.angleResolution = angle.resolution;
    load.function = words.NumberValue("FUNCTION");
    words.ExpectEnd();
    return load;
  }

  // Static conditions write "FX=r ACCELERATION=a FUNCTION=f", the others
  // "FUNCTION=f FX=r ACC=a"; the direction's name may be missing ("=r").
  static SelfWeight ReadSelfWeight(Words& words) {
    SelfWeight weight;
    weight.present = true;
    weight.line = words.Line();
    const auto readDirection = [&] {
      const std::string_view word = words.Take("the self weight direction");
      const KeyValue split = SplitKey(word);
      if (!split.hasValue) words.Fail(Unexpected(word));
      if (split.key == "FX") {
        weight.direction = 0;
      } else if (split.key == "FY") {
        weight.direction = 1;
      } else if (split.key == "FZ") {
        weight.direction = 2;
      } else if (split.key.empty()) {
        weight.direction = -1;
      } else {
        words.Fail(Unexpected(word));
      }
      weight.factor = words.Real(split.value, std::string(split.key) + "=");
    };
    if (words.PeekKey("FUNCTION")) {
      weight.function = words.NumberValue("FUNCTION");
      readDirection();
      weight.acceleration = words.RealValue("ACC");
    } else {
      readDirection();
      weight.acceleration = words.RealValue("ACCELERATION");
      weight.function = words.NumberValue("FUNCTION");
    }
    words.ExpectEnd();
    return weight;
  }

  // "ELE=a ECC=r ELE=b ECC=r": the lanes are not part of a static analysis.
  static void ReadLane(Words& words) {
    for (int end = 0; end < 2; ++end) {
      words.NumberValue("ELE");
      words.RealValue("ECC");
    }
    words.ExpectEnd();
  }

  LineSource m_source;
  InputDeck m_deck;
  Block m_block = Block::kStart;
  int m_rank = 0;                     // of the last heading
  CasePart m_part = CasePart::kNone;  // of the current load condition
  bool m_elementsStarted = false;     // the current group has given an element
  int m_nodesLine = 0;                // of NUMBER OF NODES, 0 before it
  int m_stopLine = 0;
};

}  // namespace

InputDeck ReadInput(std::istream& in) { return Reader(in).Read(); }

InputDeck ReadInputFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(0, "cannot open " + Quote(path));
  return ReadInput(in);
}

}  // namespace tav::analysis
