// Reading the own solver input: the headings that open its blocks, in the
// order the input must give them, and each statement handed to the reader
// of its part (InputGrammar.h).
#include "analysis/InputReader.h"

#include <fstream>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/InputGrammar.h"
#include "analysis/InputLexer.h"

namespace tav::analysis {

InputError::InputError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message), m_line(line) {}

namespace {

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

class Reader {
 public:
  explicit Reader(std::istream& in) : m_source(in), m_model(m_deck, m_source), m_groups(m_deck), m_cases(m_deck) {}

  InputDeck Read() {
    ReadTitle();
    while (std::optional<Statement> statement = m_source.NextStatement()) {
      if (m_block == Block::kStop) throw InputError(statement->line, "nothing may follow STOP");
      ReadStatement(*statement);
    }
    if (m_block != Block::kStop) throw InputError(m_source.LineNumber(), "the input ends without STOP");
    m_model.CheckJointCount(m_stopLine);
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
        return m_model.ReadSystemLine(words);
      case Block::kFunctions:
        return m_model.ReadFunction(words);
      case Block::kLocalSystems:
        return m_model.ReadLocalSystem(words);
      case Block::kJoints:
        return m_model.ReadJoint(words);
      case Block::kRestraints:
        return m_model.ReadRestraint(words);
      case Block::kConstraints:
        return m_model.ReadConstraint(words);
      case Block::kMasses:
        return m_model.ReadJointValues(words, words::kMass, &Joint::mass);
      case Block::kDampers:
        return m_model.ReadJointValues(words, words::kDamper, &Joint::damping);
      case Block::kBeamGroup:
        return m_groups.ReadBeamGroupLine(words);
      case Block::kSpringGroup:
        return m_groups.ReadSpringGroupLine(words);
      case Block::kLinkGroup:
        return m_groups.ReadLinkGroupLine(words);
      case Block::kStaticCase:
      case Block::kHistoryCase:
      case Block::kSpectrumCase:
      case Block::kMovingCase:
        return m_cases.ReadLine(words);
      case Block::kStart:
      case Block::kInitialConditions:
      case Block::kStop:
        NotHere(words);
    }
  }

  void EnterBlock(const Heading& heading, Words& words) {
    if (heading.rank < m_rank || (heading.rank == m_rank && !heading.repeatable)) {
      words.Fail(std::string(heading.words) + " is out of place: the blocks of the input come in a fixed order");
    }
    m_rank = heading.rank;
    m_block = heading.block;
    words.Skip(SplitWords(heading.words).size());
    switch (heading.block) {
      case Block::kInitialConditions:
        return ModelBlockReader::ReadInitialConditions(words);
      case Block::kBeamGroup:
        return m_groups.OpenBeamGroup(words);
      case Block::kSpringGroup:
        return m_groups.OpenSpringGroup(words);
      case Block::kLinkGroup:
        return m_groups.OpenLinkGroup(words);
      case Block::kStaticCase:
        return m_cases.OpenStatic(words);
      case Block::kHistoryCase:
        return m_cases.OpenHistory(words);
      case Block::kSpectrumCase:
        return m_cases.OpenSpectrum(words);
      case Block::kMovingCase:
        return m_cases.OpenMoving(words);
      case Block::kStop:
        m_stopLine = words.Line();
        return words.ExpectEnd();
      default:
        return words.ExpectEnd();
    }
  }

  LineSource m_source;
  InputDeck m_deck;
  ModelBlockReader m_model;
  ElementGroupReader m_groups;
  LoadConditionReader m_cases;
  Block m_block = Block::kStart;
  int m_rank = 0;  // of the last heading
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
