// The load conditions: static, history, response spectrum and moving ones,
// each a heading and its parts (joint loads, beam loads, prescribed
// displacements, modal damping, lanes, self weight) in that order.
#include <string>
#include <utility>

#include "analysis/InputGrammar.h"

namespace tav::analysis {
namespace {

// "WX=w1 w2 start length" (distributed) or "PX=p position 0. 1."
// (concentrated), for the axes X, Y and Z: the word at hand names the kind
// and the axis.
BeamLoadPiece ReadPiece(Words& words) {
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
  return piece;
}

// The words before the next "KEY=value" one, joined with blanks, and that
// word's value: how the history heading writes names of several words.
std::string WordsBefore(Words& words, std::string_view key, std::string_view& value) {
  std::string text;
  while (!words.PeekKey(key)) {
    if (!text.empty()) text += ' ';
    text += words.Take(std::string(key) + "=");
  }
  value = words.Value(key);
  return text;
}

// `text` without a last word `word` (and the blank before it).
std::string_view WithoutLast(std::string_view text, std::string_view word) {
  if (text == word) return {};
  if (text.size() > word.size() && text.ends_with(word) && text[text.size() - word.size() - 1] == ' ') {
    return text.substr(0, text.size() - word.size() - 1);
  }
  return text;
}

template <class Enum, size_t N>
Enum NamedIn(const words::Words<N>& names, std::string_view text, Enum unknown) {
  const std::optional<size_t> position = PositionIn(names, text);
  return position ? static_cast<Enum>(*position) : unknown;
}

}  // namespace

// ---- Headings ----

LoadCase& LoadConditionReader::Open(Words& words, CaseKind kind) {
  m_part = Part::kNone;
  LoadCase loadCase;
  loadCase.kind = kind;
  loadCase.line = words.Line();
  loadCase.number = words.NextNumber("load condition number");
  m_deck.cases.push_back(std::move(loadCase));
  return m_deck.cases.back();
}

// "n [SELF WEIGHT] [JOINT LOAD=n] [BEAM LOAD=n] [PRESCRIBED DISPLACEMENT
// LOAD=n]"; the counts follow from the lines themselves.
void LoadConditionReader::OpenStatic(Words& words) {
  Open(words, CaseKind::kStatic);
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

// "n TYPE=t BY s INTEGRATION METHOD=m INTEGRATION PARAMETERS=p ... NUMBER
// OF MODES=k NSTE=r DT=r GROUND ACCELERATION", where the kind t, the
// solution s and the method m are names of one or two words.
void LoadConditionReader::OpenHistory(Words& words) {
  LoadCase& loadCase = Open(words, CaseKind::kHistory);
  HistorySettings& settings = loadCase.history;
  std::string type(words.Value("TYPE"));
  const std::string typeRest = TakeUntil(words, "BY");
  if (!typeRest.empty()) type += (type.empty() ? "" : " ") + typeRest;
  settings.type = NamedIn(words::kHistoryType, type, HistoryType::kUnknown);

  std::string_view methodFirst;
  const std::string solution = WordsBefore(words, "METHOD", methodFirst);
  settings.solution = NamedIn(words::kDynamicMode, WithoutLast(solution, "INTEGRATION"), HistorySolution::kUnknown);
  std::string_view parameter;
  std::string method(methodFirst);
  const std::string methodRest = WordsBefore(words, "PARAMETERS", parameter);
  if (!methodRest.empty()) method += (method.empty() ? "" : " ") + methodRest;
  settings.method = NamedIn(words::kIntegrationMethod, WithoutLast(method, "INTEGRATION"), Integration::kUnknown);

  if (!parameter.empty()) settings.parameters.push_back(words.Real(parameter, "PARAMETERS="));
  while (!words.AtEnd() && words.Peek() != "NUMBER") settings.parameters.push_back(words.NextReal("PARAMETERS="));
  words.Expect("NUMBER");
  words.Expect("OF");
  settings.modes = words.IntegerValue("MODES");
  settings.steps = words.RealValue("NSTE");
  settings.dt = words.RealValue("DT");
  words.Expect("GROUND");
  words.Expect("ACCELERATION");
  words.ExpectEnd();
}

// "n NUMBER OF MODES=m MODE COMBINATION=ABS|SRSS|CQC|" (empty when the
// model names none).
void LoadConditionReader::OpenSpectrum(Words& words) {
  LoadCase& loadCase = Open(words, CaseKind::kSpectrum);
  words.Expect("NUMBER");
  words.Expect("OF");
  loadCase.modes = words.IntegerValue("MODES");
  words.Expect("MODE");
  const std::string_view combination = words.Value("COMBINATION");
  const std::optional<size_t> rule = PositionIn(words::kModeCombination, combination);
  if (!combination.empty() && !rule) words.Fail("unknown mode combination " + Quote(combination));
  if (rule) loadCase.combination = static_cast<ModeCombination>(*rule);
  words.ExpectEnd();
}

// "n LANE ELEMENTS m".
void LoadConditionReader::OpenMoving(Words& words) {
  Open(words, CaseKind::kMoving);
  words.Expect("LANE");
  words.Expect("ELEMENTS");
  words.NextInteger("the lane element count");
  words.ExpectEnd();
}

// ---- Parts ----

// The parts of a load condition come in Part order, each once.
void LoadConditionReader::EnterPart(const Words& words, Part part) {
  if (part <= m_part) words.Fail("statement " + Excerpt(words.GetStatement()) + " is out of place");
  m_part = part;
}

void LoadConditionReader::ReadLine(Words& words) {
  LoadCase& loadCase = m_deck.cases.back();
  if (ReadPartHeading(words, loadCase)) return;
  const bool withLoads = loadCase.kind == CaseKind::kStatic || loadCase.kind == CaseKind::kHistory;
  const bool numbered = ParseInteger(words.Peek()) && withLoads;
  const KeyValue split = SplitKey(words.Peek());
  // A self weight line starts with its direction or its function.
  const bool isWeight = split.hasValue && split.key != "ELE";

  if (loadCase.kind == CaseKind::kMoving && words.PeekKey("ELE")) {
    if (m_part != Part::kLanes) NotHere(words);
    ReadLane(words);
  } else if (loadCase.kind != CaseKind::kMoving && isWeight) {
    EnterPart(words, Part::kSelfWeight);
    loadCase.selfWeight = ReadSelfWeight(words);
  } else if (numbered && m_part == Part::kJointLoads) {
    loadCase.jointLoads.push_back(ReadJointLoad(words, words::kJointLoad));
  } else if (numbered && m_part == Part::kBeamLoads) {
    loadCase.beamLoads.push_back(ReadBeamLoad(words));
  } else if (numbered && m_part == Part::kDisplacements) {
    loadCase.displacements.push_back(ReadJointLoad(words, words::kDisplacement));
  } else {
    NotHere(words);
  }
}

// The statements that open a part: "JOINT LOADS", "BEAM LOADS",
// "PRESCRIBED DISPLACEMENT LOADS", "MODAL DAMPING=r ...", "LANE SEQUENCE".
// False when the statement is none of them.
bool LoadConditionReader::ReadPartHeading(Words& words, const LoadCase& loadCase) {
  const bool withLoads = loadCase.kind == CaseKind::kStatic || loadCase.kind == CaseKind::kHistory;
  const std::string_view first = words.Peek();
  if (withLoads && (first == "JOINT" || first == "BEAM")) {
    words.Skip(1);
    words.Expect("LOADS");
    words.ExpectEnd();
    EnterPart(words, first == "JOINT" ? Part::kJointLoads : Part::kBeamLoads);
  } else if (withLoads && first == "PRESCRIBED") {
    // Static conditions spell the heading DISPPACEMENT, history ones
    // DISPLACEMENT; either is taken in both.
    words.Skip(1);
    const std::string_view word = words.Take("DISPLACEMENT");
    if (word != "DISPLACEMENT" && word != "DISPPACEMENT") words.Fail(Unexpected(word));
    words.Expect("LOADS");
    words.ExpectEnd();
    EnterPart(words, Part::kDisplacements);
  } else if (loadCase.kind == CaseKind::kSpectrum && first == "MODAL") {
    EnterPart(words, Part::kDamping);
    words.Skip(1);
    const std::string_view ratio = words.Value("DAMPING");
    std::vector<double>& damping = m_deck.cases.back().damping;
    if (!ratio.empty()) damping.push_back(words.Real(ratio, "DAMPING="));
    while (!words.AtEnd()) damping.push_back(words.NextReal("DAMPING="));
  } else if (loadCase.kind == CaseKind::kMoving && first == "LANE") {
    words.Skip(1);
    words.Expect("SEQUENCE");
    words.ExpectEnd();
    EnterPart(words, Part::kLanes);
  } else {
    return false;
  }
  return true;
}

// "j [PX=r] ... [MZ=r] FUNCTION=f", or with DX ... RZ for displacements.
JointLoad LoadConditionReader::ReadJointLoad(Words& words, const words::Words<6>& names) const {
  JointLoad load;
  load.line = words.Line();
  load.joint = NextJoint(m_deck, words, "the joint number");
  ReadNamedReals(words, names, load.values);
  load.function = words.NumberValue("FUNCTION");
  words.ExpectEnd();
  return load;
}

// "k TYPE=t <pieces> NOAN=i j angle FUNCTION=f" (see ReadPiece).
BeamLoad LoadConditionReader::ReadBeamLoad(Words& words) const {
  BeamLoad load;
  load.line = words.Line();
  load.number = words.NextNumber("beam load number");
  load.type = words.IntegerValue("TYPE");
  while (!words.AtEnd() && !words.PeekKey("NOAN")) load.pieces.push_back(ReadPiece(words));
  const BeamNaming naming = ReadBeamNaming(m_deck, words);
  load.jointI = naming.jointI;
  load.jointJ = naming.jointJ;
  load.angle = naming.angle.value;
  load.angleResolution = naming.angle.resolution;
  load.function = words.NumberValue("FUNCTION");
  words.ExpectEnd();
  return load;
}

// Static conditions write "FX=r ACCELERATION=a FUNCTION=f", the others
// "FUNCTION=f FX=r ACC=a"; the direction's name may be missing ("=r").
SelfWeight LoadConditionReader::ReadSelfWeight(Words& words) {
  SelfWeight weight;
  weight.present = true;
  weight.line = words.Line();
  const auto readDirection = [&] {
    const std::string_view word = words.Take("the self weight direction");
    const KeyValue split = SplitKey(word);
    if (!split.hasValue) words.Fail(Unexpected(word));
    const std::optional<size_t> direction = PositionIn(words::kSelfWeightDirection, split.key);
    if (!direction && !split.key.empty()) words.Fail(Unexpected(word));
    weight.direction = direction ? static_cast<int>(*direction) : -1;
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

// "ELE=a ECC=r ELE=b ECC=r": two elements of the lane, in its order.
void LoadConditionReader::ReadLane(Words& words) {
  std::vector<LaneElement>& lane = m_deck.cases.back().lane;
  for (int end = 0; end < 2; ++end) {
    LaneElement& element = lane.emplace_back();
    element.line = words.Line();
    element.beam = words.NumberValue("ELE");
    element.eccentricity = words.RealValue("ECC");
  }
  words.ExpectEnd();
}

}  // namespace tav::analysis
