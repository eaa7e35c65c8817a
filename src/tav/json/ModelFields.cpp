#include "tav/json/ModelFields.h"

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "tav/json/Fields.h"
#include "tav/model/OwnFormatWords.h"
#include "tav/model/TavTypes.h"

namespace tav::json {
namespace {

using words::Words;

// The names of each kind of choice, in the order of the library's values.
constexpr Words<3> kDirections = {"X", "Y", "Z"};
constexpr Words<3> kEigenMethods = {"none", "determinant", "subspace"};
constexpr Words<2> kFunctionTypes = {"constant", "sinusoidal"};
constexpr Words<2> kRigidLinkTypes = {"linear", "nonlinear"};
constexpr Words<3> kGroupKinds = {"beam", "spring", "link"};
constexpr Words<2> kShapes = {"general", "rectangle"};
constexpr Words<3> kBeamLoadTypes = {"force", "moment", "distributed"};
constexpr Words<2> kHistoryAnalyses = {"nst", "dynamic"};
constexpr Words<3> kDynamicModes = {"direct", "superposition", "spectrum"};
constexpr Words<3> kIntegrations = {"wilson", "newmark", "central"};
constexpr Words<3> kModeRules = {"ABS", "SRSS", "CQC"};
constexpr Words<3> kComboTypes = {"ADD", "ENVE", "ABS"};
constexpr Words<5> kTermKinds = {"static", "history", "spectrum", "moving", "combination"};
constexpr int32_t kCombinationTerm = 4;

constexpr Presence kRequired = Presence::kRequired;
constexpr double kHuge = 1e300;
constexpr RealIn kPositive{1e-300, kHuge, "greater than 0"};
constexpr RealIn kNotNegative{0.0, kHuge, "0 or more"};
constexpr RealIn kPoisson{-0.999, 0.4999, "from -1 to 0.5"};
constexpr RealIn kDuration{0.0, 1e12, "0 or more"};
constexpr Whole kCount{0, 100000};
constexpr Whole kMidasNumber{-1000000, 1000000};
constexpr Whole kInt32{INT32_MIN, INT32_MAX};
constexpr Ref kJoint{"joint", &ReadContext::Joints};
constexpr Ref kBeam{"beam", &ReadContext::Beams};

// ---- Values with checks of their own -----------------------------------------------

// A case name: one word, and not taken before in its scope.
struct CaseName {
  NameScope scope;
  void Read(const Node& node, std::string& into, ReadContext& context) const {
    into = node.String();
    if (into.empty() || into.find_first_of(" \t\r\n") != std::string::npos) {
      node.Fail("a name must be one word (the solver files separate words by blanks)");
    }
    if (!context.TakeName(scope, into)) node.Fail("the name \"" + into + "\" is used twice");
  }
  Json Write(const std::string& name, const std::string& /*path*/) const { return name; }
};

struct Offsets {
  void Read(const Node& node, file::Reals2& into, ReadContext& context) const {
    Reals().Read(node, into, context);
    for (size_t k = 0; k < 2; ++k) {
      if (into[k] < 0) node.At(k).Fail("an offset cannot be negative");
    }
  }
  Json Write(const file::Reals2& offsets, const std::string& /*path*/) const { return ArrayOf(offsets); }
};

struct Segments {
  void Read(const Node& node, double& into, ReadContext& /*context*/) const { into = node.Integer(1, 1000); }
  // A whole count as such; anything else as it is, for the check to refuse.
  Json Write(double segments, const std::string& /*path*/) const {
    const bool whole = segments >= 1 && segments <= 1e6 && segments == std::floor(segments);
    return whole ? Json(static_cast<int>(segments)) : Json(segments);
  }
};

struct Stiffness {
  void Read(const Node& node, std::vector<double>& into, ReadContext& /*context*/) const {
    if (node.Size() != 3 && node.Size() != 6) {
      node.Fail("expected 3 or 6 stiffnesses, found " + std::to_string(node.Size()));
    }
    into = node.Numbers(node.Size());
  }
  Json Write(const std::vector<double>& stiffness, const std::string& /*path*/) const { return ArrayOf(stiffness); }
};

struct Settings {
  void Read(const Node& node, std::array<int32_t, 4>& into, ReadContext& context) const {
    if (node.Size() != 4) node.Fail("expected 4 whole numbers");
    for (size_t s = 0; s < 4; ++s) kInt32.Read(node.At(s), into[s], context);
  }
  Json Write(const std::array<int32_t, 4>& settings, const std::string& /*path*/) const { return ArrayOf(settings); }
};

// ---- A beam load's components ---------------------------------------------------

// A component has one value at one distance, or two for a distributed load.
size_t PointsOf(const file::BeamLoad& load) { return load.type == TaV_BEAMLOAD_DISTRIBUTED ? 2 : 1; }

struct ComponentDirection {
  void Read(const Node& node, int32_t& into, ReadContext& context) const {
    into = node.Choice(kDirections);
    for (const file::Component& earlier : context.BeamLoad().components) {
      if (earlier.direction == into) node.Fail("the direction is given twice");
    }
  }
  Json Write(int32_t direction, const std::string& path) const { return OneOf{kDirections}.Write(direction, path); }
};

struct ComponentValues {
  void Read(const Node& node, std::vector<double>& into, ReadContext& context) const {
    into = node.Numbers(PointsOf(context.BeamLoad()));
  }
  Json Write(const std::vector<double>& values, const std::string& /*path*/) const { return ArrayOf(values); }
};

// Along the beam: as fractions of its length, or as lengths when the load
// says its distances are absolute.
struct Distances {
  void Read(const Node& node, std::vector<double>& into, ReadContext& context) const {
    const file::BeamLoad& load = context.BeamLoad();
    const size_t points = PointsOf(load);
    into = node.Numbers(points);
    const double length = context.BeamLength(load.beam);
    const double high = load.absolute ? length : 1.0;
    for (size_t k = 0; k < points; ++k) {
      if (into[k] < 0.0 || into[k] > high * (1 + 1e-12)) {
        node.At(k).Fail("the distance " + std::to_string(into[k]) + " is off the beam (0 to " +
                        (load.absolute ? std::to_string(length) : std::string("1")) + ")");
      }
    }
    if (points == 2 && into[1] < into[0]) node.Fail("the second distance is before the first");
  }
  Json Write(const std::vector<double>& distances, const std::string& /*path*/) const { return ArrayOf(distances); }
};

// ---- Combinations --------------------------------------------------------------

// The case a term takes in, of the kind the term names.
struct TermCase {
  void Read(const Node& node, int32_t& into, ReadContext& context) const {
    const int32_t kind = context.Term().kind;
    into = node.Reference(context.Cases(kind), std::string(kTermKinds[static_cast<size_t>(kind)]) + " case");
    // Combinations are composed in order: a later one would still be empty.
    if (kind == kCombinationTerm && into >= context.EarlierCombinations()) {
      node.Fail("combination " + std::to_string(into + 1) +
                " is not listed before this one: a combination can only use earlier ones");
    }
  }
  Json Write(int32_t loadCase, const std::string& /*path*/) const { return loadCase + 1; }
};

// The combinations of the model: a term may name any of them, so their
// number is known before the first is read.
struct Combinations {
  const Fields<file::Combination>* fields;
  void Read(const Node& node, std::vector<file::Combination>& into, ReadContext& context) const {
    context.SetCombinations(static_cast<int32_t>(node.Size()));
    ObjectsOf(*fields).Read(node, into, context);
  }
  Json Write(const std::vector<file::Combination>& combinations, const std::string& path) const {
    return ObjectsOf(*fields).Write(combinations, path);
  }
};

// ---- The tables ---------------------------------------------------------------------

Field<file::Ends> EndJoints(const char* element) {
  return {"joints", &file::Ends::joints, RefPair{kJoint, "joints", element}, kRequired};
}

Field<file::Named> Name(NameScope scope) { return {"name", &file::Named::name, CaseName{scope}, kRequired}; }

// `fields` followed by those of `loads`, for a static or a history case.
template <typename Case>
Fields<Case> WithLoads(Fields<Case> fields, const Fields<file::Loads>& loads) {
  fields.insert(fields.end(), loads.begin(), loads.end());
  return fields;
}

// Every table of the format, built once on first use: a table refers to
// those of the objects inside it, listed before it.
struct Tables {
  // Fields that records of several kinds share.
  Field<file::Scaled> loadFunction{"function", &file::Scaled::function, Ref{"function", &ReadContext::Functions}};
  Field<file::Diaphragm> master{"master", &file::Diaphragm::master, kJoint, kRequired};
  Field<file::Diaphragm> slaves{"slaves", &file::Diaphragm::slaves, ListOf<Ref>{kJoint}, kRequired};
  Field<file::SectionCommon> modulus{"E", &file::SectionCommon::E, kPositive, kRequired};
  Field<file::SectionCommon> poissonRatio{"poisson", &file::SectionCommon::poisson, kPoisson};
  Field<file::SectionCommon> weight{"W", &file::SectionCommon::W, Real{}};
  Field<file::Ends> angle{"angle", &file::Ends::angle, Real{}};

  Fields<file::Eigen> eigen = {
      {"method", &file::Eigen::method, OneOf{kEigenMethods}},
      {"interval", &file::Eigen::interval, Truth{}},
      {"modes", &file::Eigen::modes, kCount},
      {"subspaceVectors", &file::Eigen::subspaceVectors, kCount},
      {"iterations", &file::Eigen::iterations, Whole{0, 1000000}},
      {"rigidBodyModes", &file::Eigen::rigidBodyModes, Truth{}},
      {"rigidBodyShift", &file::Eigen::rigidBodyShift, Whole{-1000000, 1000000}},
      {"cutOffFrequency", &file::Eigen::cutOffFrequency, Real{}},
      {"tolerance", &file::Eigen::tolerance, Real{}},
      {"lanczosVectors", &file::Eigen::lanczosVectors, Truth{}},
      {"startingVectors", &file::Eigen::startingVectors, kCount},
  };

  Fields<file::Options> options = {
      {"dof", &file::Options::dof, SetOf{words::kJointDof}},
      {"forceSegments", &file::Options::forceSegments, Whole{1, 1000}},
      {"checks", &file::Options::checks, SetOf{words::kChecks}},
      {"initialTemperature", &file::Options::initialTemperature, Truth{}},
      {"initialTemperatureGradient", &file::Options::initialTemperatureGradient, Truth{}},
      {"eigen", &file::Options::eigen, ObjectOf<file::Eigen>{&eigen}},
  };

  Fields<file::Function> function = {
      {"type", &file::Function::type, OneOf{kFunctionTypes}},
      {"parameters", &file::Function::parameters, Reals{}},
      {"points", &file::Function::points, ListOf<Reals>{}},
  };

  Fields<file::LocalSystem> localSystem = {
      {"angles", &file::LocalSystem::angles, Reals{}, kRequired},
  };

  Fields<file::Joint> joint = {
      {"x", &file::Joint::x, Real{}, kRequired},
      {"y", &file::Joint::y, Real{}, kRequired},
      {"z", &file::Joint::z, Real{}, kRequired},
      {"restraints", &file::Joint::restraints, SetOf{words::kJointDof}},
      {"localSystem", &file::Joint::localSystem, Ref{"local system", &ReadContext::LocalSystems}},
  };

  Fields<file::Diaphragm> diaphragm = {master, slaves};

  Fields<file::RigidLink> rigidLink = {
      {"type", &file::RigidLink::type, OneOf{kRigidLinkTypes}},
      master,
      slaves,
  };

  Fields<file::JointValues> jointValues = {
      {"joint", &file::JointValues::joint, kJoint, kRequired},
      {"values", &file::JointValues::values, Reals{}, kRequired},
  };

  Fields<file::GeneralSection> generalSection = {
      modulus,
      {"area", &file::GeneralSection::area, kPositive, kRequired},
      poissonRatio,
      {"IS", &file::GeneralSection::IS, kNotNegative},
      {"IT", &file::GeneralSection::IT, kNotNegative},
      {"J", &file::GeneralSection::J, kNotNegative},
      {"ASHS", &file::GeneralSection::ASHS, kNotNegative},
      {"ASHT", &file::GeneralSection::ASHT, kNotNegative},
      weight,
      {"materialAux", &file::GeneralSection::materialAux, Real{}},
  };

  Fields<file::RectangleSection> rectangleSection = {
      modulus,
      {"width", &file::RectangleSection::width, kPositive, kRequired},
      {"height", &file::RectangleSection::height, kPositive, kRequired},
      poissonRatio,
      weight,
  };

  Fields<file::Beam> beam = {
      {"section", &file::Beam::section, Ref{"section", &ReadContext::Sections}, kRequired},
      EndJoints("beam"),
      angle,
      {"releaseI", &file::Beam::releaseI, SetOf{words::kBeamDof}},
      {"releaseJ", &file::Beam::releaseJ, SetOf{words::kBeamDof}},
      {"offsets", &file::Beam::offsets, Offsets{}},
      {"rigid", &file::Beam::rigid, RealIn{0.0, 1.0, "from 0 to 1"}},
      {"segments", &file::Beam::segments, Segments{}},
  };

  Fields<file::BeamGroup> beamGroup = {
      {"sections", &file::BeamGroup::sections,
       ListOf<VariantOf<file::GeneralSection, file::RectangleSection>>{
           {"shape", kShapes, {&generalSection, &rectangleSection}}}},
      {"beams", &file::BeamGroup::beams, ObjectsOf(beam)},
  };

  Fields<file::SpringConstant> springConstant = {
      {"stiffness", &file::SpringConstant::stiffness, Stiffness{}, kRequired},
      {"multi", &file::SpringConstant::multi, Truth{}},
  };

  Fields<file::Spring> spring = {
      {"constant", &file::Spring::constant, Ref{"spring constant", &ReadContext::SpringConstants}, kRequired},
      {"joint", &file::Spring::joint, kJoint, kRequired},
  };

  Fields<file::SpringGroup> springGroup = {
      {"constants", &file::SpringGroup::constants, ObjectsOf(springConstant)},
      {"springs", &file::SpringGroup::springs, ObjectsOf(spring)},
  };

  Fields<file::LinkProperty> linkProperty = {
      {"k0", &file::LinkProperty::k0, kNotNegative, kRequired},
      {"values", &file::LinkProperty::values, Reals{}},
  };

  Fields<file::Link> link = {
      {"property", &file::Link::property, Ref{"link property", &ReadContext::LinkProperties}, kRequired},
      EndJoints("link"),
      angle,
  };

  Fields<file::LinkGroup> linkGroup = {
      {"properties", &file::LinkGroup::properties, ObjectsOf(linkProperty)},
      {"links", &file::LinkGroup::links, ObjectsOf(link)},
  };

  Fields<file::SelfWeight> selfWeight = {
      {"direction", &file::SelfWeight::direction, OneOf{kDirections}, kRequired},
      {"factor", &file::SelfWeight::factor, Real{}},
      {"acceleration", &file::SelfWeight::acceleration, Real{}},
      loadFunction,
  };

  Fields<file::JointLoad> jointLoad = {
      {"joint", &file::JointLoad::joint, kJoint, kRequired},
      {"values", &file::JointLoad::values, Reals{}, kRequired},
      loadFunction,
  };

  Fields<file::Component> component = {
      {"direction", &file::Component::direction, ComponentDirection{}, kRequired},
      {"values", &file::Component::values, ComponentValues{}, kRequired},
      {"distances", &file::Component::distances, Distances{}, kRequired},
  };

  Fields<file::BeamLoad> beamLoad = {
      {"beam", &file::BeamLoad::beam, kBeam, kRequired},
      {"type", &file::BeamLoad::type, OneOf{kBeamLoadTypes}, kRequired},
      {"absolute", &file::BeamLoad::absolute, Truth{}},
      loadFunction,
      {"components", &file::BeamLoad::components, ObjectsOf(component), kRequired},
  };

  // The loads of a static or a history case, after the case's own keys.
  Fields<file::Loads> loads = {
      {"selfWeightFlag", &file::Loads::selfWeightFlag, Truth{}},
      {"selfWeight", &file::Loads::selfWeight, ObjectOf<file::SelfWeight>{&selfWeight}},
      {"jointLoads", &file::Loads::jointLoads, ObjectsOf(jointLoad)},
      {"beamLoads", &file::Loads::beamLoads, ObjectsOf(beamLoad)},
      {"displacements", &file::Loads::displacements, ObjectsOf(jointLoad)},
  };

  Fields<file::StaticCase> staticCase = WithLoads<file::StaticCase>({Name(NameScope::kStatic)}, loads);

  Fields<file::HistoryCase> historyCase = WithLoads<file::HistoryCase>(
      {
          Name(NameScope::kAny),
          {"analysis", &file::HistoryCase::analysis, OneOf{kHistoryAnalyses}},
          {"mode", &file::HistoryCase::mode, OneOf{kDynamicModes}},
          {"method", &file::HistoryCase::method, OneOf{kIntegrations}},
          {"modes", &file::HistoryCase::modes, kCount},
          {"steps", &file::HistoryCase::steps, kDuration},
          {"dt", &file::HistoryCase::dt, kDuration},
          {"parameters", &file::HistoryCase::parameters, ListOf<Real>{}},
      },
      loads);

  Fields<file::SpectrumCase> spectrumCase = {
      Name(NameScope::kAny),
      {"modes", &file::SpectrumCase::modes, kCount},
      {"combination", &file::SpectrumCase::combination, OneOf{kModeRules}},
      {"damping", &file::SpectrumCase::damping, ListOf<Real>{}},
      {"excitation", &file::SpectrumCase::excitation, ObjectOf<file::SelfWeight>{&selfWeight}},
  };

  Fields<file::Lane> lane = {
      {"beams", &file::Lane::beams, RefPair{kBeam, "beams"}, kRequired},
      {"eccentricities", &file::Lane::eccentricities, Reals{}, kRequired},
  };

  Fields<file::MovingCase> movingCase = {
      Name(NameScope::kAny),
      {"lanes", &file::MovingCase::lanes, ObjectsOf(lane)},
  };

  Fields<file::LoadCases> loadCases = {
      {"static", &file::LoadCases::statics, ObjectsOf(staticCase)},
      {"history", &file::LoadCases::histories, ObjectsOf(historyCase)},
      {"spectrum", &file::LoadCases::spectra, ObjectsOf(spectrumCase)},
      {"moving", &file::LoadCases::moving, ObjectsOf(movingCase)},
  };

  Fields<file::Term> term = {
      {"kind", &file::Term::kind, OneOf{kTermKinds}, kRequired},
      {"case", &file::Term::loadCase, TermCase{}, kRequired},
      {"factor", &file::Term::factor, Real{}, kRequired},
      {"factor2", &file::Term::factor2, Real{}},
  };

  Fields<file::Combination> combination = {
      Name(NameScope::kCombination),
      {"type", &file::Combination::type, OneOf{kComboTypes}},
      {"terms", &file::Combination::terms, ObjectsOf(term)},
  };

  Fields<file::Midas> midas = {
      {"version", &file::Midas::version, Text{}},
      {"structType", &file::Midas::structType, kMidasNumber},
      {"massOption", &file::Midas::massOption, kMidasNumber},
  };

  Fields<file::DocumentSettings> document = {
      {"jointType", &file::DocumentSettings::jointType, kInt32},
      {"viewOptionMode", &file::DocumentSettings::viewOptionMode, kInt32},
      {"settings", &file::DocumentSettings::settings, Settings{}},
  };

  // In the order a model is read: each part refers only to parts before it.
  Fields<file::Model> model = {
      {"title", &file::Model::title, Text{}},
      {"options", &file::Model::options, ObjectOf<file::Options>{&options}},
      {"functions", &file::Model::functions, ObjectsOf(function)},
      {"localSystems", &file::Model::localSystems, ObjectsOf(localSystem)},
      {"joints", &file::Model::joints, ObjectsOf(joint)},
      {"diaphragms", &file::Model::diaphragms, ObjectsOf(diaphragm)},
      {"rigidLinks", &file::Model::rigidLinks, ObjectsOf(rigidLink)},
      {"masses", &file::Model::masses, ObjectsOf(jointValues)},
      {"dampers", &file::Model::dampers, ObjectsOf(jointValues)},
      {"groups", &file::Model::groups,
       ListOf<VariantOf<file::BeamGroup, file::SpringGroup, file::LinkGroup>>{
           {"kind", kGroupKinds, {&beamGroup, &springGroup, &linkGroup}}}},
      {"loadCases", &file::Model::loadCases, ObjectOf<file::LoadCases>{&loadCases}},
      {"combinations", &file::Model::combinations, Combinations{&combination}},
      {"midas", &file::Model::midas, ObjectOf<file::Midas>{&midas}},
      {"document", &file::Model::document, ObjectOf<file::DocumentSettings>{&document}},
  };
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

file::Model ReadModelFile(const Json& model) {
  file::Model read;
  ReadContext context(read);
  ReadObject(Node(model, ""), TheTables().model, read, context);
  return read;
}

Json WriteModelFile(const file::Model& model) { return ObjectOf<file::Model>{&TheTables().model}.Write(model, ""); }

}  // namespace tav::json
