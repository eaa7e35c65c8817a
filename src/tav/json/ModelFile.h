// The model as a model file holds it, one plain record per kind of JSON
// object: values as the file gives them, references 0-based, names as their
// positions in the format's lists of names, sets of names as bits. A member
// that is std::optional is a key the file may leave out, and then the
// library keeps its own default; every other key has the default written
// here. Reading fills these records (ModelFields.h), BuildModel turns them
// into a document, ModelToJson turns a document into them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tav::json::file {

using Reals2 = std::array<double, 2>;
using Reals3 = std::array<double, 3>;
using Reals6 = std::array<double, 6>;
using Pair = std::array<int32_t, 2>;

struct Eigen {
  std::optional<int32_t> method;
  bool interval = false;
  std::optional<int32_t> modes;
  std::optional<int32_t> subspaceVectors;
  std::optional<int32_t> iterations;
  bool rigidBodyModes = false;
  std::optional<int32_t> rigidBodyShift;
  double cutOffFrequency = 0.0;
  double tolerance = 0.0;
  bool lanczosVectors = false;
  std::optional<int32_t> startingVectors;
};

struct Options {
  std::optional<uint8_t> dof;
  std::optional<int32_t> forceSegments;
  std::optional<uint8_t> checks;
  bool initialTemperature = false;
  bool initialTemperatureGradient = false;
  Eigen eigen;
};

struct Function {
  int32_t type = 0;
  Reals2 parameters{};
  std::vector<Reals2> points;
};

struct LocalSystem {
  Reals3 angles{};
};

struct Joint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  std::optional<uint8_t> restraints;
  std::optional<int32_t> localSystem;
};

struct Diaphragm {
  int32_t master = 0;
  std::vector<int32_t> slaves;
};

struct RigidLink : Diaphragm {
  int32_t type = 0;
};

// A joint mass or a joint damper.
struct JointValues {
  int32_t joint = 0;
  Reals6 values{};
};

// What both section shapes have.
struct SectionCommon {
  double E = 0.0;
  double poisson = 0.0;
  double W = 0.0;
};

struct GeneralSection : SectionCommon {
  double area = 0.0;
  double IS = 0.0;
  double IT = 0.0;
  double J = 0.0;
  double ASHS = 0.0;
  double ASHT = 0.0;
  double materialAux = 0.0;
};

struct RectangleSection : SectionCommon {
  double width = 0.0;
  double height = 0.0;
};

// In the order of the shape names.
using Section = std::variant<GeneralSection, RectangleSection>;

// The two different joints of a beam or a link, and its roll angle.
struct Ends {
  Pair joints{};
  double angle = 0.0;
};

struct Beam : Ends {
  int32_t section = 0;
  std::optional<uint8_t> releaseI;
  std::optional<uint8_t> releaseJ;
  std::optional<Reals2> offsets;
  std::optional<double> rigid;
  // A whole count when read; a document may hold any number here.
  std::optional<double> segments;
};

struct BeamGroup {
  std::vector<Section> sections;
  std::vector<Beam> beams;
};

struct SpringConstant {
  std::vector<double> stiffness;  // 3 or 6
  bool multi = false;
};

struct Spring {
  int32_t constant = 0;
  int32_t joint = 0;
};

struct SpringGroup {
  std::vector<SpringConstant> constants;
  std::vector<Spring> springs;
};

struct LinkProperty {
  double k0 = 0.0;
  Reals3 values{};
};

struct Link : Ends {
  int32_t property = 0;
};

struct LinkGroup {
  std::vector<LinkProperty> properties;
  std::vector<Link> links;
};

// In the order of the group kind names.
using Group = std::variant<BeamGroup, SpringGroup, LinkGroup>;

// What a load may be scaled by: a function of the function table, the first
// when none is given.
struct Scaled {
  std::optional<int32_t> function;
};

struct SelfWeight : Scaled {
  int32_t direction = 0;
  double factor = 0.0;
  double acceleration = 0.0;
};

// A joint load or a prescribed displacement.
struct JointLoad : Scaled {
  int32_t joint = 0;
  Reals6 values{};
};

struct Component {
  int32_t direction = 0;
  std::vector<double> values;     // one, or two for a distributed load
  std::vector<double> distances;  // as many
};

struct BeamLoad : Scaled {
  int32_t beam = 0;
  int32_t type = 0;
  bool absolute = false;
  std::vector<Component> components;
};

struct Named {
  std::string name;
};

// The loads of a static or history case.
struct Loads : Named {
  std::optional<bool> selfWeightFlag;
  std::optional<SelfWeight> selfWeight;
  std::optional<std::vector<JointLoad>> jointLoads;
  std::optional<std::vector<BeamLoad>> beamLoads;
  std::optional<std::vector<JointLoad>> displacements;
};

struct StaticCase : Loads {};

struct HistoryCase : Loads {
  int32_t analysis = 0;
  std::optional<int32_t> mode;
  std::optional<int32_t> method;
  std::optional<int32_t> modes;
  double steps = 0.0;
  double dt = 0.0;
  std::vector<double> parameters;
};

struct SpectrumCase : Named {
  std::optional<int32_t> modes;
  std::optional<int32_t> combination;
  std::vector<double> damping;
  std::optional<SelfWeight> excitation;
};

struct Lane {
  Pair beams{};
  Reals2 eccentricities{};
};

struct MovingCase : Named {
  std::vector<Lane> lanes;
};

struct LoadCases {
  std::vector<StaticCase> statics;
  std::vector<HistoryCase> histories;
  std::vector<SpectrumCase> spectra;
  std::vector<MovingCase> moving;
};

struct Term {
  int32_t kind = 0;
  int32_t loadCase = 0;
  double factor = 0.0;
  double factor2 = 0.0;
};

struct Combination : Named {
  int32_t type = 0;
  std::vector<Term> terms;
};

struct Midas {
  std::optional<std::string> version;
  std::optional<int32_t> structType;
  std::optional<int32_t> massOption;
};

struct DocumentSettings {
  std::optional<int32_t> jointType;
  std::optional<int32_t> viewOptionMode;
  std::optional<std::array<int32_t, 4>> settings;
};

struct Model {
  std::optional<std::string> title;
  Options options;
  std::vector<Function> functions;
  std::vector<LocalSystem> localSystems;
  std::vector<Joint> joints;
  std::vector<Diaphragm> diaphragms;
  std::vector<RigidLink> rigidLinks;
  std::vector<JointValues> masses;
  std::vector<JointValues> dampers;
  std::vector<Group> groups;
  LoadCases loadCases;
  std::vector<Combination> combinations;
  Midas midas;
  DocumentSettings document;
};

}  // namespace tav::json::file
