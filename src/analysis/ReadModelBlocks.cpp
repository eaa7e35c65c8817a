// The blocks before the element groups: system options and counts,
// functions, local coordinate systems, joints, restraints, constraints,
// masses, dampers and initial conditions.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "analysis/InputGrammar.h"
#include "analysis/InputReader.h"

namespace tav::analysis {
namespace {

// Sets the flag of each named degree of freedom: the words from the current
// one to the end of the statement, and `first` before them when not empty.
void ReadDofList(Words& words, std::string_view first, std::array<bool, 6>& flags) {
  const auto set = [&](std::string_view name) {
    const std::optional<size_t> dof = PositionIn(words::kJointDof, name);
    if (!dof) words.Fail("unknown degree of freedom " + Quote(name));
    flags[*dof] = true;
  };
  if (!first.empty()) set(first);
  while (!words.AtEnd()) set(words.Take("a degree of freedom"));
}

}  // namespace

// ---- Analysis options and counts ----

void ModelBlockReader::ReadSystemLine(Words& words) {
  Options& options = m_deck.options;
  if (words.Accept("MASTER")) {
    options.activeDof = {};
    ReadDofList(words, words.Value("DOF"), options.activeDof);
  } else if (words.Accept("EIGEN")) {
    ReadEigenSolution(words);
  } else if (words.Accept("NUMBER")) {
    words.Expect("OF");
    if (words.PeekKey("MODES")) {
      options.modes = words.IntegerValue("MODES");
      words.Expect("SUBSPACE");
      words.Expect("ITERATION");
      options.subspaceVectors = words.IntegerValue("VECTORS");
      words.ExpectEnd();
    } else {
      ReadCounts(words);
    }
  } else if (words.Accept("ITERATION")) {
    ReadEigenSettings(words);
  } else if (words.Accept("CHECK")) {
    while (!words.AtEnd()) {
      const std::string_view name = words.Take("a check");
      if (!PositionIn(words::kChecks, name)) words.Fail("unknown check " + Quote(name));
    }
  } else {
    NotHere(words);
  }
}

// "EIGEN SOLUTION OF <range> BY <method>".
void ModelBlockReader::ReadEigenSolution(Words& words) {
  words.Expect("SOLUTION");
  words.Expect("OF");
  const std::string range = TakeUntil(words, "BY");
  if (range != "SMALLEST FREQUENCIES" && range != "FREQUENCIES WITHIN INTERVAL") {
    words.Fail("unknown eigenvalue range " + Quote(range));
  }
  m_deck.options.withinInterval = range == "FREQUENCIES WITHIN INTERVAL";
  const std::string method = TakeRest(words);
  if (method == "DETERMINANT SEARCH") {
    m_deck.options.eigenMethod = 1;
  } else if (method == "SUBSPACE ITERATION") {
    m_deck.options.eigenMethod = 2;
  } else {
    words.Fail("unknown eigen solution method " + Quote(method));
  }
}

// "ITERATION NUMBERS=n [RIGID BODY MODE EXIST] RIGID BODY MODE SHIFTE=s
// CUT_OFF CIRCLULAR FREQUENCY=r", and for subspace iteration further
// "CONVERGENCE TOLERANCE=r [GENERATE LANZOS STARTING ITERATION VECTORS]
// STARTING ITEATION VECTOR NUMBERS=n".
void ModelBlockReader::ReadEigenSettings(Words& words) {
  Options& options = m_deck.options;
  const auto expectAll = [&words](std::initializer_list<std::string_view> expected) {
    for (std::string_view word : expected) words.Expect(word);
  };
  options.iterations = words.IntegerValue("NUMBERS");
  expectAll({"RIGID", "BODY", "MODE"});
  if (words.Accept("EXIST")) {
    options.rigidBodyModes = true;
    expectAll({"RIGID", "BODY", "MODE"});
  }
  options.rigidBodyShift = words.IntegerValue("SHIFTE");
  expectAll({"CUT_OFF", "CIRCLULAR"});
  options.cutoff = words.RealValue("FREQUENCY");
  if (words.Accept("CONVERGENCE")) {
    options.tolerance = words.RealValue("TOLERANCE");
    if (words.Accept("GENERATE")) {
      expectAll({"LANZOS", "STARTING", "ITERATION", "VECTORS"});
      options.lanczos = true;
    }
    expectAll({"STARTING", "ITEATION", "VECTOR"});
    options.startingVectors = words.IntegerValue("NUMBERS");
  }
  words.ExpectEnd();
}

// "NUMBER OF NODES=n" and the optional group, system and link counts.
void ModelBlockReader::ReadCounts(Words& words) {
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

void ModelBlockReader::CheckJointCount(int stopLine) const {
  if (m_nodesLine == 0) throw InputError(stopLine, "the input gives no NUMBER OF NODES");
  const int read = static_cast<int>(m_deck.joints.size());
  if (m_deck.declaredJoints != read) {
    throw InputError(m_nodesLine, "NUMBER OF NODES=" + std::to_string(m_deck.declaredJoints) + " but " +
                                      std::to_string(read) + " joints are given");
  }
}

// ---- Functions ----

// "n TYPE=CONSTANT|SINUSOIDAL POINTS=p [a] [b]", then one line of p pairs
// of numbers (possibly none), which is never wrapped.
void ModelBlockReader::ReadFunction(Words& words) {
  ExpectNumbered(words);
  const int number = words.NextNumber("function number");
  const std::string_view type = words.Value("TYPE");
  const std::optional<size_t> typeIndex = PositionIn(words::kFunctionType, type);
  if (!typeIndex) words.Fail("unknown function type " + Quote(type));
  const int points = words.IntegerValue("POINTS");
  if (points < 0) words.Fail("POINTS=" + std::to_string(points) + " is negative");
  Function function;
  function.number = number;
  function.line = words.Line();
  function.sinusoidal = *typeIndex == 1;
  // Each parameter is written only when it is not zero, so a single one
  // written may be either; the first is taken.
  for (size_t p = 0; p < 2 && !words.AtEnd(); ++p) function.parameters[p] = words.NextReal("a function parameter");
  words.ExpectEnd();

  const std::string name = "function " + std::to_string(number + 1);
  const std::optional<Statement> line = m_source.NextLine();
  if (!line) throw InputError(m_source.LineNumber(), "the input ends before the points of " + name);
  Words values(*line);
  std::vector<double> numbers;
  while (!values.AtEnd()) numbers.push_back(values.NextReal("a point of " + name));
  if (numbers.size() != 2 * static_cast<uint64_t>(points)) {
    values.Fail(name + " has POINTS=" + std::to_string(points) + " but its points line holds " +
                std::to_string(numbers.size()) + " numbers");
  }
  for (size_t i = 0; i < numbers.size(); i += 2) function.points.push_back({numbers[i], numbers[i + 1]});
  m_deck.functions.push_back(std::move(function));
}

// ---- Joints ----

void ModelBlockReader::ReadLocalSystem(Words& words) {
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

void ModelBlockReader::ReadJoint(Words& words) {
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
  constexpr words::Words<3> kAxes = {"X", "Y", "Z"};
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
    if (joint.localSystem < 0) words.Fail("local coordinate system " + std::to_string(system + 1) + " does not exist");
  }
  words.ExpectEnd();
  m_deck.joints.push_back(joint);
}

void ModelBlockReader::ReadRestraint(Words& words) {
  ExpectNumbered(words);
  const int joint = NextJoint(m_deck, words, "the joint number");
  ReadDofList(words, {}, m_deck.joints[joint].restrained);
}

void ModelBlockReader::ReadJointValues(Words& words, const words::Words<6>& names, Six Joint::*sum) {
  ExpectNumbered(words);
  const int joint = NextJoint(m_deck, words, "the joint number");
  Six values = {};
  ReadNamedReals(words, names, values);
  words.ExpectEnd();
  Six& total = m_deck.joints[joint].*sum;
  for (size_t d = 0; d < values.size(); ++d) total[d] += values[d];
}

// ---- Constraints ----

void ModelBlockReader::ReadConstraint(Words& words) {
  const std::string_view head = words.Peek();
  if (head.starts_with("DIAPH")) {
    ReadDiaphragm(words);
  } else if (head.starts_with("RIGIDLINK")) {
    ReadRigidLink(words);
  } else {
    NotHere(words);
  }
}

// "DIAPHn MASS m ADD=j j ...".
void ModelBlockReader::ReadDiaphragm(Words& words) {
  const std::string_view head = words.Take("DIAPH");
  words.Number(head.substr(5), "diaphragm number");
  Diaphragm diaphragm;
  diaphragm.line = words.Line();
  words.Expect("MASS");
  diaphragm.master = NextJoint(m_deck, words, "the master joint");
  ReadSlaves(words, "ADD", diaphragm.slaves);
  m_deck.diaphragms.push_back(std::move(diaphragm));
}

// "RIGIDLINKn TYPE=LINEAR|NONLINEAR MASTER JOINT m SLAVE JOINT=j j ...".
void ModelBlockReader::ReadRigidLink(Words& words) {
  const std::string_view head = words.Take("RIGIDLINK");
  words.Number(head.substr(9), "rigid link number");
  RigidLink link;
  link.line = words.Line();
  const std::string_view type = words.Value("TYPE");
  if (type != "LINEAR" && type != "NONLINEAR") words.Fail("unknown rigid link type " + Quote(type));
  link.nonlinear = type == "NONLINEAR";
  words.Expect("MASTER");
  words.Expect("JOINT");
  link.master = NextJoint(m_deck, words, "the master joint");
  words.Expect("SLAVE");
  ReadSlaves(words, "JOINT", link.slaves);
  m_deck.rigidLinks.push_back(std::move(link));
}

// The listed joints to the end of the statement; the first is glued to the key.
void ModelBlockReader::ReadSlaves(Words& words, std::string_view key, std::vector<int>& slaves) const {
  const std::string_view first = words.Value(key);
  if (!first.empty()) slaves.push_back(JointIndex(m_deck, words, first));
  while (!words.AtEnd()) slaves.push_back(NextJoint(m_deck, words, "a joint"));
}

// "NOT EXIST", or "EXIST INITIAL TEMPERATURE [NOT] EXIST INITIAL
// TEMPERATURE GRADIENT [NOT] EXIST".
void ModelBlockReader::ReadInitialConditions(Words& words) {
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

}  // namespace tav::analysis
