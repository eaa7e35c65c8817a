// The own solver input as the analysis program reads it: every statement the
// model writers produce, with object numbers kept 0-based (the file's number
// minus one) and reals as read. Nothing here refers to the model library.
//
// Where the analysis compares numbers that were rounded on their way into
// the text (joint coordinates, the extents of beam loads, roll angles), the
// deck also keeps each one's resolution: how far the number the text stands
// for may lie from the value read (see ReadInput).
//
// Decks compare equal field by field: two readings of one input are equal.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tav::analysis {

using Six = std::array<double, 6>;

// The SYSTEM block: active degrees of freedom and the eigen solution. The
// method names what the input asked for; the analysis uses one algorithm
// for every method.
struct Options {
  std::array<bool, 6> activeDof = {true, true, true, true, true, true};  // UX UY UZ RX RY RZ
  int eigenMethod = 0;          // 0 none, 1 determinant search, 2 subspace iteration
  bool withinInterval = false;  // FREQUENCIES WITHIN INTERVAL (else SMALLEST FREQUENCIES)
  int modes = 0;
  int subspaceVectors = 0;
  int iterations = 0;
  bool rigidBodyModes = false;  // RIGID BODY MODE EXIST
  int rigidBodyShift = 0;
  double cutoff = 0.0;  // circular frequency, rad/s
  double tolerance = 0.0;
  bool lanczos = false;  // GENERATE LANZOS STARTING ITERATION VECTORS
  int startingVectors = 0;

  bool operator==(const Options&) const = default;
};

struct LocalSystem {
  int number = 0;
  std::array<double, 3> angles = {};  // degrees

  bool operator==(const LocalSystem&) const = default;
};

struct Joint {
  int number = 0;
  double x = 0.0, y = 0.0, z = 0.0;
  int localSystem = -1;  // position in `localSystems`, -1 none
  std::array<bool, 6> restrained = {};
  int line = 0;                           // where it was read, for messages
  std::array<double, 3> resolution = {};  // of x, y, z
  // Lumped mass (XMX XMY XMZ RMX RMY RMZ) and viscous dampers (XDX ...
  // RDZ), in the joint's axes; the sums of the joint's records.
  Six mass = {};
  Six damping = {};

  bool operator==(const Joint&) const = default;
};

struct Diaphragm {
  int master = 0;
  std::vector<int> slaves;
  int line = 0;

  bool operator==(const Diaphragm&) const = default;
};

struct RigidLink {
  bool nonlinear = false;
  int master = 0;
  std::vector<int> slaves;
  int line = 0;

  bool operator==(const RigidLink&) const = default;
};

struct Section {
  int number = 0;
  double e = 0.0, j = 0.0, poisson = 0.0, is = 0.0, it = 0.0, area = 0.0, ashs = 0.0, asht = 0.0;

  bool operator==(const Section&) const = default;
};

struct Beam {
  int number = 0;   // model-wide beam number
  int group = 0;    // position of its group in `beamGroups`
  int section = 0;  // position in the group's sections
  int jointI = 0, jointJ = 0;
  double angle = 0.0;                       // NOAN roll angle, degrees
  int segments = 4;                         // the NREG of the statement (the model-wide one)
  int ownSegments = 0;                      // the beam's own NREG, 0 when not given
  bool releaseI = false, releaseJ = false;  // MTI, MTJ
  double offsetI = 0.0, offsetJ = 0.0, rigid = 0.0;
  int line = 0;
  double angleResolution = 0.0;

  bool operator==(const Beam&) const = default;
};

struct BeamGroup {
  int number = 0;
  std::vector<Section> sections;
  std::vector<Beam> beams;

  bool operator==(const BeamGroup&) const = default;
};

struct SpringConstant {
  int number = 0;
  bool multi = false;
  std::array<double, 3> stiffness = {};  // one value when single

  bool operator==(const SpringConstant&) const = default;
};

struct Spring {
  int number = 0;
  int constant = 0;  // position in the group's constants
  int joint = 0;
  bool multi = false;
  int line = 0;

  bool operator==(const Spring&) const = default;
};

struct SpringGroup {
  int number = 0;
  std::vector<SpringConstant> constants;
  std::vector<Spring> springs;

  bool operator==(const SpringGroup&) const = default;
};

struct LinkProperty {
  int number = 0;
  double k0 = 0.0;

  bool operator==(const LinkProperty&) const = default;
};

struct Link {
  int number = 0;
  int jointI = 0, jointJ = 0;
  int property = 0;  // position in the group's properties
  int line = 0;

  bool operator==(const Link&) const = default;
};

struct LinkGroup {
  int number = 0;
  std::vector<LinkProperty> properties;
  std::vector<Link> links;

  bool operator==(const LinkGroup&) const = default;
};

struct JointLoad {
  int joint = 0;
  Six values = {};  // PX PY PZ MX MY MZ, or DX DY DZ RX RY RZ for displacements
  int function = 0;
  int line = 0;

  bool operator==(const JointLoad&) const = default;
};

// One directional piece of a beam load, with the numbers as written:
// distributed: intensities w1, w2 (negated in the file: the load acts along
// -axis for a positive number), start and loaded length; concentrated: the
// negated force and its position.
struct BeamLoadPiece {
  int axis = 0;  // 0 X, 1 Y, 2 Z (global)
  bool distributed = true;
  double value1 = 0.0, value2 = 0.0;  // WX: first two numbers; PX: first number and 0
  double start = 0.0, length = 0.0;   // WX: third and fourth; PX: position and 0
  double startResolution = 0.0, lengthResolution = 0.0;

  bool operator==(const BeamLoadPiece&) const = default;
};

struct BeamLoad {
  int number = 0;
  int type = 0;  // as written: 1 concentrated force, 2 moment, 3 distributed
  std::vector<BeamLoadPiece> pieces;
  int jointI = 0, jointJ = 0;
  double angle = 0.0;
  int function = 0;
  int line = 0;
  double angleResolution = 0.0;

  bool operator==(const BeamLoad&) const = default;
};

struct SelfWeight {
  bool present = false;
  int direction = 2;  // 0 X, 1 Y, 2 Z; -1 when the text gave none
  double factor = 0.0, acceleration = 0.0;
  int function = 0;
  int line = 0;

  bool operator==(const SelfWeight&) const = default;
};

// A function of the FUNTION block: CONSTANT is a table of (abscissa,
// ordinate) points; SINUSOIDAL carries two parameters.
struct Function {
  int number = 0;
  bool sinusoidal = false;
  std::array<double, 2> parameters = {};
  std::vector<std::array<double, 2>> points;
  int line = 0;

  bool operator==(const Function&) const = default;
};

enum class CaseKind { kStatic, kHistory, kSpectrum, kMoving };

enum class ModeCombination { kAbs, kSrss, kCqc, kNone };

// How a history load condition is solved. The names follow the input's
// words; a word the input gives outside its list is kept as kUnknown, for
// the analysis to refuse.
enum class HistoryType { kNst, kDynamic, kUnknown };
enum class HistorySolution { kDirect, kModal, kSpectrum, kUnknown };
enum class Integration { kWilson, kNewmark, kCentral, kUnknown };

struct HistorySettings {
  HistoryType type = HistoryType::kNst;
  HistorySolution solution = HistorySolution::kDirect;
  Integration method = Integration::kNewmark;
  std::vector<double> parameters;  // INTEGRATION PARAMETERS, in order
  int modes = 0;                   // NUMBER OF MODES
  double steps = 0.0;              // NSTE, as written (a real)
  double dt = 0.0;

  bool operator==(const HistorySettings&) const = default;
};

// One element of a moving load's lane: a beam (model-wide number) and the
// eccentricity of the lane from its axis.
struct LaneElement {
  int beam = 0;
  double eccentricity = 0.0;
  int line = 0;

  bool operator==(const LaneElement&) const = default;
};

struct LoadCase {
  CaseKind kind = CaseKind::kStatic;
  int number = 0;  // within its kind, 0-based
  std::vector<JointLoad> jointLoads;
  std::vector<BeamLoad> beamLoads;
  std::vector<JointLoad> displacements;
  SelfWeight selfWeight;
  int line = 0;
  // Response spectrum conditions: the modes they combine, the rule (none
  // when the input names none) and the modal damping ratios.
  int modes = 0;
  ModeCombination combination = ModeCombination::kNone;
  std::vector<double> damping;
  HistorySettings history;        // history conditions
  std::vector<LaneElement> lane;  // moving conditions: the lane's elements in order

  bool operator==(const LoadCase&) const = default;
};

struct InputDeck {
  std::string title;
  Options options;
  int declaredJoints = 0;
  std::vector<LocalSystem> localSystems;
  std::vector<Joint> joints;  // in file order; number == position is checked
  std::vector<Diaphragm> diaphragms;
  std::vector<RigidLink> rigidLinks;
  std::vector<BeamGroup> beamGroups;
  std::vector<SpringGroup> springGroups;
  std::vector<LinkGroup> linkGroups;
  std::vector<LoadCase> cases;  // static, history, spectrum, moving, in file order
  std::vector<Function> functions;

  bool operator==(const InputDeck&) const = default;
};

}  // namespace tav::analysis
